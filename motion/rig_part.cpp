// RigPart: building the lists of a part and drawing a part's subtree at a time stamp.
#include "motion/rig_part.h"

#include <GL/gl.h>

#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/triangle_wave.h"
#include "platform/diagnostics.h"

RigPart::RigPart() : motion{0.0, 0.0, 0.0}, period(0), startTime(0), modelCount(0), models{}, childCount(0), children{} {}

void RigPart::Clear() {
  motion = {0.0, 0.0, 0.0};
  period = startTime = 0;
  modelCount = childCount = 0;
  for (int32_t& model : models) model = 0;
  for (int32_t& child : children) child = 0;
}

void RigPart::AddModel(int32_t modelIndex) {
  if (modelCount < MaxPartModels) {
    models[modelCount] = modelIndex;
    ++modelCount;
  } else {
    OutputDebugStringA("Error: attempted to put too many models in a part\n");
  }
}

void RigPart::AddChild(int32_t partIndex) {
  if (childCount < MaxPartChildren) {
    children[childCount] = partIndex;
    ++childCount;
  } else {
    OutputDebugStringA("Error: attempted to put too many children on a part\n");
  }
}

void RigPart::DrawPart(uint32_t t, bool wireframe) {
  if (startTime == 0) startTime = t;
  glPushMatrix();
  float factor = 0.0f;
  if (period != 0) {
    int64_t elapsed = 0;
    startTime = CatchUpStartTime(startTime, t, period, &elapsed);
    factor = TriangleWaveFactor(elapsed, period);
  }
  const double f = factor;
  glTranslated(f * motion.x, f * motion.y, f * motion.z);
  for (int32_t i = 0; i < modelCount; ++i) {
    const int32_t index = models[i];
    // The rig names compiled-in slots; an index outside the table is skipped rather than read.
    if (index < 0 || index >= MaxObjects) continue;
    MeshObject& mesh = modelLibrary.slots[index];
    if (wireframe) {
      mesh.DrawMeshWireframe();
    } else {
      mesh.DrawMeshCached();
    }
  }
  for (int32_t i = 0; i < childCount; ++i) {
    const int32_t index = children[i];
    if (index < 0 || index >= MaxParts) continue;
    partTable.parts[index].DrawPart(t, wireframe);
  }
  glPopMatrix();
}
