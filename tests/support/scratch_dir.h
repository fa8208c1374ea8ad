// Scratch directories under /tmp for tests that write files, and a scope that runs a test inside
// one (the viewer's file names are relative to the working directory).
#pragma once

#include <string>

class ScratchDir {
 public:
  ScratchDir();
  // Removes the directory and everything below it.
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path; }
  std::string File(const std::string& relative) const { return path + "/" + relative; }
  // Creates a directory below the scratch directory.
  bool MakeDir(const std::string& relative) const;

 private:
  std::string path;
};

// Changes the working directory for its lifetime.
class WorkingDirectoryScope {
 public:
  explicit WorkingDirectoryScope(const std::string& directory);
  ~WorkingDirectoryScope();
  WorkingDirectoryScope(const WorkingDirectoryScope&) = delete;
  WorkingDirectoryScope& operator=(const WorkingDirectoryScope&) = delete;

 private:
  std::string previous;
};

// Whole file contents; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
