// The scene's text handed to a line reader either way the reader takes it: from memory, or through
// its file path from an anonymous in-memory file holding the same bytes.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "platform/text_line_reader.h"

inline bool OpenText(TextLineReader& reader, const std::string& data, bool fromFile) {
  if (!fromFile) {
    reader.OpenMemory(data.data(), data.size());
    return true;
  }
  const int fd = memfd_create("strivex-text", 0);
  const bool ok = fd >= 0 && write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size()) &&
                  reader.Open(("/proc/self/fd/" + std::to_string(fd)).c_str());
  if (fd >= 0) close(fd);  // the reader holds a descriptor of its own
  return ok;
}
