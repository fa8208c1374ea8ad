// Arbitrary bytes through the scene reader, as the whole file: line reading, the object state
// machine, number scanning, names and materials, capacities.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>

#include "model/model_file.h"
#include "platform/text_line_reader.h"

namespace {

ModelLibrary* library = nullptr;

// Puts back into their constructed state the slots that a load may have touched.
void ResetTouchedSlots() {
  const int touched = library->objectCount < MaxObjects ? library->objectCount + 1 : MaxObjects;
  for (int i = 0; i < touched; ++i) {
    library->slots[i].~MeshObject();
    new (&library->slots[i]) MeshObject();
  }
  library->objectCount = 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::freopen("/dev/null", "w", stdout);
  library = new ModelLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TextLineReader stream;
  stream.OpenMemory(reinterpret_cast<const char*>(data), size);
  const int status = LoadModelStream(stream, *library);
  if (status != 0 && status != 3) __builtin_trap();
  for (int i = 0; i < library->objectCount; ++i) {
    if (library->slots[i].triangleCount > MaxTriangles) __builtin_trap();
  }
  ResetTouchedSlots();
  return 0;
}
