// LoadDibImage against ImageMagick's decoding of the files ImageMagick writes, on forms built byte
// by byte that ImageMagick does not write, and on the files it must refuse with exactly one
// "Error: " line each, their cause kept apart in the status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "image/dib_loader.h"
#include "image/dib_memory.h"
#include "support/scratch_dir.h"

// Hand-made files name only their leading fields; the rest keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Bytes = std::vector<uint8_t>;

void WriteFile(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

std::string Shell(const std::string& command, bool* ok) {
  std::string out(1 << 16, '\0');
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  out.resize(pipe != nullptr ? std::fread(out.data(), 1, out.size(), pipe) : 0);
  *ok = pipe != nullptr && pclose(pipe) == 0;
  return out;
}

// LoadDibImage on the file: its pixels (none: empty) and what it wrote to standard error. The
// same bytes decoded by DecodeDibMemory from an exactly sized heap block, where the address
// sanitizer sees any read past the end (a mapped file hides one up to the end of its page), must
// give the same pixels; its status keeps the cause the user is not shown.
Bytes Load(const Bytes& file, std::string* errors, int* width = nullptr, int* height = nullptr,
           DibStatus* status = nullptr) {
  ScratchDir dir;
  WriteFile(dir.File("loaded.bmp"), file);
  Bytes exact(file), pixels[2];
  RgbImage* images[2] = {nullptr, nullptr};
  testing::internal::CaptureStderr();
  images[0] = LoadDibImage(dir.File("loaded.bmp").c_str());
  *errors = testing::internal::GetCapturedStderr();
  const DibStatus decoded = DecodeDibMemory(ByteView{exact.data(), exact.size()}, &images[1]);
  if (status != nullptr) *status = decoded;
  for (int i : {0, 1}) {
    if (images[i] == nullptr) continue;
    if (width != nullptr) *width = images[i]->width, *height = images[i]->height;
    pixels[i].assign(images[i]->data, images[i]->data + 3 * images[i]->width * images[i]->height);
    std::free(images[i]->data), std::free(images[i]);
  }
  EXPECT_EQ(pixels[0], pixels[1]);
  return pixels[0];
}

// What ImageMagick writes from the 37-pixel-wide picture; the narrower ones hold too few colours
// for 8 bits per pixel and come out in a smaller palette depth, which is tested as written.
// 124-byte bit-field headers are loaded with their size set to 40: the masks sit where a 40-byte
// header keeps them. plain555 also clears the compression, for the default 16-bit layout.
const struct { int headerSize, bitCount, compression; const char* arguments; bool plain555 = false; } kFormats[] = {
    {40, 24, 0, "BMP3:"}, {40, 32, 0, "-alpha on -define bmp3:alpha=true BMP3:"}, {40, 8, 1, "-colors 200 BMP3:"},
    {40, 8, 0, "-colors 200 -compress None BMP3:"}, {40, 4, 0, "-colors 16 -compress None BMP3:"},
    {40, 1, 0, "-colors 2 BMP3:"}, {12, 24, 0, "BMP2:"}, {12, 8, 0, "-colors 200 BMP2:"}, {12, 4, 0, "-colors 16 BMP2:"},
    {12, 1, 0, "-colors 2 BMP2:"}, {124, 16, 3, "-define bmp:subtype=RGB555 BMP:"},
    {124, 16, 3, "-define bmp:subtype=RGB565 BMP:"}, {124, 32, 3, "-alpha on BMP:"},
    {124, 16, 3, "-define bmp:subtype=RGB555 BMP:", true},
};

// Odd widths put 1 to 3 padding bytes (and partial bytes for 1 and 4 bits) at every row end.
TEST(DibLoader, DecodesWhatImageMagickWritesAsImageMagickDoes) {
  bool ok = false;
  ScratchDir dir;
  const std::string source = dir.File("source.ppm"), written = dir.File("written.bmp");
  for (int width : {1, 2, 3, 5, 37}) {
    const int height = width == 37 ? 23 : (width * 7) % 11 + 2;
    std::string picture = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n", errors;
    for (int i = 0, x, y; i < 3 * width * height; ++i)
      x = i / 3 % width, y = i / 3 / width, picture += char(x * 131 + y * 71 + x * y * 29 + i % 3 * 97);
    WriteFile(source, Bytes(picture.begin(), picture.end()));
    for (const auto& format : kFormats) {
      SCOPED_TRACE(std::string(format.arguments) + " width " + std::to_string(width));
      Shell("convert " + source + " +dither " + format.arguments + written, &ok);  // dithering is slow
      std::string text = ReadWholeFile(written), top = Shell("convert " + written + " -depth 8 rgb:-", &ok), expected;
      ASSERT_TRUE(ok);
      ASSERT_GE(text.size(), 34u);
      ASSERT_EQ(top.size(), 3u * width * height);
      Bytes file(text.begin(), text.end());
      std::vector<int> header{file[14], file[file[14] == 12 ? 24 : 28], file[14] == 12 ? 0 : file[30]};
      ASSERT_EQ(header, width < 37 ? header : std::vector<int>({format.headerSize, format.bitCount, format.compression}));
      if (file[14] == 124) file[14] = 40;
      if (format.plain555) {
        ASSERT_EQ(Bytes(file.begin() + 54, file.begin() + 66), (Bytes{0, 0x7C, 0, 0, 0xE0, 3, 0, 0, 0x1F, 0, 0, 0}));
        file[30] = 0;
      }
      for (int row = height - 1; row >= 0; --row) expected += top.substr(3 * width * row, 3 * width);
      int w = 0, h = 0;
      EXPECT_EQ(Load(file, &errors, &w, &h), Bytes(expected.begin(), expected.end()));
      EXPECT_EQ(errors, "");
      EXPECT_EQ(std::make_pair(w, h), std::make_pair(width, height));
    }
  }
}

// A hand-made file; the pixel offset is the end of the colour table unless pixelOffset is set.
struct Dib {
  int32_t width = 3, height = 2;
  uint16_t bitCount = 24;
  uint32_t compression = 0, sizeImage = 0, colorsUsed = 0, headerSize = 40;
  bool fileHeader = true;
  Bytes table;  // as stored: B,G,R[,0] per entry
  std::vector<uint32_t> masks;
  Bytes pixels = Bytes(24, 0x5A);
  int64_t pixelOffset = -1;

  template <typename Change>
  Dib With(Change change) const {
    Dib d = *this;
    change(d);
    return d;
  }
  Bytes File() const {
    size_t start = fileHeader ? 14 : 0, end = start + headerSize + 4 * masks.size();
    Bytes b(start + 4 + std::max(headerSize, 36u) + 4 * masks.size(), 0);
    auto put = [&](size_t at, uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    if (fileHeader) b[0] = 'B', b[1] = 'M', put(10, pixelOffset >= 0 ? pixelOffset : end + table.size(), 4);
    put(start, headerSize, 4);
    const uint32_t core[] = {uint32_t(width), uint32_t(height), 1, bitCount};
    const uint32_t info[] = {uint32_t(width), uint32_t(height), 1u | bitCount << 16, compression, sizeImage, 0, 0, colorsUsed};
    for (int i = 0; i < (headerSize == 12 ? 4 : 8); ++i)
      headerSize == 12 ? put(start + 4 + 2 * i, core[i], 2) : put(start + 4 + 4 * i, info[i], 4);
    for (size_t i = 0; i < masks.size(); ++i) put(start + headerSize + 4 * i, masks[i], 4);
    b.resize(end);
    b.insert(b.end(), table.begin(), table.end());
    b.resize(std::max<size_t>(b.size(), pixelOffset >= 0 ? pixelOffset : 0));
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
  }
};

// One pixel per character: hex digit i is palette colour i, '.' is black.
Bytes Pal(const std::string& pixels) {
  Bytes out;
  for (char c : pixels) {
    int i = c == '.' ? -1 : std::stoi(std::string(1, c), nullptr, 16);
    out.insert(out.end(), {uint8_t(i < 0 ? 0 : i * 16), uint8_t(i < 0 ? 0 : 255 - i * 16), uint8_t(i + 1)});
  }
  return out;
}
Bytes Table(int entries, int entryBytes = 4) {  // stored B,G,R[,0]
  Bytes t;
  for (int i = 0, c, k; i < entries * entryBytes; ++i)
    c = i / entryBytes % 16, k = i % entryBytes, t.push_back(k == 0 ? c + 1 : k == 1 ? 255 - c * 16 : k == 2 ? c * 16 : 0);
  return t;
}
Dib Make(uint16_t bits, uint32_t compression, int32_t width, int32_t height, Bytes pixels) {
  return Dib{width, height, bits, compression, 0, 16, 40, true, Table(16), {}, pixels};
}

TEST(DibLoader, DecodesHandMadeForms) {
  auto fields = [](Dib& d) { d.table.clear(), d.colorsUsed = 0; };  // bit fields: no colour table
  const struct { const char* name; Dib dib; Bytes expected; int cut = 0; } cases[] = {
      {"run-length 4: runs, literal, delta, end of bitmap",
       Make(4, 2, 7, 4, {9, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 2, 0x89, 0, 0, 2, 0xAB, 0, 2, 3, 1, 2, 0xCD, 0, 1, 5, 15}),
       Pal("1212121" "3456789" "AB....." ".....CD")},
      {"run-length 8: overlong run, index past the table, move past the last row",
       Make(8, 1, 4, 3, {6, 1, 0, 0, 1, 2, 0, 3, 2, 5, 1, 0, 0, 0, 0, 2, 1, 5, 4, 1}).With([](Dib& d) {
         d.colorsUsed = 3, d.table.resize(12);
       }), Pal("1111" "22.1" "....")},
      {"run-length 8: literal cut short", Make(8, 1, 2, 1, {0, 4, 1, 1}), Pal("..")},
      {"run-length 8: odd trailing byte", Make(8, 1, 3, 1, {2, 1, 3}), Pal("11.")},
      {"run-length 8: the widest image", Make(8, 1, 16384, 1, {0, 1}), Bytes(3 * 16384, 0)},
      {"run-length 8: image size ends the stream", Make(8, 1, 4, 1, {2, 1, 2, 2}).With([](Dib& d) { d.sizeImage = 2; }),
       Pal("11..")},
      {"bit fields 4-4-4, top-down",
       Make(16, 3, 3, -2, {0, 0x0F, 0xF0, 0, 0x0F, 0, 0, 0, 0x23, 1, 0xFF, 0xFF, 0, 0, 0, 0}).With([&](Dib& d) {
         fields(d), d.masks = {0x0F00, 0x00F0, 0x000F};
       }),
       {17, 34, 51, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}},
      {"bit fields 10-10-0 in 32 bits", Make(32, 3, 2, 1, {0xFF, 0x03, 0xF8, 0x3F, 0x00, 0x0C, 0xF0, 0x0F}).With([&](Dib& d) {
         fields(d), d.masks = {0x3FF00000, 0x000FFC00, 0};
       }), {255, 128, 0, 63, 0, 0}},
      {"1 bit, 5 colours used, no file header",
       Make(1, 0, 3, 1, {0xA0, 0, 0, 0}).With([](Dib& d) { d.fileHeader = false, d.colorsUsed = 5, d.table.resize(8); }),
       Pal("101")},
      {"8 bits, only the low 16 bits of colours used, no file header",
       Make(8, 0, 3, 1, {15, 1, 16, 0}).With([](Dib& d) { d.fileHeader = false, d.colorsUsed = 0x10010; }), Pal("F1.")},
      // Colours used 0 means the whole palette of the depth (for 1 bit: the files ImageMagick writes);
      // the last entry is the one to lose.
      {"4 bits, colours used 0 means 16", Make(4, 0, 3, 1, {0xF1, 0x20, 0, 0}).With([](Dib& d) { d.colorsUsed = 0; }),
       Pal("F12")},
      {"8 bits, colours used 0 means 256, no file header",
       Make(8, 0, 3, 1, {255, 17, 2, 0}).With([](Dib& d) { d.fileHeader = false, d.colorsUsed = 0, d.table = Table(256); }),
       Pal("F12")},
      {"core header: 16-bit width, 3-byte entries", Make(1, 0, 258, 1, Bytes(36, 0)).With([](Dib& d) {
         d.headerSize = 12, d.table = Table(2, 3), d.pixels[0] = 0x80, d.pixels[32] = 0x40;
       }), Pal("1" + std::string(256, '0') + "1")},
      {"last row without its padding", Dib(), Bytes(18, 0x5A), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file = c.dib.File();
    file.resize(file.size() - c.cut);
    std::string errors;
    EXPECT_EQ(Load(file, &errors), c.expected);
    EXPECT_EQ(errors, "");
  }
}

TEST(DibLoader, RefusesBadFilesWithOneMessageAndKeepsTheCause) {
  const std::string unknown = "Error: Unknown DIB file format.\n", conversion = "Error: Image file conversion error.\n";
  using S = DibStatus;
  Bytes whole = Dib().File(), far = whole;
  far[10] = static_cast<uint8_t>(far.size() + 1);
  std::vector<std::pair<Bytes, S>> cases = {
      {{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40}, S::kUnknownFormat}, {{40, 0, 0}, S::kUnknownFormat},
      {Bytes(whole.begin(), whole.begin() + 44), S::kHeaderCutShort},
      {Bytes(whole.begin(), whole.end() - 4), S::kPixelsCutShort},  // last row
      {far, S::kPixelsBeyondFile},
      {Dib{3, 2, 8}.With([](Dib& d) { d.table.assign(64, 7), d.pixels.resize(8), d.pixelOffset = 14 + 40 + 64; }).File(),
       S::kColourTableCutShort},  // 256 entries expected, 16 present
      {Dib{3, 2, 16, 3}.With([](Dib& d) { d.pixels.clear(), d.pixelOffset = 54; }).File(), S::kMasksCutShort},
      {Dib{3, 2, 16, 3}.With([](Dib& d) { d.masks = {0x7C00, 0x0360, 0x001F}; }).File(), S::kMaskNotContiguous},
  };
  for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) cases.push_back({Dib{3, 2, 24, 0, 0, 0, size}.File(), S::kUnknownFormat});
  // Found by fuzzing: a depth of 0 or 2 bits with a large colour count read past the table.
  for (uint16_t bits : {0, 2}) cases.push_back({Dib{3, 2, bits, 0, 0, 511, 40, true, Bytes(4 * 511, 0x33)}.File(), S::kUnsupportedFormat});
  const std::pair<std::vector<Dib>, S> refused[] = {
      {{Dib{0, 2}, Dib{3, 0}, Dib{-3, 2}, Dib{100000, 100000}, Dib{16385, 1, 8, 1}, Dib{8192, 8193, 8, 1},
        Dib{3, INT32_MIN}}, S::kUnsupportedSize},
      {{Dib{3, 2, 2}, Dib{3, 2, 0}, Dib{3, 2, 64}, Dib{3, 2, 24, 4}, Dib{3, 2, 24, 5}, Dib{3, 2, 4, 1}, Dib{3, 2, 8, 2}},
       S::kUnsupportedFormat},
      {{Dib{3, -2, 8, 1}}, S::kTopDownRunLength}, {{Dib{4000, 4000}}, S::kPixelsCutShort},
      {{Dib{3, 2, 24, 3}}, S::kMaskNotContiguous}};  // the masks are read before the depth is judged
  for (const auto& [dibs, status] : refused)
    for (const Dib& d : dibs) cases.push_back({d.With([](Dib& e) { e.colorsUsed = 1, e.table.assign(4, 0); }).File(), status});
  std::string errors;
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    S status = S::kOk;
    EXPECT_TRUE(Load(cases[i].first, &errors, nullptr, nullptr, &status).empty());
    EXPECT_EQ(int(status), int(cases[i].second));
    EXPECT_EQ(errors, cases[i].second == S::kUnknownFormat ? unknown : conversion);
  }
  // Files that cannot be opened; a name too long for the 256-character message is cut short.
  ScratchDir dir;
  WriteFile(dir.File("empty.bmp"), {});
  dir.MakeDir("folder.bmp");
  for (std::string name : {dir.File("missing.bmp"), dir.File("empty.bmp"), dir.File("folder.bmp"),
                           dir.File(std::string(400, 'n') + ".bmp")}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadDibImage(name.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Failed to open DIB file " + name.substr(0, 229) + ".\n");
  }
}

}  // namespace
