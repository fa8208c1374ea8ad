// Arbitrary bytes through the scene reader, as the whole file: line reading, the object state
// machine, number scanning, names and materials, capacities. The same bytes are read from memory
// and through the file path, which finds most lines in its read buffer in place: both must give
// the same lines and the same objects.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/model_file.h"
#include "platform/text_line_reader.h"

// The program's table, which the viewer defines beside its other tables and LoadModelFile fills.
ModelLibrary modelLibrary;
static ModelLibrary fromFile;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::freopen("/dev/null", "w", stdout);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An anonymous in-memory file, reopened by name for every read and gone with the process.
  static const int fd = memfd_create("strivex-fuzz-scene", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  TextLineReader memory, file;
  for (bool lines : {true, false}) {
    memory.OpenMemory(reinterpret_cast<const char*>(data), size);
    if (!file.Open(path.c_str())) __builtin_trap();
    while (lines && !(memory.Failed() && file.Failed())) {
      const char *a = memory.ReadLine(), *b = file.ReadLine();
      const size_t length = memory.LineLength();
      if (memory.Failed() != file.Failed() || file.LineLength() != length || std::memcmp(a, b, length + 1) != 0)
        __builtin_trap();
    }
  }
  const int status = LoadModelStream(memory, modelLibrary);
  if ((status != 0 && status != 3) || LoadModelStream(file, fromFile) != status ||
      fromFile.objectCount != modelLibrary.objectCount)
    __builtin_trap();
  // Equal lines give equal objects unless the reader sizes them differently on the two paths.
  for (int i = 0; i < modelLibrary.objectCount + 1 && i < MaxObjects; ++i) {
    const MeshObject &a = modelLibrary.slots[i], &b = fromFile.slots[i];
    if (a.triangleCount != b.triangleCount || std::strcmp(a.name, b.name) != 0) __builtin_trap();
  }
  return 0;
}
