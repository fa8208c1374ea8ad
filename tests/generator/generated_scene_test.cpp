// The scene strivex-generate writes, as the viewer and its users meet it: the viewer's own reader
// takes every object silently and finds every mesh closed and wound outwards, the soles stand on their
// plane, all four materials are used, ImageMagick reads every texture as it was painted, and every
// run writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "model/model_file.h"
#include "model/model_library.h"
#include "support/scratch_dir.h"
#include "tools/robot_generator/noise.h"
#include "tools/robot_generator/robot_parts.h"
#include "tools/robot_generator/scene_output.h"
#include "tools/robot_generator/textures.h"

namespace {

using namespace robogen;

TEST(GeneratedScene, IsWhatTheViewerAndItsUsersRelyOn) {
  ScratchDir dir, again;
  SceneSummary summary;
  char error[256] = "";
  ASSERT_TRUE(WriteScene(dir.Path().c_str(), summary, error, sizeof error)) << error;
  ASSERT_TRUE(WriteScene(again.Path().c_str(), summary, error, sizeof error)) << error;
  for (int i = -1; i < kTextureCount; ++i) {
    std::string name = i < 0 ? kSceneFileName : kTextures[i].fileName, bytes = ReadWholeFile(dir.File(name));
    std::string built = std::string(STRIVEX_BINARY_DIR) + "/" + name;
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(bytes == ReadWholeFile(again.File(name))) << name;
    // The build ran the generator in a process of its own: its output must be the same too.
    EXPECT_TRUE(!FileExists(built) || bytes == ReadWholeFile(built)) << built;
  }

  Robot robot;
  ASSERT_TRUE(BuildRobot(robot));
  modelLibrary.Clear();
  testing::internal::CaptureStdout();
  EXPECT_EQ(LoadModelFile(dir.File(kSceneFileName).c_str()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout().find("rror"), std::string::npos);
  ASSERT_EQ(modelLibrary.objectCount, 22);
  std::set<int> materials;
  std::vector<double> lowest(kRobotObjectCount, 1e9);
  for (int k = 0; k < kRobotObjectCount; ++k) {
    const Mesh& mesh = robot.objects[k];
    const MeshObject& read = modelLibrary.slots[k];
    EXPECT_STREQ(read.name, mesh.Name());
    // Closed and wound outward, as the reader found it: the viewer culls the back faces of such meshes.
    EXPECT_TRUE(read.closedOutward) << mesh.Name();
    // The reader keeps at most 3000 triangles of an object: equal counts mean none was lost.
    ASSERT_EQ(read.triangleCount, mesh.FaceCount()) << mesh.Name();
    for (int t = 0; t < read.triangleCount; ++t) {
      const Face& f = mesh.FaceAt(t);
      ASSERT_EQ(read.materials[t], static_cast<int>(f.material));
      materials.insert(read.materials[t]);
      for (int corner = 0; corner < 3; ++corner) {
        const Point3& p = mesh.VertexAt(corner == 0 ? f.a : corner == 1 ? f.b : f.c);
        ASSERT_NEAR(read.cornerX[t][corner], p.x, 5e-7);
        ASSERT_NEAR(read.cornerY[t][corner], p.y, 5e-7);
        ASSERT_NEAR(read.cornerZ[t][corner], p.z, 5e-7);
        lowest[k] = std::min(lowest[k], read.cornerZ[t][corner]);
      }
    }
  }
  modelLibrary.Clear();
  EXPECT_EQ(materials.size(), 4u);
  // Lowered by 0.6 at full stride, the soles meet the ground; nothing else may reach it.
  for (int foot : {0, 9}) {
    EXPECT_NEAR(*std::min_element(&lowest[foot], &lowest[foot + 5]), 0.05, 1e-6) << foot;
    EXPECT_GE(*std::min_element(&lowest[foot + 3], &lowest[foot + 5]), 0.06) << "claws clear of the ground";
  }
  EXPECT_GT(std::min(*std::min_element(&lowest[5], &lowest[9]), *std::min_element(&lowest[14], lowest.data() + 22)), 0.35);

  // Repeated textures show no seam: the noise they are painted from runs on across its period.
  EXPECT_NEAR(ValueNoise(8 - 1e-9, 5 - 1e-9, 8, 5, 7u), ValueNoise(0, 0, 8, 5, 7u), 1e-6);
  for (const TextureRecipe& recipe : kTextures) {
    Picture picture(recipe.width, recipe.height);
    recipe.paint(picture);
    std::string painted, decoded(3 * recipe.width * recipe.height + 1, '\0');
    for (int i = 0; i < recipe.width * recipe.height; ++i) {
      Rgb c = picture.GetRgb(i % recipe.width, i / recipe.width);
      painted += {char(c.r), char(c.g), char(c.b)};
    }
    FILE* magick = popen(("convert '" + dir.File(recipe.fileName) + "' -depth 8 rgb:- 2>/dev/null").c_str(), "r");
    ASSERT_NE(magick, nullptr);
    decoded.resize(std::fread(decoded.data(), 1, decoded.size(), magick));
    EXPECT_EQ(pclose(magick), 0) << recipe.fileName;
    EXPECT_TRUE(decoded == painted) << recipe.fileName << ": ImageMagick reads other pixels";
  }
}

}  // namespace
