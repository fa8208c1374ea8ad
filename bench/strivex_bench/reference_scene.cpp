// ReferenceScene: buffer objects per mesh, grouped by material, drawn through the real part tree.
#include "bench/strivex_bench/reference_scene.h"

#include <EGL/egl.h>
#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/triangle_wave.h"
#include "render/frame.h"
#include "render/materials.h"
#include "render/tex_coords.h"
#include "render/texture_set.h"
#include "render/wireframe_arrays.h"

namespace {

// Material groups: 0-2 are the textured materials, 3 everything plain grey.
constexpr int GroupCount = 4;

struct BufferCalls {
  PFNGLGENBUFFERSPROC genBuffers = nullptr;
  PFNGLBINDBUFFERPROC bindBuffer = nullptr;
  PFNGLBUFFERDATAPROC bufferData = nullptr;
  PFNGLDELETEBUFFERSPROC deleteBuffers = nullptr;
};
BufferCalls gl;

struct MeshBuffers {
  GLuint vertices = 0;  // 3 vertices per triangle, grouped
  int32_t first[GroupCount] = {};  // first triangle of each group
  int32_t count[GroupCount] = {};
};
MeshBuffers meshBuffers[MaxObjects];
GLuint lineIndices = 0;  // the wireframe index pattern for MaxTriangles triangles

// Every edge of every triangle, shared or not: A, B, C, A, B, C of triangle t are vertices 3t,
// 3t + 1, 3t + 2, so the pairs are AB, CA and BC.
constexpr int IndexCount = MaxTriangles * WireframeIndicesPerTriangle;
constexpr std::array<uint16_t, IndexCount> MakeLineIndices() {
  std::array<uint16_t, IndexCount> indices{};
  for (int i = 0; i < IndexCount; ++i) {
    indices[i] = static_cast<uint16_t>(i / WireframeIndicesPerTriangle * WireframeVerticesPerTriangle + i % 3);
  }
  return indices;
}
constexpr std::array<uint16_t, IndexCount> EveryEdgeTwice = MakeLineIndices();

struct ReferenceVertex {
  float position[3];
  float normal[3];
  float texCoord[2];
};


int GroupOf(MaterialIndex material) {
  return material >= 0 && material < FirstUntexturedMaterial ? material : FirstUntexturedMaterial;
}

template <typename T>
bool Load(T* out, const char* name) {
  *out = reinterpret_cast<T>(eglGetProcAddress(name));
  return *out != nullptr;
}

void UploadMesh(const MeshObject& mesh, MeshBuffers& buffers, ReferenceVertex* scratch) {
  const int32_t n = mesh.triangleCount;
  int32_t next = 0;
  for (int group = 0; group < GroupCount; ++group) {
    buffers.first[group] = next;
    for (int32_t t = 0; t < n; ++t) {
      if (GroupOf(mesh.materials[t]) != group) continue;
      const double* offset = mesh.texOffsets[t];
      double coords[3][2];
      CornerTexCoords(offset[0], offset[1], EdgeShare(mesh.edgeLengths[t][0], mesh.maxEdgeLength[0]),
                      EdgeShare(mesh.edgeLengths[t][1], mesh.maxEdgeLength[1]), coords[0], coords[1], coords[2]);
      for (int k = 0; k < 3; ++k) {
        ReferenceVertex& v = scratch[next * 3 + k];
        v.position[0] = static_cast<float>(mesh.cornerX[t][k]);
        v.position[1] = static_cast<float>(mesh.cornerY[t][k]);
        v.position[2] = static_cast<float>(mesh.cornerZ[t][k]);
        v.normal[0] = static_cast<float>(mesh.normals[t].x);
        v.normal[1] = static_cast<float>(mesh.normals[t].y);
        v.normal[2] = static_cast<float>(mesh.normals[t].z);
        v.texCoord[0] = static_cast<float>(coords[k][0]);
        v.texCoord[1] = static_cast<float>(coords[k][1]);
      }
      ++next;
    }
    buffers.count[group] = next - buffers.first[group];
  }
  gl.genBuffers(1, &buffers.vertices);
  gl.bindBuffer(GL_ARRAY_BUFFER, buffers.vertices);
  gl.bufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(n) * 3 * sizeof(ReferenceVertex), scratch, GL_STATIC_DRAW);
}

}  // namespace

ReferenceScene::~ReferenceScene() = default;

