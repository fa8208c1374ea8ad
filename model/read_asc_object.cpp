// MeshObject::ReadAscObject: one named object of the ASCII scene format, from its name line to the
// blank line (or end of input) that closes it. The vertex list lives only while the object is read;
// every face is copied out of it into the mesh's own storage.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/line_scanner.h"
#include "model/material_names.h"
#include "model/mesh_object.h"
#include "model/vertex_face_lines.h"
#include "platform/text_line_reader.h"

namespace {

struct VertexEntry {
  double x, y, z;
};

// Prefix test that stops at the text's end (a NUL never equals a prefix character). Every line
// goes through several: unrolled, each is a few comparisons that mostly fail at the first.
template <size_t N>
[[gnu::always_inline]] inline bool StartsWith(const char* text, const char (&prefix)[N]) {
#pragma GCC unroll 32
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

bool InsideList(int32_t index, int32_t count) { return index >= 0 && index < count; }

}  // namespace

int MeshObject::ReadAscObject(TextLineReader& stream, int slotIndex) {
  bool found = false;
  bool inVertices = false;
  bool done = false;
  VertexEntry* vertices = nullptr;
  int32_t vertexCapacity = 0;  // entries allocated: the announced count, bounded by the input
  int32_t vertexCount = 0;     // vertex lines read
  bool lastFaceStored = false;  // the latest face line became a triangle (none yet: false)

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
      // Until the next face line, material lines belong to this face: if it is not stored, they
      // must not recolour the triangle stored before it.
      lastFaceStored = false;
      int32_t corner[3];
      if (!ParseFaceLine(text, &corner[0], &corner[1], &corner[2])) continue;
      // The list is zero-filled where no vertex line was read, so any number inside it is a corner.
      if (!InsideList(corner[0], vertexCapacity) || !InsideList(corner[1], vertexCapacity) ||
          !InsideList(corner[2], vertexCapacity)) {
        std::printf("Face refers to a vertex outside the vertex list: '%s'\n", text);
        continue;
      }
      double xs[3], ys[3], zs[3];
      for (int k = 0; k < 3; ++k) {
        xs[k] = vertices[corner[k]].x;
        ys[k] = vertices[corner[k]].y;
        zs[k] = vertices[corner[k]].z;
      }
      const int32_t before = triangleCount;
      AddTriangle(xs, ys, zs);
      lastFaceStored = triangleCount > before;
      continue;
    }
    if (StartsWith(text, "Material")) {
      if (!lastFaceStored) continue;
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
