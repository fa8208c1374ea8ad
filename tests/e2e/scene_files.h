// What an end-to-end run puts in front of the viewer and reads back from it: a small scene of
// closed boxes in the ASCII mesh format, 24-bit BMP textures of plain recognisable colours, the
// saved P6 frames, and the few picture measures the checks need (region colours, row comparisons).
// The projection of a world point to a window pixel lets the checks sample a box wherever the
// scene places it, instead of at hand-picked pixel positions.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace e2e {

struct Point3 {
  double x, y, z;
};

struct Colour {
  double r = 0, g = 0, b = 0;
  double Brightness() const { return (r + g + b) / 3.0; }
  // Largest difference between two channels: 0 for a pure grey.
  double Spread() const { return std::max({r, g, b}) - std::min({r, g, b}); }
};

inline std::string Describe(const Colour& c) {
  char text[64];
  std::snprintf(text, sizeof text, "(%.1f, %.1f, %.1f)", c.r, c.g, c.b);
  return text;
}

// --- Scene text -----------------------------------------------------------------------------

// An object with a vertex list and no faces: it takes a library slot and draws nothing.
inline std::string EmptyObjectText(const std::string& name) {
  return "Named object: \"" + name + "\"\nTri-mesh, Vertices: 0  Faces: 0\nVertex list:\n\n";
}

