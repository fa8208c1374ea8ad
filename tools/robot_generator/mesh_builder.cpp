// Storage of a mesh under construction: fixed-capacity vertex and face lists, mirroring, and the
// signed volume used to check orientation.
#include "tools/robot_generator/mesh_builder.h"

#include <cstring>
#include <new>

namespace robogen {

const char* MaterialName(Material m) {
  switch (m) {
    case Material::BlackMatte:
      return "BLACK MATTE";
    case Material::ChlngerChrome:
      return "CHLNGER CHROME";
    case Material::BlackRoboHood:
      return "BLACK ROBO HOOD";
    case Material::Default:
      break;
  }
  return "DEFAULT";
}

Mesh::Mesh()
    : vertices(new (std::nothrow) Point3[kMaxVertices]), faces(new (std::nothrow) Face[kMaxFaces]) {
  name[0] = '\0';
  failed = vertices == nullptr || faces == nullptr;
}

Mesh::~Mesh() {
  delete[] vertices;
  delete[] faces;
}

void Mesh::Clear(const char* newName) {
  std::strncpy(name, newName, kMaxNameLength);
  name[kMaxNameLength] = '\0';
  vertexCount = 0;
  faceCount = 0;
  demandedFaces = 0;
  failed = vertices == nullptr || faces == nullptr;  // without storage a mesh can hold nothing
}

bool Mesh::Reserve(int vertexNeed, int faceNeed) {
  demandedFaces += faceNeed;
  if (vertices == nullptr || faces == nullptr || vertexNeed < 0 || faceNeed < 0 ||
      vertexNeed > kMaxVertices - vertexCount || faceNeed > kMaxFaces - faceCount) {
    failed = true;
    return false;
  }
  return true;
}

int Mesh::AddVertex(Point3 p) {
  if (vertices == nullptr || vertexCount >= kMaxVertices) {
    failed = true;
    return -1;
  }
  vertices[vertexCount] = p;
  return vertexCount++;
}

void Mesh::AddFace(int a, int b, int c, Material m) {
  if (faces == nullptr || faceCount >= kMaxFaces || a < 0 || b < 0 || c < 0 || a >= vertexCount ||
      b >= vertexCount || c >= vertexCount) {
    failed = true;
    return;
  }
  faces[faceCount++] = Face{a, b, c, m};
}

void Mesh::MirrorX(double planeX) {
  for (int i = 0; i < vertexCount; ++i) vertices[i].x = 2.0 * planeX - vertices[i].x;
  for (int i = 0; i < faceCount; ++i) {
    int keep = faces[i].b;
    faces[i].b = faces[i].c;
    faces[i].c = keep;
  }
}

void Mesh::CopyFrom(const Mesh& other, const char* newName) {
  Clear(newName);
  if (vertices == nullptr || faces == nullptr || other.vertices == nullptr ||
      other.faces == nullptr) {
    failed = true;
    return;
  }
  vertexCount = other.vertexCount;
  faceCount = other.faceCount;
  demandedFaces = other.demandedFaces;
  failed = other.failed;
  std::memcpy(vertices, other.vertices, sizeof(Point3) * static_cast<size_t>(vertexCount));
  std::memcpy(faces, other.faces, sizeof(Face) * static_cast<size_t>(faceCount));
}

double SignedVolume(const Mesh& mesh) {
  double sum = 0.0;
  for (int i = 0; i < mesh.FaceCount(); ++i) {
    const Face& f = mesh.FaceAt(i);
    sum += Dot(mesh.VertexAt(f.a), CrossProduct(mesh.VertexAt(f.b), mesh.VertexAt(f.c)));
  }
  return sum / 6.0;
}

}  // namespace robogen
