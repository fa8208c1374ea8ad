#include <cstdio>

#include "model/model_file.h"
#include "platform/text_line_reader.h"

int LoadModelFile(const char* fileName) {
  TextLineReader stream;
  if (!stream.Open(fileName)) {
    std::printf("Error opening file!\n");
    return 2;
  }
  const int status = LoadModelStream(stream, modelLibrary);
  stream.Close();
  return status;
}
