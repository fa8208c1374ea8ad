// The cause behind each "Image file conversion error.": one 2 x 2 24-bit file, changed in one way
// per cause, decoded in memory. The user sees the one message for all of them (dib_loader_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "image/dib_memory.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& file, size_t offset, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(DibStatus, EachConversionErrorKeepsItsCause) {
  Bytes base(70, 0);  // file header, info header, two rows of 6 pixel bytes and 2 of padding
  base[0] = 'B', base[1] = 'M';
  for (auto [offset, value, bytes] : {std::tuple{2, 70u, 4}, {10, 54u, 4}, {14, 40u, 4}, {18, 2u, 4}, {22, 2u, 4},
                                      {26, 1u, 2}, {28, 24u, 2}})
    Put(base, offset, value, bytes);
  const auto bitFields = [](Bytes& f) { Put(f, 28, 16, 2), Put(f, 30, 3, 4); };
  const std::pair<DibStatus, std::function<void(Bytes&)>> cases[] = {
      {DibStatus::kOk, [](Bytes&) {}},
      {DibStatus::kHeaderCutShort, [](Bytes& f) { f.resize(40); }},
      {DibStatus::kMasksCutShort, [&](Bytes& f) { bitFields(f), f.resize(60); }},
      {DibStatus::kMaskNotContiguous, [&](Bytes& f) { bitFields(f), Put(f, 54, 0x7C00, 4), Put(f, 58, 0x0505, 4); }},
      {DibStatus::kColourTableCutShort, [](Bytes& f) { Put(f, 28, 8, 2); }},  // 256 colours
      {DibStatus::kPixelsBeyondFile, [](Bytes& f) { Put(f, 10, 71, 4); }},
      {DibStatus::kUnsupportedFormat, [](Bytes& f) { Put(f, 28, 2, 2); }},
      {DibStatus::kUnsupportedSize, [](Bytes& f) { Put(f, 18, 0, 4); }},
      {DibStatus::kTopDownRunLength, [](Bytes& f) { Put(f, 28, 8, 2), Put(f, 46, 1, 4), Put(f, 30, 1, 4), Put(f, 22, -2u, 4); }},
      {DibStatus::kPixelsCutShort, [](Bytes& f) { f.resize(67); }},
  };
  for (const auto& [expected, change] : cases) {
    Bytes file = base;
    change(file);
    RgbImage* image = nullptr;
    const DibStatus status = DecodeDibMemory(ByteView{file.data(), file.size()}, &image);
    EXPECT_EQ(int(status), int(expected));
    EXPECT_EQ(IsConversionError(status), status != DibStatus::kOk) << int(expected);
    if (image != nullptr) std::free(image->data), std::free(image);
  }
}

}  // namespace
