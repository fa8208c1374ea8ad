// The scenery around the robot: the textured ground plane (a 200 x 200 quad carrying its texture 80
// times each way, so one tile spans 2.5 units) and the textured sky dome (a sphere of radius 40
// around the origin, seen from inside).
#pragma once

// Created on the first sky draw and kept for the whole run; null until then or while it cannot
// be created.
struct GLUquadric;
extern GLUquadric* skyQuadric;

// Draws the ground in the current transform; leaves texturing on and the white material set.
void DrawGround();
// Draws the sky dome; restores the lighting attributes it changes (texturing stays on). A quadric
// that cannot be created leaves the sky out of the frame.
void DrawSky();

// The ground and sky slots of the current background set.
int GroundSlot();
int SkySlot();
