// The written scene: its layout line by line as the viewer's strict reader will take it, its
// numbers against the meshes it came from, what the viewer's own loader makes of it, and the same
// bytes from every run.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "generator/mesh_checks.h"
#include "model/model_file.h"
#include "model/model_library.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"
#include "tools/robot_generator/robot_parts.h"
#include "tools/robot_generator/scene_output.h"
#include "tools/robot_generator/textures.h"

namespace {

using namespace robogen;

// One generated scene for the tests here, written once into a scratch directory that goes when
// the test program ends.
struct Generated {
  Generated() {
    char error[256] = "";
    written = WriteScene(dir.Path().c_str(), summary, error, sizeof error);
    writeError = error;
    built = BuildRobot(robot);
    parsed = generator_test::ParseScene(ReadWholeFile(dir.File(kSceneFileName)), objects, problem);
  }
  ScratchDir dir;
  Robot robot;
  SceneSummary summary;
  bool written = false, built = false, parsed = false;
  std::string writeError, problem;
  std::vector<generator_test::IndexedMesh> objects;
};

const Generated& Scene() {
  static Generated scene;
  return scene;
}

TEST(GeneratorSceneFile, FileReadsBackLineByLineAsTheMeshesThatWereWritten) {
  const Generated& g = Scene();
  ASSERT_TRUE(g.written) << g.writeError;
  ASSERT_TRUE(g.built);
  ASSERT_TRUE(g.parsed) << g.problem;
  ASSERT_EQ(g.objects.size(), static_cast<size_t>(kRobotObjectCount));
  EXPECT_EQ(g.summary.objects, kRobotObjectCount);
  int total = 0;
  for (int k = 0; k < kRobotObjectCount; ++k) {
    const Mesh& mesh = g.robot.objects[k];
    const generator_test::IndexedMesh& got = g.objects[k];
    SCOPED_TRACE(mesh.Name());
    EXPECT_EQ(got.name, mesh.Name());
    ASSERT_EQ(got.vertices.size(), static_cast<size_t>(mesh.VertexCount()));
    ASSERT_EQ(got.faces.size(), static_cast<size_t>(mesh.FaceCount()));
    total += mesh.FaceCount();
    double worst = 0.0;
    for (int i = 0; i < mesh.VertexCount(); ++i) {
      const Point3& p = mesh.VertexAt(i);
      worst = std::max({worst, std::fabs(got.vertices[i][0] - p.x),
                        std::fabs(got.vertices[i][1] - p.y), std::fabs(got.vertices[i][2] - p.z)});
    }
    EXPECT_LE(worst, 5.0000001e-7);
    for (int i = 0; i < mesh.FaceCount(); ++i) {
      const Face& f = mesh.FaceAt(i);
      ASSERT_EQ(got.faces[i], (generator_test::Triangle{f.a, f.b, f.c}));
      ASSERT_EQ(got.materials[i], MaterialName(f.material));
    }
    // Six decimals must not have collapsed or turned any face.
    generator_test::Closure c = generator_test::CheckClosure(got);
    EXPECT_TRUE(c.Closed());
    EXPECT_EQ(c.degenerateFaces, 0);
    EXPECT_TRUE(c.AllOutward());
  }
  EXPECT_EQ(g.summary.triangles, total);
}

TEST(GeneratorSceneFile, SolesAreAtTheirPlaneInTheFile) {
  const Generated& g = Scene();
  ASSERT_TRUE(g.parsed) << g.problem;
  for (int first : {0, 9}) {
    double low = 1e9;
    for (int k = first; k < first + 5; ++k)
      for (const auto& v : g.objects[k].vertices) low = std::min(low, v[2]);
    EXPECT_NEAR(low, kSoleZ, 1e-6);
  }
}

TEST(GeneratorSceneFile, ViewersLoaderReadsAllObjectsSilently) {
  const Generated& g = Scene();
  ASSERT_TRUE(g.written) << g.writeError;
  ResetModelLibrary();
  testing::internal::CaptureStdout();
  int status = LoadModelFile(g.dir.File(kSceneFileName).c_str());
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0);
  ASSERT_EQ(modelLibrary.objectCount, kRobotObjectCount);
  std::string expected = "Reading models... ";
  for (int k = 0; k < kRobotObjectCount; ++k) {
    char entry[96];
    std::snprintf(entry, sizeof entry, "%2d:%s; ", k, g.robot.objects[k].Name());
    expected += entry;
  }
  EXPECT_EQ(console, expected + "\n");
  for (int k = 0; k < kRobotObjectCount; ++k) {
    const MeshObject& loaded = modelLibrary.slots[k];
    const Mesh& mesh = g.robot.objects[k];
    SCOPED_TRACE(mesh.Name());
    ASSERT_EQ(loaded.triangleCount, mesh.FaceCount());
    double volume = 0.0;
    for (int t = 0; t < loaded.triangleCount; ++t) {
      ASSERT_EQ(loaded.materials[t], static_cast<int>(mesh.FaceAt(t).material));
      generator_test::Vertex a{loaded.cornerX[t][0], loaded.cornerY[t][0], loaded.cornerZ[t][0]};
      generator_test::Vertex b{loaded.cornerX[t][1], loaded.cornerY[t][1], loaded.cornerZ[t][1]};
      generator_test::Vertex c{loaded.cornerX[t][2], loaded.cornerY[t][2], loaded.cornerZ[t][2]};
      volume += generator_test::DotOf(a, generator_test::CrossOf(b, c)) / 6.0;
    }
    EXPECT_NEAR(volume, SignedVolume(mesh), 1e-3 * std::fabs(SignedVolume(mesh)) + 1e-6);
  }
  ResetModelLibrary();
}

TEST(GeneratorSceneFile, EveryRunWritesTheSameBytes) {
  const Generated& g = Scene();
  ASSERT_TRUE(g.written) << g.writeError;
  ScratchDir again;
  SceneSummary second;
  char error[256] = "";
  ASSERT_TRUE(WriteScene(again.Path().c_str(), second, error, sizeof error)) << error;
  std::vector<std::string> files{kSceneFileName};
  for (const TextureRecipe& recipe : kTextures) files.push_back(recipe.fileName);
  for (const std::string& name : files) {
    std::string first = ReadWholeFile(g.dir.File(name));
    EXPECT_FALSE(first.empty()) << name;
    EXPECT_TRUE(first == ReadWholeFile(again.File(name))) << name << " differs between two runs";
    // The build ran the generator in a process of its own: its output must be the same too.
    std::string built = std::string(STRIVEX_BINARY_DIR) + "/" + name;
    if (FileExists(built)) {
      EXPECT_TRUE(first == ReadWholeFile(built)) << built << " differs";
    }
  }
}

TEST(GeneratorOutput, ReportsADirectoryItCannotCreate) {
  ScratchDir dir;
  std::string blocked = dir.File("plain-file");
  FILE* f = std::fopen(blocked.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  SceneSummary summary;
  char error[256] = "";
  EXPECT_FALSE(WriteScene(blocked.c_str(), summary, error, sizeof error));
  EXPECT_NE(std::string(error).find("plain-file"), std::string::npos) << error;
  EXPECT_FALSE(FileExists(blocked + "/" + kSceneFileName));
}

}  // namespace
