// MeshObject::ReadAscObject: one named object of the ASCII scene format, from its name line to the
// blank line (or end of input) that closes it. The vertex list lives only while the object is read;
// every face is copied out of it into the mesh's own storage.
#include "model/asc_object_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/line_scanner.h"
#include "model/material_names.h"
#include "model/mesh_object.h"
#include "platform/text_line_reader.h"

namespace {

struct VertexEntry {
  double x, y, z;
};

// Prefix test that stops at the text's end (a NUL never equals a prefix character).
template <size_t N>
bool StartsWith(const char* text, const char (&prefix)[N]) {
  for (size_t i = 0; i + 1 < N; ++i) {
    if (text[i] != prefix[i]) return false;
  }
  return true;
}

const char* SkipBlanks(const char* line) {
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

// The part of text from `offset` to its end, less its last character, cut to at most `capacity`
// characters. A text with no characters there gives an empty part.
struct TextPart {
  const char* start;
  size_t length;
};

TextPart QuotedTail(const char* text, size_t offset, size_t capacity = SIZE_MAX) {
  const size_t length = std::strlen(text);
  if (length <= offset) return {text + length, 0};
  const size_t count = length - offset - 1;
  return {text + offset, count < capacity ? count : capacity};
}

// A vertex line is at least "Vertex" and a line end; a header cannot announce more vertices than the
// rest of the input has room for, so a tiny file cannot make us allocate gigabytes.
int32_t VertexListCapacity(int32_t announced, const TextLineReader& stream) {
  const uint64_t room = stream.RemainingBytesBound() / 7 + 1;
  return static_cast<uint64_t>(announced) < room ? announced : static_cast<int32_t>(room);
}

constexpr char kVertexListLine[] = "Vertex list:";

}  // namespace

void ParseVertexLine(const char* text, double* x, double* y, double* z) {
  int32_t number = 0;
  double vx = 0.0, vy = 0.0, vz = 0.0;
  if (ScanVertexLine(text, &number, &vx, &vy, &vz) < 4) {
    std::printf("Error reading a point from '%s!'\n", text);
    vx = vy = vz = 0.0;
  }
  *x = vx;
  *y = vy;
  *z = vz;
}

bool ParseFaceLine(const char* text, int32_t* a, int32_t* b, int32_t* c) {
  int32_t number = 0;
  if (ScanFaceLine(text, &number, a, b, c) < 4) {
    std::printf("Error reading a face from '%s!'\n", text);
    return false;
  }
  return true;
}

int MeshObject::ReadAscObject(TextLineReader& stream, int slotIndex) {
  bool found = false;
  bool inVertices = false;
  bool done = false;
  VertexEntry* vertices = nullptr;
  int32_t vertexCapacity = 0;  // entries allocated: the announced count, bounded by the input
  int32_t vertexCount = 0;     // vertex lines read

  while (!stream.Failed() && !done) {
    const char* line = stream.ReadLine();
    const char* text = SkipBlanks(line);
    if (*text == '\0') {
      if (found) done = true;
      continue;
    }
    if (!found) {
      if (!StartsWith(text, "Named object")) continue;
      found = true;
      const TextPart part = QuotedTail(text, 15, sizeof name - 1);
      std::memcpy(name, part.start, part.length);
      name[part.length] = '\0';
      const char* header = stream.ReadLine();
      int32_t announcedVertices = 0;
      int32_t announcedFaces = 0;
      if (ScanHeaderLine(header, &announcedVertices, &announcedFaces) < 2 || announcedVertices < 0) {
        std::printf("Error reading header of object %d", slotIndex);
        return -1;
      }
      if (announcedFaces > MaxTriangles) {
        std::printf("Error: too many triangles in object (%d)\n", announcedFaces);
        return -1;
      }
      vertexCapacity = VertexListCapacity(announcedVertices, stream);
      vertices = static_cast<VertexEntry*>(std::calloc(vertexCapacity > 0 ? vertexCapacity : 1, sizeof(VertexEntry)));
      if (!vertices) {
        std::printf("Error: not enough memory for %d vertices\n", announcedVertices);
        return -1;
      }
      // The header line itself is the first candidate; a failed stream gives empty lines and ends it.
      const char* candidate = header;
      while (std::strncmp(candidate, kVertexListLine, 10) != 0 && !stream.Failed()) candidate = stream.ReadLine();
      inVertices = true;
      continue;
    }
    if (inVertices) {
      if (StartsWith(text, "Vertex")) {
        VertexEntry scratch;
        VertexEntry& v = vertexCount < vertexCapacity ? vertices[vertexCount] : scratch;
        ParseVertexLine(text, &v.x, &v.y, &v.z);
        if (vertexCount < vertexCapacity) ++vertexCount;
      } else {
        inVertices = false;
      }
      continue;
    }
    if (StartsWith(text, "Face")) {
      int32_t corner[3];
      if (!ParseFaceLine(text, &corner[0], &corner[1], &corner[2])) continue;
      if (corner[0] < 0 || corner[0] >= vertexCount || corner[1] < 0 || corner[1] >= vertexCount ||
          corner[2] < 0 || corner[2] >= vertexCount) {
        std::printf("Face refers to a vertex outside the vertex list: '%s'\n", text);
        continue;
      }
      double xs[3], ys[3], zs[3];
      for (int k = 0; k < 3; ++k) {
        xs[k] = vertices[corner[k]].x;
        ys[k] = vertices[corner[k]].y;
        zs[k] = vertices[corner[k]].z;
      }
      AddTriangle(xs, ys, zs);
      continue;
    }
    if (StartsWith(text, "Material")) {
      if (triangleCount == 0) continue;  // no triangle for it to apply to yet
      const TextPart material = QuotedTail(text, 11);
      materials[triangleCount - 1] = MaterialIndexOfName(material.start, material.length);
      continue;
    }
    if (StartsWith(text, "Smoothing")) continue;
    std::printf("Unknown line while reading faces: '%s'\n", text);
  }
  std::free(vertices);
  return found ? 0 : -1;
}