bool ReferenceScene::Build(char* error) {
  if (!Load(&gl.genBuffers, "glGenBuffers") || !Load(&gl.bindBuffer, "glBindBuffer") ||
      !Load(&gl.bufferData, "glBufferData") || !Load(&gl.deleteBuffers, "glDeleteBuffers")) {
    std::snprintf(error, 256, "this GL has no buffer objects for the reference drawing");
    return false;
  }
  const auto scratch = std::make_unique<ReferenceVertex[]>(MaxTriangles * 3);
  for (int slot = 0; slot < modelLibrary.objectCount && slot < MaxObjects; ++slot) {
    UploadMesh(modelLibrary.slots[slot], meshBuffers[slot], scratch.get());
  }
  gl.genBuffers(1, &lineIndices);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, lineIndices);
  gl.bufferData(GL_ELEMENT_ARRAY_BUFFER, MaxTriangles * WireframeIndicesPerTriangle * sizeof(uint16_t),
                EveryEdgeTwice.data(), GL_STATIC_DRAW);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  gl.bindBuffer(GL_ARRAY_BUFFER, 0);
  return true;
}

void ReferenceScene::Release() {
  if (gl.deleteBuffers == nullptr) return;
  for (MeshBuffers& buffers : meshBuffers) {
    if (buffers.vertices != 0) gl.deleteBuffers(1, &buffers.vertices);
    buffers = MeshBuffers{};
  }
  if (lineIndices != 0) gl.deleteBuffers(1, &lineIndices);
  lineIndices = 0;
}

void ReferenceScene::DrawFrame(uint32_t now, RenderMode mode) const {
  BeginScene();
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  if (mode == RenderMode::Textured) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  if (mode == RenderMode::Wireframe) gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, lineIndices);
  DrawPartTree(partTable.rootPart, now, mode);
  gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  gl.bindBuffer(GL_ARRAY_BUFFER, 0);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  EndScene();
}

void ReferenceScene::DrawPartTree(int32_t index, uint32_t now, RenderMode mode) const {
  if (index < 0 || index >= MaxParts) return;
  const RigPart& part = partTable.parts[index];
  float factor = 0.0f;
  if (part.period != 0) {
    int64_t elapsed = 0;
    CatchUpStartTime(part.startTime == 0 ? now : part.startTime, now, part.period, &elapsed);
    factor = TriangleWaveFactor(elapsed, part.period);
  }
  const double f = factor;
  glPushMatrix();
  glTranslated(f * part.motion.x, f * part.motion.y, f * part.motion.z);
  for (int32_t i = 0; i < part.modelCount; ++i) DrawMesh(part.models[i], mode);
  for (int32_t i = 0; i < part.childCount; ++i) DrawPartTree(part.children[i], now, mode);
  glPopMatrix();
}

void ReferenceScene::DrawMesh(int32_t slot, RenderMode mode) const {
  if (slot < 0 || slot >= MaxObjects || meshBuffers[slot].vertices == 0) return;
  const MeshBuffers& buffers = meshBuffers[slot];
  gl.bindBuffer(GL_ARRAY_BUFFER, buffers.vertices);
  constexpr GLsizei Stride = sizeof(ReferenceVertex);
  glVertexPointer(3, GL_FLOAT, Stride, reinterpret_cast<const void*>(offsetof(ReferenceVertex, position)));
  glNormalPointer(GL_FLOAT, Stride, reinterpret_cast<const void*>(offsetof(ReferenceVertex, normal)));
  glTexCoordPointer(2, GL_FLOAT, Stride, reinterpret_cast<const void*>(offsetof(ReferenceVertex, texCoord)));
  for (int group = 0; group < GroupCount; ++group) {
    if (buffers.count[group] == 0) continue;
    if (mode == RenderMode::Textured && group < FirstUntexturedMaterial) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[TextureSlotOfMaterial(group)]);
      SetWhiteMaterial();
    } else {
      glDisable(GL_TEXTURE_2D);
      SetMaterialColour(group);
    }
    if (mode == RenderMode::Wireframe) {
      const uintptr_t firstIndex = static_cast<uintptr_t>(buffers.first[group]) * WireframeIndicesPerTriangle;
      glDrawElements(GL_LINES, buffers.count[group] * WireframeIndicesPerTriangle, GL_UNSIGNED_SHORT,
                     reinterpret_cast<const void*>(firstIndex * sizeof(uint16_t)));
    } else {
      glDrawArrays(GL_TRIANGLES, buffers.first[group] * 3, buffers.count[group] * 3);
    }
  }
}
