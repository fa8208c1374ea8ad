// A whole file mapped read-only into memory, released when the object goes away.
#pragma once

#include <cstddef>

#include "image/byte_view.h"

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps an existing regular file. False for a missing or unreadable file, anything that is not a
  // regular file (a directory, a pipe), and an empty file, which has nothing to map.
  bool Open(const char* path);
  ByteView View() const { return ByteView{static_cast<const uint8_t*>(base), size}; }

 private:
  void* base = nullptr;
  size_t size = 0;
};
