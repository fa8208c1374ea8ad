// The reference the tests and strivex-bench hold the program's mesh drawing to: the mesh drawing
// command stream written out one triangle at a time, call for call as the viewer's behaviour
// defines it: every triangle sets its colour; every textured triangle closes the stream,
// enables texturing, binds its slot through BindSlot, sets white and reopens the stream, and closes
// its own primitive again afterwards; wireframe sends six vertices per triangle between one
// glBegin/glEnd, every edge of every triangle. The benchmark counts the pixels in which the
// program's faster stream differs from it, and the tests compare the two picture for picture and
// state for state.
//
// It keeps its own list states, texture offsets and random generator state, so that it can run
// beside the program's meshes without touching their caches. A list it would replay is drawn again
// instead (the same calls, so the same picture: a compiled list of a thousand tiny textured
// primitives takes this GL a minute), leaving lastBoundSlot as a replay does. BindSlot and
// lastBoundSlot are the program's own (the bind rule is shared with the ground and the sky), and so
// are the frame's clock and the scene around the robot (render/frame.h).
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "model/mesh_object.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/triangle_wave.h"
#include "platform/view_state.h"
#include "render/frame.h"
#include "render/random_draws.h"
#include "render/tex_coords.h"
#include "render/texture_set.h"

namespace per_triangle {

// One mesh's display-list state and texture offsets on the per-triangle side.
struct MeshState {
  bool listBuilt = false;
  bool listTextured = false;
  std::vector<double> texOffsets = std::vector<double>(2 * MaxTriangles, -1.0);  // u, v per triangle
};

inline void SetColour(MaterialIndex m) {
  static const GLfloat colours[4][4] = {
      {0.3f, 0.2f, 0.4f, 0.5f}, {0.7f, 0.7f, 0.7f, 1.0f}, {0.7f, 0.7f, 0.9f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f}};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colours[m >= 0 && m < 3 ? m : 3]);
}

inline void SetWhite() {
  static const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, white);
}

class Stream {
 public:
  // Continues the random sequence from `state` (the program's generator state at the start).
  explicit Stream(uint32_t state) : randomState(state) {}

  void DrawMeshCached(const MeshObject& mesh, MeshState& own, bool textured) {
    const int32_t bound = lastBoundSlot;
    const bool replay = own.listBuilt && own.listTextured == textured;
    DrawMeshImmediate(mesh, own, textured);
    if (replay) lastBoundSlot = bound;  // a replayed list binds without BindSlot
    own.listBuilt = true;
    own.listTextured = textured;
  }

  void DrawMeshImmediate(const MeshObject& mesh, MeshState& own, bool textured) {
    glDisable(GL_TEXTURE_2D);
    textureBatchOpen = false;
    glPushMatrix();
    glBegin(GL_TRIANGLES);
    for (int32_t t = 0; t < mesh.triangleCount; ++t) {
      const MaterialIndex m = mesh.materials[t];
      SetColour(m);
      if (m >= 0 && m <= 2) BeginTexturedBatch(m, textured);
      glNormal3dv(&mesh.normals[t].x);
      double a[2], b[2], c[2];
      TriangleTexCoords(mesh, own, t, a, b, c);
      const double* corners[3] = {a, b, c};
      for (int k = 0; k < 3; ++k) {
        if (textured && m < 3) glTexCoord2dv(corners[k]);
        glVertex3d(mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]);
      }
      if (m < 3) EndTexturedBatch();
    }
    glEnd();
    glPopMatrix();
  }

  void DrawMeshWireframe(const MeshObject& mesh) {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    for (int32_t t = 0; t < mesh.triangleCount; ++t) {
      SetColour(mesh.materials[t]);
      glNormal3dv(&mesh.normals[t].x);
      for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < 3; ++k) glVertex3d(mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]);
      }
    }
    glEnd();
  }

  // One display pass as DisplayFrame makes it (manual mode off) at time stamp `now`, the robot
  // drawn by this stream with `meshes` (one per scene slot). It moves the parts' start times, the
  // ground scroll and the frame time as the program's pass does.
  void DrawFrame(std::vector<MeshState>& meshes, uint32_t now) {
    AdvanceFrameClock(now);
    BeginScene();
    DrawPart(meshes, partTable.rootPart, now);
    EndScene();
  }

  uint32_t randomState;
  bool textureBatchOpen = false;

 private:
  void DrawPart(std::vector<MeshState>& meshes, int32_t index, uint32_t now) {
    RigPart& part = partTable.parts[index];
    if (part.startTime == 0) part.startTime = now;
    glPushMatrix();
    float factor = 0.0f;
    if (part.period != 0) {
      int64_t elapsed = 0;
      part.startTime = CatchUpStartTime(part.startTime, now, part.period, &elapsed);
      factor = TriangleWaveFactor(elapsed, part.period);
    }
    const double f = factor;
    glTranslated(f * part.motion.x, f * part.motion.y, f * part.motion.z);
    for (int32_t i = 0; i < part.modelCount; ++i) {
      const int32_t slot = part.models[i];
      if (viewState.wireframe) {
        DrawMeshWireframe(modelLibrary.slots[slot]);
      } else {
        DrawMeshCached(modelLibrary.slots[slot], meshes[slot], viewState.textured != 0);
      }
    }
    for (int32_t i = 0; i < part.childCount; ++i) DrawPart(meshes, part.children[i], now);
    glPopMatrix();
  }

  void BeginTexturedBatch(MaterialIndex m, bool textured) {
    if (!textured) return;
    glEnd();
    glEnable(GL_TEXTURE_2D);
    textureSet.BindSlot(m);
    SetWhite();
    glBegin(GL_TRIANGLES);
    textureBatchOpen = true;
  }

  void EndTexturedBatch() {
    if (!textureBatchOpen) return;
    textureBatchOpen = false;
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
  }

  void TriangleTexCoords(const MeshObject& mesh, MeshState& own, int32_t t, double a[2], double b[2], double c[2]) {
    double* offset = &own.texOffsets[2 * t];
    if (offset[0] == -1.0) {
      offset[0] = NextRandomDraw(randomState) / 32767.0;
      offset[1] = NextRandomDraw(randomState) / 32767.0;
    }
    const double shareAb = EdgeShare(mesh.edgeLengths[t][0], mesh.maxEdgeLength[0]);
    const double shareBc = EdgeShare(mesh.edgeLengths[t][1], mesh.maxEdgeLength[1]);
    a[0] = offset[0];
    a[1] = offset[1];
    b[0] = offset[0] + shareAb;
    b[1] = offset[1];
    c[0] = offset[0] + shareAb;
    c[1] = offset[1] + shareBc;
  }
};

}  // namespace per_triangle
