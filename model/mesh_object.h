// One triangle mesh of the scene, with fixed capacity. The per-triangle arrays are allocated at full
// capacity by the constructor and never grow; the values drawing needs (edge lengths, their maxima,
// the face normal) are derived once, when a triangle is added.
//
// Where each member lives. The record and its reading belong to the model; the drawing half is
// compiled with the renderer, which alone knows the render modes, the material colours and the
// texture slots, so that the scene reader and its fuzzer build without any of that:
// - the constructor, the destructor and Clear (which delete the display list only while a GL
//   context is current, and the wireframe's lines) and AddTriangle with its parts TakeTriangle and
//   DeriveTriangles: model/mesh_object.cpp;
// - ReadAscObject with its parts ReadFaceLines and FillCorners: model/read_asc_object.cpp;
// - DrawMeshCached and DrawMeshImmediate: render/mesh_draw.cpp;
// - DrawMeshWireframe: render/mesh_wireframe.cpp;
// - TriangleTexCoords: render/tex_coords.cpp.
#pragma once
#include <cstdint>

#include "model/vec3.h"

class TextLineReader;
struct ObjectScratch;
struct VertexEntry;
struct WireframeLines;

using MaterialIndex = int32_t;

constexpr int MaxTriangles = 3000;

class MeshObject {
 public:
  MeshObject();
  ~MeshObject();
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;

  void AddTriangle(const double xs[3], const double ys[3], const double zs[3]);
  // Back to the state construction leaves, keeping the arrays, so that a slot can be read into
  // again: no name, no triangles, no list (deleted while a context is current), no lines.
  void Clear();

  // Reads the next object of the scene stream into this mesh, after any triangles it holds (the
  // loader gives it an empty one): 0 when an object was read, -1 when no name line came before the
  // input failed or the object's header was rejected. slotIndex only numbers the header error
  // message; scratch is the load's (object_scratch.h).
  int ReadAscObject(TextLineReader& stream, int slotIndex, ObjectScratch& scratch);

  void DrawMeshCached();
  void DrawMeshImmediate();
  void DrawMeshWireframe();
  void TriangleTexCoords(int32_t t, double a[2], double b[2], double c[2]);

  char name[256];
  double (*cornerX)[3];
  double (*cornerY)[3];
  double (*cornerZ)[3];
  Vec3* normals;
  double (*edgeLengths)[2];
  double maxEdgeLength[2];
  double (*texOffsets)[2];
  MaterialIndex* materials;
  int32_t triangleCount;
  bool listBuilt;
  bool listTextured;
  uint32_t displayList;
  // Closed and wound outward (IsClosedOutward), set once the object is read: drawn with back faces culled.
  bool closedOutward = false;
  // The wireframe's vertex arrays, built when the mesh is first drawn as lines (wireframe_lines.h).
  WireframeLines* wireframeLines = nullptr;

 private:
  void ReleaseDrawings();  // the display list and the wireframe's lines, as the destructor does
  // AddTriangle in its parts, so that the reader takes a whole object's faces first and then fills
  // in their corners and derived values in loops of their own.
  bool TakeTriangle();  // a new triangle of material -1; false, with the capacity message, when full
  void DeriveTriangles(int32_t first);  // the derived values of triangles first to triangleCount - 1
  // ReadAscObject's parts: the face section, and at the end the corners of the triangles taken from
  // `first` on (their vertex numbers in scratch.cornerVertices), then what is derived from them.
  void ReadFaceLines(TextLineReader& stream, int32_t vertexCapacity, int32_t (*cornerVertices)[3]);
  void FillCorners(VertexEntry* vertices, int32_t first, ObjectScratch& scratch);
};
