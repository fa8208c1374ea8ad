// A read-only window on a block of bytes (a mapped image file) with little-endian getters that
// never look past its end. The headers of a bitmap file sit at any byte offset, so every value is
// assembled from single bytes rather than read through a wider pointer.
#pragma once

#include <cstddef>
#include <cstdint>

struct ByteView {
  const uint8_t* data = nullptr;
  size_t size = 0;

  // True when count bytes starting at offset lie inside the view (no overflow for any arguments).
  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= size && count <= size - offset;
  }

  // The bytes from offset to the end; empty when offset lies beyond the end.
  ByteView From(uint64_t offset) const {
    if (offset >= size) return ByteView{data + size, 0};
    return ByteView{data + offset, size - static_cast<size_t>(offset)};
  }

  // At most count bytes from the start.
  ByteView Prefix(uint64_t count) const {
    return ByteView{data, count < size ? static_cast<size_t>(count) : size};
  }

  // Values that do not lie wholly inside the view read as 0; callers check Has() first wherever
  // a missing value must be reported rather than defaulted.
  uint8_t U8(uint64_t offset) const { return Has(offset, 1) ? data[offset] : 0; }
  uint16_t U16(uint64_t offset) const {
    if (!Has(offset, 2)) return 0;
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
  }
  uint32_t U32(uint64_t offset) const {
    if (!Has(offset, 4)) return 0;
    return static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
           (static_cast<uint32_t>(data[offset + 2]) << 16) |
           (static_cast<uint32_t>(data[offset + 3]) << 24);
  }
  int32_t I32(uint64_t offset) const { return static_cast<int32_t>(U32(offset)); }
};
