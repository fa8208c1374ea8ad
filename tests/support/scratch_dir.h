// Scratch directories under /tmp for tests that write files, and a scope that runs a test inside
// one (the viewer's file names are relative to the working directory).
#pragma once

#include <filesystem>
#include <string>

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();  // removes everything below it
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
std::string ReadWholeFile(const std::string& path);
inline bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}
