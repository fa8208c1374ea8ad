// Helpers for the bitmap loader tests: a scratch directory per test program run, files written
// byte by byte, a loader call with standard error captured, and ImageMagick as an independent
// writer and reader of bitmap files.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/dib_loader.h"
#include "image/dib_memory.h"

namespace dibtest {

using Bytes = std::vector<uint8_t>;

// One directory under /tmp for the whole run, removed at exit.
inline const std::string& ScratchDir() {
  struct Dir {
    std::string path;
    Dir() {
      char name[] = "/tmp/strivex-image-XXXXXX";
      if (mkdtemp(name) != nullptr) path = name;
    }
    ~Dir() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
  };
  static Dir dir;
  return dir.path;
}
inline std::string Scratch(const std::string& name) { return ScratchDir() + "/" + name; }

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFFu);
  Put16(b, v >> 16);
}
inline uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
inline void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A bitmap file built from its parts. The pixel offset is the end of the colour table unless
// pixelOffset is set; the info header's image size field is sizeImage.
struct DibParts {
  bool fileHeader = true;
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  Bytes table;  // colour table bytes, as stored (B,G,R[,0] per entry)
  std::vector<uint32_t> masks;
  Bytes pixels;
  int64_t pixelOffset = -1;
};

inline Bytes BuildDib(const DibParts& p) {
  Bytes b;
  uint32_t start = p.fileHeader ? 14 : 0;
  uint32_t offset = start + p.headerSize + 4 * static_cast<uint32_t>(p.masks.size()) +
                    static_cast<uint32_t>(p.table.size());
  if (p.pixelOffset >= 0) offset = static_cast<uint32_t>(p.pixelOffset);
  if (p.fileHeader) {
    b = {'B', 'M'};
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, offset);
  }
  Put32(b, p.headerSize);
  if (p.headerSize == 12) {
    Put16(b, static_cast<uint32_t>(p.width));
    Put16(b, static_cast<uint32_t>(p.height));
    Put16(b, 1);
    Put16(b, p.bitCount);
  } else {
    for (uint32_t v : {static_cast<uint32_t>(p.width), static_cast<uint32_t>(p.height),
                       1u | static_cast<uint32_t>(p.bitCount) << 16, p.compression, p.sizeImage,
                       2835u, 2835u, p.colorsUsed, 0u}) {
      Put32(b, v);
    }
    b.resize(start + p.headerSize, 0);  // other header sizes: zero-filled remainder
  }
  for (uint32_t m : p.masks) Put32(b, m);
  b.insert(b.end(), p.table.begin(), p.table.end());
  if (b.size() < offset) b.resize(offset, 0);
  b.insert(b.end(), p.pixels.begin(), p.pixels.end());
  return b;
}

// The loader's result together with what it wrote to standard error.
struct Loaded {
  RgbImage* image = nullptr;
  std::string errors;
  Loaded() = default;
  Loaded(const Loaded&) = delete;
  ~Loaded() {
    if (image != nullptr) {
      std::free(image->data);
      std::free(image);
    }
  }
  Bytes Pixels() const {
    return image ? Bytes(image->data, image->data + 3 * image->width * image->height) : Bytes();
  }
};

inline void LoadCapturing(const std::string& path, Loaded* out) {
  std::string capture = Scratch("stderr.txt");
  std::fflush(stderr);
  int saved = dup(2);
  int fd = open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(fd, 2);
  close(fd);
  out->image = LoadDibImage(path.c_str());
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  Bytes text = ReadBytes(capture);
  out->errors.assign(text.begin(), text.end());
}

inline Bytes WriteAndLoad(const Bytes& file, Loaded* out) {
  std::string path = Scratch("handmade.bmp");
  WriteBytes(path, file);
  LoadCapturing(path, out);
  return out->Pixels();
}

// Decodes a file image held in a heap block of exactly its size, so that the address sanitizer
// reports any read past its end (a mapped file would hide one up to the end of its last page).
inline Bytes DecodeExact(const Bytes& file, DibStatus* status) {
  auto* copy = new uint8_t[file.size()];
  std::copy(file.begin(), file.end(), copy);
  RgbImage* image = nullptr;
  *status = DecodeDibMemory(ByteView{copy, file.size()}, &image);
  delete[] copy;
  Bytes pixels;
  if (image != nullptr) {
    pixels.assign(image->data, image->data + 3 * image->width * image->height);
    std::free(image->data);
    std::free(image);
  }
  return pixels;
}

// A colour table of info-form entries (B,G,R,0) for the given R,G,B colours.
inline Bytes Table(std::initializer_list<std::vector<uint8_t>> colors) {
  Bytes table;
  for (const auto& c : colors) table.insert(table.end(), {c[2], c[1], c[0], 0});
  return table;
}

// ImageMagick, run through the shell; the tests need the real program, not a stand-in.
inline bool HaveImageMagick() {
  static const bool found =
      std::system("convert -version 2>/dev/null | grep -q '^Version: ImageMagick' 2>/dev/null") == 0;
  return found;
}
inline bool Convert(const std::string& arguments) {
  return std::system(("convert " + arguments + " 2>/dev/null").c_str()) == 0;
}
// ImageMagick's own decoding of a file: top row first, 8-bit R,G,B.
inline Bytes ConvertToRgb(const std::string& path) {
  std::string out = path + ".rgb";
  return Convert(path + " -depth 8 rgb:" + out) ? ReadBytes(out) : Bytes();
}
inline Bytes FlipRows(const Bytes& rgb, int width, int height) {
  Bytes flipped;
  size_t stride = 3 * static_cast<size_t>(width);
  for (int r = height - 1; r >= 0; --r) {
    flipped.insert(flipped.end(), rgb.begin() + r * stride, rgb.begin() + (r + 1) * stride);
  }
  return flipped;
}

}  // namespace dibtest
