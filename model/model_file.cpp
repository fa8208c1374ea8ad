#include "model/model_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "model/object_scratch.h"
#include "platform/text_line_reader.h"

namespace {

// The status line alone leaves a new user guessing which file was meant and where it was looked for.
void ReportOpenFailure(const char* fileName, int error) {
  char directory[4096];
  const char* where = getcwd(directory, sizeof directory) ? directory : "the working directory";
  std::fprintf(stderr,
               "cannot open %s in %s: %s; run the viewer from the directory that holds the scene, such as build/\n",
               fileName, where, std::strerror(error));
}

}  // namespace

int LoadModelFile(const char* fileName) {
  TextLineReader stream;
  if (!stream.Open(fileName)) {
    const int error = errno;
    std::printf("Error opening file!\n");
    ReportOpenFailure(fileName, error);
    return 2;
  }
  const int status = LoadModelStream(stream, modelLibrary);
  stream.Close();
  return status;
}

int LoadModelStream(TextLineReader& stream, ModelLibrary& library) {
  // A library read into before (by a test or the fuzzer) keeps nothing of that load; at start-up
  // this finds every slot as construction left it.
  library.Clear();
  std::printf("Reading models... ");
  const std::unique_ptr<ObjectScratch> scratch(new (std::nothrow) ObjectScratch());
  if (!scratch) {
    std::printf("Error: not enough memory to read the scene\n");
    return 2;
  }
  while (!stream.Failed() && library.objectCount < MaxObjects) {
    MeshObject& slot = library.slots[library.objectCount];
    const int result = slot.ReadAscObject(stream, library.objectCount, *scratch);
    if (result == -1 && !stream.Failed()) {
      std::printf("Error when reading object #%d!\n", library.objectCount);
      return 3;
    }
    if (result == 0) {
      std::printf("%2d:%s; ", library.objectCount, slot.name);
      ++library.objectCount;
    }
  }
  // A file that stopped giving data is not a scene that ended: its rest is unknown.
  if (stream.ReadError()) {
    std::printf("Error reading file!\n");
    return 2;
  }
  std::printf("\n");
  return 0;
}
