// Closed shapes appended to a Mesh: every shape is a watertight surface of its own, wound
// counter-clockwise seen from outside, built around the w axis of the Frame it is given.
// Round shapes are rings of points swept along the axis; ends close on a pole or a flat fan cap.
// Segment counts are the caller's: they decide how smooth a shape looks under flat face normals.
#pragma once
#include "tools/robot_generator/mesh_builder.h"

namespace robogen {

// A point of a lathe profile: distance r from the axis, position w along it.
struct ProfilePoint {
  double r;
  double w;
};

// Surface of revolution about w. The profile must run counter-clockwise in the (r, w) half plane
// (outwards along the bottom, up the outside, inwards along the top). A profile end on the axis
// (r == 0) becomes a pole; an end off the axis is closed by a flat cap. With `loop` the last point
// joins the first, which makes ring shapes (tubes, tori) without caps.
void AppendLathe(Mesh& mesh, const Frame& frame, const ProfilePoint* profile, int count,
                 int segments, Material material, bool loop = false);

// Cylinder from w0 to w1 (w0 < w1) with both end edges chamfered by `bevel`.
void AppendCylinder(Mesh& mesh, const Frame& frame, double radius, double w0, double w1,
                    double bevel, int segments, Material material);
// Hollow cylinder: a bore of radius `inner` runs through it.
void AppendTube(Mesh& mesh, const Frame& frame, double outer, double inner, double w0, double w1,
                int segments, Material material);
// At most 64 minor segments.
void AppendTorus(Mesh& mesh, const Frame& frame, double major, double minor, int majorSegments,
                 int minorSegments, Material material);
void AppendSphere(Mesh& mesh, const Frame& frame, double radius, int segments, int rings,
                  Material material);
// Cylinder from w0 to w1 ended by two half spheres beyond those points (2 to 32 rings each).
void AppendCapsule(Mesh& mesh, const Frame& frame, double radius, double w0, double w1,
                   int segments, int capRings, Material material);

// One cross-section of a loft: a superellipse |u/halfU|^e + |v/halfV|^e = 1 centred at
// (centreU, centreV), standing at position w. Exponent 2 is an ellipse; larger ones are boxier.
struct LoftSection {
  double w;
  double halfU;
  double halfV;
  double exponent;
  double centreU = 0.0;
  double centreV = 0.0;
};

// Skin through the sections, in increasing w. An end section of zero size is a pointed tip; any
// other end is closed flat. Used for hulls, armour plates, thighs, feet and claws.
void AppendLoft(Mesh& mesh, const Frame& frame, const LoftSection* sections, int count,
                int segments, Material material);

// Superellipsoid with half extents (hu, hv, hw); `roundness` 2 gives an ellipsoid, 6 to 10 a box
// with rounded edges and corners. At most 64 rings from pole to pole.
void AppendRoundedBox(Mesh& mesh, const Frame& frame, double hu, double hv, double hw,
                      double roundness, int segments, int rings, Material material);

// sign(x) * |x|^p: the superellipse's shaping function.
double SignedPower(double x, double p);

}  // namespace robogen
