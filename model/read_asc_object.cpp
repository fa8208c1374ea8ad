// MeshObject::ReadAscObject: one named object of the ASCII scene format, from its name line to the
// blank line (or end of input) that closes it, in its parts: the name and header, the vertex lines,
// the face section. The vertex list lives only while the object is read; once it is, each face's
// corners are copied out of it into the mesh's own storage.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/line_scanner.h"
#include "model/material_names.h"
#include "model/mesh_closure.h"
#include "model/mesh_object.h"
#include "model/object_scratch.h"
#include "model/vertex_face_lines.h"
#include "platform/text_line_reader.h"

struct VertexEntry {
  double x, y, z;
  PositionNumber number;  // given when a stored triangle first uses the vertex; 0 until then
};

namespace {

// Prefix test on a text of `length` characters (a NUL of its own may end it sooner, and never
// equals a prefix character). Every line goes through several, so each compares in a word or two.
template <size_t N>
[[gnu::always_inline]] inline bool StartsWith(const char* text, size_t length, const char (&prefix)[N]) {
  return length >= N - 1 && std::memcmp(text, prefix, N - 1) == 0;
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

TextPart QuotedTail(const char* text, size_t offset, size_t capacity) {
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

constexpr char kNameLinePrefix[] = "Named object";
// The name starts after the prefix and three characters skipped unchecked (a colon, a blank and the
// opening quote in a well-formed line).
constexpr size_t kNameStart = sizeof kNameLinePrefix - 1 + 3;
constexpr char kVertexListLine[] = "Vertex list:";
// The vertex-list line is recognised by this many of its first characters ("Vertex lis"), from the
// first column, whatever follows them.
constexpr size_t kVertexListCompared = 10;

bool InsideList(int32_t index, int32_t count) { return index >= 0 && index < count; }

// A line as the reader looks at it: its text from the first character that is not a blank or a
// tab, and how many characters there are from there to the line's end.
struct SceneLine {
  const char* text;
  size_t length;
};

SceneLine NextLine(TextLineReader& stream) {
  const char* line = stream.ReadLine();
  const char* text = SkipBlanks(line);
  return {text, stream.LineLength() - static_cast<size_t>(text - line)};
}

// The object's vertex list: `capacity` entries allocated, the first `count` filled by vertex lines.
struct VertexList {
  VertexEntry* entries;
  int32_t capacity;
  int32_t count;
};

// Reads vertex lines into the list up to the first non-blank line that is not one, which it drops.
// True when the object ended among them: at a blank line or at the end of the input.
bool ReadVertexLines(TextLineReader& stream, VertexList& list) {
  while (!stream.Failed()) {
    const SceneLine line = NextLine(stream);
    if (*line.text == '\0') return true;
    if (!StartsWith(line.text, line.length, "Vertex")) return false;
    VertexEntry scratch;
    VertexEntry& v = list.count < list.capacity ? list.entries[list.count] : scratch;
    ParseVertexLine(line.text, &v.x, &v.y, &v.z);
    v.number = 0;
    if (list.count < list.capacity) ++list.count;
  }
  return true;
}

}  // namespace

int MeshObject::ReadAscObject(TextLineReader& stream, int slotIndex, ObjectScratch& scratch) {
  // Lines before the object's name line are passed over.
  SceneLine nameLine;
  do {
    if (stream.Failed()) return -1;
    nameLine = NextLine(stream);
  } while (!StartsWith(nameLine.text, nameLine.length, kNameLinePrefix));
  const TextPart part = QuotedTail(nameLine.text, kNameStart, sizeof name - 1);
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
  VertexList vertices{nullptr, VertexListCapacity(announcedVertices, stream), 0};
  // Entries that no vertex line fills are zeroed once the object is read.
  const size_t entries = vertices.capacity > 0 ? static_cast<size_t>(vertices.capacity) : 1;
  vertices.entries = static_cast<VertexEntry*>(std::malloc(entries * sizeof(VertexEntry)));
  if (!vertices.entries) {
    std::printf("Error: not enough memory for %d vertices\n", announcedVertices);
    return -1;
  }
  // The header line itself is the first candidate; a failed stream gives empty lines and ends it.
  const char* candidate = header;
  while (std::strncmp(candidate, kVertexListLine, kVertexListCompared) != 0 && !stream.Failed()) candidate = stream.ReadLine();

  // The vertices of each triangle taken from here on; its corners are filled in once the object is read.
  const int32_t firstTaken = triangleCount;
  if (!ReadVertexLines(stream, vertices)) ReadFaceLines(stream, vertices.capacity, scratch.cornerVertices);
  const size_t unfilled = static_cast<size_t>(vertices.capacity - vertices.count);
  std::memset(vertices.entries + vertices.count, 0, unfilled * sizeof(VertexEntry));
  FillCorners(vertices.entries, firstTaken, scratch);
  std::free(vertices.entries);
  return 0;
}

// The face section, up to the blank line (or the end of the input) that closes the object.
void MeshObject::ReadFaceLines(TextLineReader& stream, int32_t vertexCapacity, int32_t (*cornerVertices)[3]) {
  bool lastFaceStored = false;  // the latest face line became a triangle (none yet: false)
  while (!stream.Failed()) {
    const SceneLine line = NextLine(stream);
    const char* text = line.text;
    if (*text == '\0') return;
    if (StartsWith(text, line.length, "Face")) {
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
      lastFaceStored = TakeTriangle();
      if (lastFaceStored) std::memcpy(cornerVertices[triangleCount - 1], corner, sizeof corner);
      continue;
    }
    if (StartsWith(text, line.length, "Material")) {
      if (lastFaceStored) materials[triangleCount - 1] = MaterialIndexOfLine(text, line.length);
      continue;
    }
    if (StartsWith(text, line.length, "Smoothing")) continue;
    std::printf("Unknown line while reading faces: '%s'\n", text);
  }
}

// The vertex list is complete once the object is read, so the corners are filled in here, in one
// loop that the parsing of lines does not interrupt, and then the values derived from them. Each
// vertex is numbered by position once, however many corners share it, for the closure test.
void MeshObject::FillCorners(VertexEntry* vertices, int32_t first, ObjectScratch& scratch) {
  PositionNumbering numbering(scratch.closure);
  const int32_t (*cornerVertices)[3] = scratch.cornerVertices;
  PositionNumber (*cornerNumbers)[3] = scratch.cornerNumbers;
  for (int32_t t = 0; t < first; ++t) {  // a mesh read into when it was not empty
    for (int k = 0; k < 3; ++k) cornerNumbers[t][k] = numbering.NumberOf(cornerX[t][k], cornerY[t][k], cornerZ[t][k]);
  }
  for (int32_t t = first; t < triangleCount; ++t) {
#pragma GCC unroll 3
    for (int k = 0; k < 3; ++k) {
      VertexEntry& v = vertices[cornerVertices[t][k]];
      cornerX[t][k] = v.x;
      cornerY[t][k] = v.y;
      cornerZ[t][k] = v.z;
      if (v.number == 0) v.number = numbering.NumberOf(v.x, v.y, v.z);
      cornerNumbers[t][k] = v.number;
    }
  }
  DeriveTriangles(first);
  closedOutward = IsClosedOutward(*this, cornerNumbers, scratch.closure);
}
