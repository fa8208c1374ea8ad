// A triangle mesh under construction, the way a modelling program holds it: one shared vertex
// list and faces that index it, each face with its material. Capacity is fixed at what the viewer
// accepts per object; shapes go in whole or not at all (see Reserve), so a mesh never holds half a
// shape and stays closed even when something did not fit. Shapes themselves are in primitives.*.
#pragma once
#include "tools/robot_generator/vec_math.h"

namespace robogen {

// The four material names the viewer knows, in its own order.
enum class Material : int { BlackMatte = 0, ChlngerChrome = 1, BlackRoboHood = 2, Default = 3 };
constexpr int kMaterialCount = 4;
const char* MaterialName(Material m);

struct Face {
  int a = 0;
  int b = 0;
  int c = 0;
  Material material = Material::Default;
};

class Mesh {
 public:
  static constexpr int kMaxFaces = 3000;
  static constexpr int kMaxVertices = 3000;
  static constexpr int kMaxNameLength = 63;

  Mesh();
  ~Mesh();
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;

  // Empties the mesh and names it (a longer name is cut to kMaxNameLength characters).
  void Clear(const char* newName);

  // Asks for room for one more shape. When it does not fit, the mesh is marked failed, the faces
  // are still counted in DemandedFaces (so a designer sees by how much), and false comes back.
  bool Reserve(int vertices, int faces);
  // Both return quietly and mark the mesh failed when used beyond what Reserve granted or with a
  // vertex number that does not exist.
  int AddVertex(Point3 p);
  void AddFace(int a, int b, int c, Material m);

  // Reflects the mesh across the plane x = planeX and reverses every face, so that the mirrored
  // copy still has its faces counter-clockwise seen from outside.
  void MirrorX(double planeX);
  void CopyFrom(const Mesh& other, const char* newName);

  const char* Name() const { return name; }
  int VertexCount() const { return vertexCount; }
  int FaceCount() const { return faceCount; }
  const Point3& VertexAt(int i) const { return vertices[i]; }
  const Face& FaceAt(int i) const { return faces[i]; }
  bool Failed() const { return failed; }
  int DemandedFaces() const { return demandedFaces; }

 private:
  char name[kMaxNameLength + 1];
  Point3* vertices;
  Face* faces;
  int vertexCount = 0;
  int faceCount = 0;
  int demandedFaces = 0;
  bool failed = false;
};

// The enclosed volume by the divergence theorem: positive when the faces wind counter-clockwise
// seen from outside, negative for a mesh turned inside out.
double SignedVolume(const Mesh& mesh);

}  // namespace robogen
