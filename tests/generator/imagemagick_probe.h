// ImageMagick as an independent BMP reader for the generator tests: the pixels it decodes from a
// file, and the size it reports.
#pragma once

#include <cstdio>
#include <string>

namespace generator_test {

// Standard output of a shell command; `ok` is false when it did not run or did not exit with 0.
inline std::string CommandOutput(const std::string& command, bool& ok) {
  std::string out;
  ok = false;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ok = pclose(pipe) == 0;
  return out;
}

// R, G, B bytes, top row first, as ImageMagick decodes the file.
inline std::string DecodedRgb(const std::string& path, bool& ok) {
  return CommandOutput("convert '" + path + "' -depth 8 rgb:- 2>/dev/null", ok);
}

// "WIDTH HEIGHT" as identify reports it.
inline std::string IdentifiedSize(const std::string& path, bool& ok) {
  return CommandOutput("identify -format '%w %h' '" + path + "' 2>/dev/null", ok);
}

}  // namespace generator_test
