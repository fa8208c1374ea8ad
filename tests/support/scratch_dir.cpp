// Scratch directories and working-directory scopes.
#include "support/scratch_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/strivex-test-XXXXXX";
  if (mkdtemp(pattern) != nullptr) path = pattern;
}

ScratchDir::~ScratchDir() {
  if (path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

bool ScratchDir::MakeDir(const std::string& relative) const { return mkdir(File(relative).c_str(), 0755) == 0; }

WorkingDirectoryScope::WorkingDirectoryScope(const std::string& directory) {
  std::error_code error;
  previous = std::filesystem::current_path(error).string();
  std::filesystem::current_path(directory, error);
}

WorkingDirectoryScope::~WorkingDirectoryScope() {
  std::error_code ignored;
  std::filesystem::current_path(previous, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0;
}
