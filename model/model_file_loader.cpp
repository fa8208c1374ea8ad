#include <cstdio>

#include "model/mesh_closure.h"
#include "model/model_file.h"
#include "platform/text_line_reader.h"

int LoadModelStream(TextLineReader& stream, ModelLibrary& library) {
  library.objectCount = 0;
  std::printf("Reading models... ");
  while (!stream.Failed() && library.objectCount < MaxObjects) {
    MeshObject& slot = library.slots[library.objectCount];
    const int result = slot.ReadAscObject(stream, library.objectCount);
    if (result == -1 && !stream.Failed()) {
      std::printf("Error when reading object #%d!\n", library.objectCount);
      return 3;
    }
    if (result == 0) {
      slot.closedOutward = IsClosedOutward(slot);
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
