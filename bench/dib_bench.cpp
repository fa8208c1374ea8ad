// Decoding speed of LoadDibImage against stb_image on the same files in the same run: a
// 1024 x 1024 24-bit bitmap and a 1024 x 1024 8-bit run-length bitmap, both written here into a
// temporary directory. Prints the median time of each decoder and their ratio.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "image/dib_loader.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

constexpr int kSide = 1024;
constexpr int kIterations = 41;

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

Bytes Headers(uint16_t bitCount, uint32_t compression, uint32_t tableEntries, uint32_t dataSize) {
  Bytes b = {'B', 'M'};
  uint32_t offset = 14 + 40 + 4 * tableEntries;
  Put32(b, offset + dataSize);
  Put32(b, 0);
  Put32(b, offset);
  for (uint32_t v : {40u, uint32_t{kSide}, uint32_t{kSide}, 1u | uint32_t{bitCount} << 16,
                     compression, dataSize, 2835u, 2835u, tableEntries, 0u}) {
    Put32(b, v);
  }
  for (uint32_t i = 0; i < tableEntries; ++i) Put32(b, (i * 0x010305u) & 0xFFFFFF);
  return b;
}

Bytes MakeBgr24() {
  Bytes pixels;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      pixels.push_back(static_cast<uint8_t>(x + y));
      pixels.push_back(static_cast<uint8_t>(x * y >> 4));
      pixels.push_back(static_cast<uint8_t>((x ^ y) * 7));
    }
  }
  Bytes file = Headers(24, 0, 0, static_cast<uint32_t>(pixels.size()));
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

// Rows of runs of varying length with a literal stretch in every row, as a painted texture has.
Bytes MakeRle8() {
  Bytes stream;
  for (int y = 0; y < kSide; ++y) {
    int x = 0;
    int run = 1 + (y * 13) % 60;
    while (x < kSide - 40) {
      int n = std::min(run, kSide - 40 - x);
      stream.push_back(static_cast<uint8_t>(n));
      stream.push_back(static_cast<uint8_t>((x / 8 + y) & 0xFF));
      x += n;
      run = 1 + (run * 7 + 3) % 90;
    }
    stream.push_back(0);
    stream.push_back(40);  // a literal run of the last 40 pixels
    for (int i = 0; i < 40; ++i) stream.push_back(static_cast<uint8_t>(i * 5 + y));
    stream.push_back(0);
    stream.push_back(0);
  }
  stream.push_back(0);
  stream.push_back(1);
  Bytes file = Headers(8, 1, 256, static_cast<uint32_t>(stream.size()));
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

std::string WriteFile(const std::string& dir, const char* name, const Bytes& bytes) {
  std::string path = dir + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

template <typename Decode>
double TimeOnce(Decode decode) {
  const auto start = BenchClock::now();
  const bool ok = decode();
  const double ms = MillisecondsSince(start);
  return ok ? ms : -1.0;
}

void Compare(const char* label, const std::string& path) {
  std::vector<double> ours, theirs;
  const char* stbFailure = nullptr;
  bool same = true;
  for (int i = 0; i < kIterations; ++i) {
    RgbImage* image = nullptr;
    ours.push_back(TimeOnce([&] { return (image = LoadDibImage(path.c_str())) != nullptr; }));
    unsigned char* stb = nullptr;
    int w = 0, h = 0, n = 0;
    theirs.push_back(TimeOnce([&] { return (stb = stbi_load(path.c_str(), &w, &h, &n, 3)); }));
    if (stb == nullptr) stbFailure = stbi_failure_reason();
    if (image != nullptr && stb != nullptr && i == 0) {
      // stb delivers the top row first, LoadDibImage the bottom row.
      for (int r = 0; r < kSide && same; ++r) {
        same = std::memcmp(image->data + static_cast<size_t>(r) * kSide * 3,
                           stb + static_cast<size_t>(kSide - 1 - r) * kSide * 3, kSide * 3) == 0;
      }
    }
    if (image != nullptr) {
      std::free(image->data);
      std::free(image);
    }
    stbi_image_free(stb);
  }
  double oursMs = Median(ours);
  std::printf("%-28s LoadDibImage %8.3f ms", label, oursMs);
  if (stbFailure != nullptr) {
    std::printf("   stb_image: cannot decode it (\"%s\")\n", stbFailure);
    return;
  }
  double theirsMs = Median(theirs);
  std::printf("   stb_image %8.3f ms   stb/LoadDibImage %5.2fx   pixels %s\n", theirsMs,
              theirsMs / oursMs, same ? "identical" : "DIFFER");
}

}  // namespace

int main() {
  char dir[] = "/tmp/strivex-dib-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  std::string bgr = WriteFile(dir, "bgr24.bmp", MakeBgr24());
  std::string rle = WriteFile(dir, "rle8.bmp", MakeRle8());
  std::printf("median of %d decodes of each file, both decoders reading the file from disk\n",
              kIterations);
  Compare("1024x1024 24-bit", bgr);
  Compare("1024x1024 8-bit RLE8", rle);
  std::remove(bgr.c_str());
  std::remove(rle.c_str());
  rmdir(dir);
  return 0;
}
