// libFuzzer target for the bitmap loader. Each input is loaded through LoadDibImage from a file, as
// the program loads its textures, and also decoded straight from libFuzzer's exactly sized buffer:
// a mapped file hides a read past its end up to the end of the last page, the heap buffer does
// not. Both routes must agree.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "image/dib_loader.h"
#include "image/dib_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An anonymous in-memory file, reopened by name for every input and gone with the process.
  static const int fd = memfd_create("strivex-fuzz-dib", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  RgbImage* loaded = LoadDibImage(path.c_str());
  RgbImage* decoded = nullptr;
  bool ok = DecodeDibMemory(ByteView{data, size}, &decoded) == DibStatus::kOk;
  if ((loaded != nullptr) != ok ||
      (ok && (loaded->width != decoded->width || loaded->height != decoded->height ||
              std::memcmp(loaded->data, decoded->data, size_t(loaded->width) * loaded->height * 3) != 0)))
    __builtin_trap();
  for (RgbImage* image : {loaded, decoded})
    if (image != nullptr) std::free(image->data), std::free(image);
  return 0;
}
