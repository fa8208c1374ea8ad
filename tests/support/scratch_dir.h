// Scratch directories under /tmp for tests that write files, and a scope that runs a test inside
// one (the viewer's file names are relative to the working directory).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/strivex-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path = pattern;
  }
  ~ScratchDir() {  // removes everything below it
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path; }
  std::string File(const std::string& relative) const { return path + "/" + relative; }
  bool MakeDir(const std::string& relative) const {
    std::error_code error;
    return std::filesystem::create_directory(File(relative), error);
  }

 private:
  std::string path;
};

// Changes the working directory for its lifetime.
class WorkingDirectoryScope {
 public:
  explicit WorkingDirectoryScope(const std::string& directory) : previous(std::filesystem::current_path(error)) {
    std::filesystem::current_path(directory, error);
  }
  ~WorkingDirectoryScope() { std::filesystem::current_path(previous, error); }

 private:
  std::error_code error;
  std::filesystem::path previous;
};

// Whole file contents; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}
