// Arbitrary bytes through the scene reader, as the whole file: line reading, the object state
// machine, number scanning, names and materials, capacities.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "model/model_file.h"
#include "platform/text_line_reader.h"

// The program's table, which the viewer defines beside its other tables and LoadModelFile fills.
ModelLibrary modelLibrary;
static ModelLibrary* const library = &modelLibrary;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::freopen("/dev/null", "w", stdout);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TextLineReader stream;
  stream.OpenMemory(reinterpret_cast<const char*>(data), size);
  const int status = LoadModelStream(stream, *library);
  if (status != 0 && status != 3) __builtin_trap();
  return 0;
}
