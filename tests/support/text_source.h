// The scene's text handed to a line reader either way the reader takes it: from memory, or through
// its file path from an anonymous in-memory file holding the same bytes.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "platform/text_line_reader.h"

inline bool OpenText(TextLineReader& reader, const std::string& data, bool fromFile) {
  if (!fromFile) return reader.OpenMemory(data.data(), data.size()), true;
  const int fd = memfd_create("strivex-text", 0);  // the reader opens a descriptor of its own
  const bool ok = write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size()) &&
                  reader.Open(("/proc/self/fd/" + std::to_string(fd)).c_str());
  close(fd);
  return ok;
}
