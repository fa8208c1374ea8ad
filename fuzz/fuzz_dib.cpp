// libFuzzer target for the bitmap loader. Each input is written to one fixed file per process in
// /dev/shm and loaded through LoadDibImage, as the program loads its textures. The same bytes are
// also decoded straight from libFuzzer's exactly sized buffer: a mapped file hides a read past
// its end up to the end of the last page, the heap buffer does not. Both routes must agree.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/dib_loader.h"
#include "image/dib_memory.h"

namespace {

// The input file, removed when the process exits normally.
const std::string& InputPath() {
  struct InputFile {
    std::string path =
        "/dev/shm/strivex-fuzz-dib-" + std::to_string(static_cast<long>(getpid())) + ".bmp";
    ~InputFile() { unlink(path.c_str()); }
  };
  static const InputFile file;
  return file.path;
}

void FreeImage(RgbImage* image) {
  if (image == nullptr) return;
  std::free(image->data);
  std::free(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) return 0;
  bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  RgbImage* loaded = LoadDibImage(InputPath().c_str());

  RgbImage* decoded = nullptr;
  DibStatus status = DecodeDibMemory(ByteView{data, size}, &decoded);
  if (size > 0) {
    if ((loaded == nullptr) != (status != DibStatus::kOk)) __builtin_trap();
    if (loaded != nullptr &&
        (loaded->width != decoded->width || loaded->height != decoded->height ||
         std::memcmp(loaded->data, decoded->data,
                     static_cast<size_t>(loaded->width) * loaded->height * 3) != 0)) {
      __builtin_trap();
    }
  }
  FreeImage(loaded);
  FreeImage(decoded);
  return 0;
}
