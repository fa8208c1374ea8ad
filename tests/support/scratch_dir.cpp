// Scratch directories.
#include "support/scratch_dir.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <system_error>

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/strivex-test-XXXXXX";
  if (mkdtemp(pattern) != nullptr) path = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