// A closed axis-aligned box of twelve triangles, wound so that every face normal points out of the
// box (the viewer lights one side of a triangle only).
inline std::string BoxObjectText(const std::string& name, Point3 centre, Point3 half, const std::string& material) {
  Point3 corners[8];
  for (int i = 0; i < 8; ++i) {
    corners[i] = {centre.x + ((i & 4) ? half.x : -half.x), centre.y + ((i & 2) ? half.y : -half.y),
                  centre.z + ((i & 1) ? half.z : -half.z)};
  }
  static const int kFaces[12][3] = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                                    {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
  std::string text = "Named object: \"" + name + "\"\nTri-mesh, Vertices: 8  Faces: 12\nVertex list:\n";
  char line[160];
  for (int i = 0; i < 8; ++i) {
    std::snprintf(line, sizeof line, "Vertex %d:  X: %.4f Y: %.4f Z: %.4f\n", i, corners[i].x, corners[i].y,
                  corners[i].z);
    text += line;
  }
  text += "Face list:\n";
  for (int f = 0; f < 12; ++f) {
    int a = kFaces[f][0], b = kFaces[f][1], c = kFaces[f][2];
    const Point3 &pa = corners[a], &pb = corners[b], &pc = corners[c];
    // Normal as the viewer forms it: (B - A) x (C - B).
    const Point3 e1{pb.x - pa.x, pb.y - pa.y, pb.z - pa.z};
    const Point3 e2{pc.x - pb.x, pc.y - pb.y, pc.z - pb.z};
    const Point3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    const Point3 out{(pa.x + pb.x + pc.x) / 3 - centre.x, (pa.y + pb.y + pc.y) / 3 - centre.y,
                     (pa.z + pb.z + pc.z) / 3 - centre.z};
    if (n.x * out.x + n.y * out.y + n.z * out.z < 0) std::swap(b, c);
    std::snprintf(line, sizeof line, "Face %d:    A:%d B:%d C:%d AB:1 BC:1 CA:1\n", f, a, b, c);
    text += line;
    text += "Material: \"" + material + "\"\nSmoothing:  1\n";
  }
  return text + "\n";
}

// --- BMP ------------------------------------------------------------------------------------

struct Rgb8 {
  uint8_t r, g, b;
};

// Uncompressed 24-bit BMP, rows bottom-up padded to four bytes; pixel(x, y) counts y from the
// bottom row.
template <typename PixelAt>
bool WriteBmp24(const std::string& path, int width, int height, PixelAt pixel) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::string out = "BM";
  auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(54 + imageBytes, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(imageBytes, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb8 c = pixel(x, y);
      out += static_cast<char>(c.b);
      out += static_cast<char>(c.g);
      out += static_cast<char>(c.r);
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out += '\0';
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

// --- Saved frames ---------------------------------------------------------------------------

constexpr const char* kPpmHeader500 = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n500 500\n255\n";

// A saved 500 x 500 frame: the raster only, top row first, three bytes per pixel.
struct Frame {
  std::string raster;

  static constexpr int kSize = 500;

  Colour Pixel(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * kSize + static_cast<size_t>(x)) * 3;
    return {static_cast<double>(static_cast<uint8_t>(raster[i])), static_cast<double>(static_cast<uint8_t>(raster[i + 1])),
            static_cast<double>(static_cast<uint8_t>(raster[i + 2]))};
  }

  // Mean colour of the square of side 2 * radius + 1 around (x, y), clipped to the picture.
  Colour MeanAround(int x, int y, int radius) const {
    Colour sum;
    int count = 0;
    for (int v = std::max(0, y - radius); v <= std::min(kSize - 1, y + radius); ++v) {
      for (int u = std::max(0, x - radius); u <= std::min(kSize - 1, x + radius); ++u) {
        const Colour c = Pixel(u, v);
        sum.r += c.r, sum.g += c.g, sum.b += c.b;
        ++count;
      }
    }
    if (count > 0) sum.r /= count, sum.g /= count, sum.b /= count;
    return sum;
  }

  Colour MeanOfRows(int firstRow, int lastRow) const {
    Colour sum;
    for (int y = firstRow; y <= lastRow; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const Colour c = Pixel(x, y);
        sum.r += c.r, sum.g += c.g, sum.b += c.b;
      }
    }
    const double count = static_cast<double>(lastRow - firstRow + 1) * kSize;
    sum.r /= count, sum.g /= count, sum.b /= count;
    return sum;
  }

  // Share of the square around (x, y) whose pixels lie within `tolerance` of `colour` on every
  // channel.
  double ShareNear(int x, int y, int radius, const Colour& colour, double tolerance) const {
    int near = 0, count = 0;
    for (int v = std::max(0, y - radius); v <= std::min(kSize - 1, y + radius); ++v) {
      for (int u = std::max(0, x - radius); u <= std::min(kSize - 1, x + radius); ++u) {
        const Colour c = Pixel(u, v);
        ++count;
        if (std::fabs(c.r - colour.r) <= tolerance && std::fabs(c.g - colour.g) <= tolerance &&
            std::fabs(c.b - colour.b) <= tolerance) {
          ++near;
        }
      }
    }
    return count > 0 ? static_cast<double>(near) / count : 0.0;
  }
};

inline bool RowsIdentical(const Frame& a, const Frame& b, int firstRow, int lastRow) {
  const size_t begin = static_cast<size_t>(firstRow) * Frame::kSize * 3;
  const size_t length = static_cast<size_t>(lastRow - firstRow + 1) * Frame::kSize * 3;
  return a.raster.compare(begin, length, b.raster, begin, length) == 0;
}

// Mean absolute difference per sample over a band of rows.
inline double RowsDifference(const Frame& a, const Frame& b, int firstRow, int lastRow) {
  const size_t begin = static_cast<size_t>(firstRow) * Frame::kSize * 3;
  const size_t end = static_cast<size_t>(lastRow + 1) * Frame::kSize * 3;
  double sum = 0;
  for (size_t i = begin; i < end; ++i) {
    sum += std::abs(static_cast<int>(static_cast<uint8_t>(a.raster[i])) - static_cast<int>(static_cast<uint8_t>(b.raster[i])));
  }
  return sum / static_cast<double>(end - begin);
}

// Parses a saved frame of the initial window; false unless the header is the viewer's own,
// byte for byte, and the file holds exactly the raster it announces.
inline bool ParseFrame(const std::string& bytes, Frame* frame, std::string* why) {
  const std::string header = kPpmHeader500;
  if (bytes.compare(0, header.size(), header) != 0) {
    *why = "header is not \"P6\\n# CREATOR: glDumpWindowPPM() by Wexmoor\\n500 500\\n255\\n\": starts with \"" +
           bytes.substr(0, std::min<size_t>(bytes.size(), 60)) + "\"";
    return false;
  }
  const size_t raster = static_cast<size_t>(Frame::kSize) * Frame::kSize * 3;
  if (bytes.size() != header.size() + raster) {
    *why = "file is " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(header.size() + raster);
    return false;
  }
  frame->raster = bytes.substr(header.size());
  return true;
}

// --- Where a world point lands in the 500 x 500 window ----------------------------------------

struct WindowPoint {
  int x, y;
};

// The orbit camera around (-2, 2, 3) at distance 10, z up, 60 degree vertical field of view, square
// window; y counts from the top row, as in the saved frames.
inline WindowPoint ProjectToWindow(Point3 p, double azimuthDegrees, double elevationDegrees) {
  const double a = azimuthDegrees * M_PI / 180.0, e = elevationDegrees * M_PI / 180.0;
  const Point3 centre{-2.0, 2.0, 3.0};
  const Point3 eye{std::sin(a) * std::cos(e) * 10 + centre.x, std::cos(a) * std::cos(e) * 10 + centre.y,
                   std::sin(e) * 10 + centre.z};
  auto sub = [](Point3 u, Point3 v) { return Point3{u.x - v.x, u.y - v.y, u.z - v.z}; };
  auto dot = [](Point3 u, Point3 v) { return u.x * v.x + u.y * v.y + u.z * v.z; };
  auto cross = [](Point3 u, Point3 v) {
    return Point3{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  };
  auto unit = [&](Point3 u) {
    const double l = std::sqrt(dot(u, u));
    return Point3{u.x / l, u.y / l, u.z / l};
  };
  const Point3 forward = unit(sub(centre, eye));
  const Point3 right = unit(cross(forward, Point3{0, 0, 1}));
  const Point3 up = cross(right, forward);
  const Point3 d = sub(p, eye);
  const double depth = dot(d, forward);
  const double focal = (Frame::kSize / 2.0) / std::tan(30.0 * M_PI / 180.0);
  return {static_cast<int>(std::lround(Frame::kSize / 2.0 + focal * dot(d, right) / depth)),
          static_cast<int>(std::lround(Frame::kSize / 2.0 - focal * dot(d, up) / depth))};
}

}  // namespace e2e
