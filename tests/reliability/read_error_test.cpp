// A scene file that opens but cannot be read is a failed load (status 2), not an empty scene: the
// line reader remembers a read error apart from the end of the file, and the loader reports it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "model/model_file.h"
#include "platform/text_line_reader.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"

namespace {

TEST(SceneReadError, AFileThatCannotBeReadIsNotAnEmptyScene) {
  ScratchDir scratch;
  // A process's own memory opens as a file; reading it at offset 0 fails (nothing is mapped there).
  const std::string unreadable = scratch.File("unreadable.asc");
  ASSERT_EQ(symlink("/proc/self/mem", unreadable.c_str()), 0);
  const std::string ending = scratch.File("ending.asc");
  std::FILE* file = std::fopen(ending.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs(
      "Named object: \"Tri\"\nTri-mesh, Vertices: 3  Faces: 1\nVertex list:\nVertex 0:  X: 0 Y: 0 Z: 0\n"
      "Vertex 1:  X: 1 Y: 0 Z: 0\nVertex 2:  X: 0 Y: 0 Z: 1\nFace list:\nFace 0: A:0 B:1 C:2\n",
      file);
  std::fclose(file);

  TextLineReader reader;
  ASSERT_TRUE(reader.Open(unreadable.c_str()));
  EXPECT_STREQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.Failed());
  EXPECT_TRUE(reader.ReadError());
  ASSERT_TRUE(reader.Open(ending.c_str()));  // reopening forgets the error
  EXPECT_FALSE(reader.ReadError());
  while (!reader.Failed()) reader.ReadLine();
  EXPECT_FALSE(reader.ReadError()) << "the end of a file is no read error";

  testing::internal::CaptureStdout();
  const int unreadableStatus = LoadModelFile(unreadable.c_str());
  const int endingStatus = LoadModelFile(ending.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Reading models... Error reading file!\nReading models...  0:Tri; \n");
  EXPECT_EQ(unreadableStatus, 2);
  EXPECT_EQ(endingStatus, 0);
  ResetModelLibrary();
}

}  // namespace
