#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/model_file.h"
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
