// Builds the robot and paints the textures, then writes them where the viewer looks for them.
#include "tools/robot_generator/scene_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "tools/robot_generator/asc_writer.h"
#include "tools/robot_generator/robot_parts.h"
#include "tools/robot_generator/textures.h"

namespace robogen {
namespace {

bool MakeDirectory(const char* path) {
  if (mkdir(path, 0755) == 0 || errno == EEXIST) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
  }
  return false;
}

bool JoinPath(char* out, size_t size, const char* directory, const char* name) {
  int n = std::snprintf(out, size, "%s/%s", directory, name);
  return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace

bool WriteScene(const char* directory, SceneSummary& summary, char* error, int errorSize) {
  size_t errorCap = errorSize > 0 ? static_cast<size_t>(errorSize) : 0;
  char path[4096];
  summary = SceneSummary{};
  if (!JoinPath(path, sizeof path, directory, "tex") || !MakeDirectory(directory) ||
      !MakeDirectory(path)) {
    std::snprintf(error, errorCap, "cannot create the directory %s", path);
    return false;
  }

  Robot robot;
  if (!BuildRobot(robot)) {
    for (const Mesh& m : robot.objects) {
      if (m.Failed()) {
        std::snprintf(error, errorCap, "object %s needs %d faces, more than its %d", m.Name(),
                      m.DemandedFaces(), Mesh::kMaxFaces);
        break;
      }
    }
    return false;
  }
  if (!JoinPath(path, sizeof path, directory, kSceneFileName) ||
      !WriteAscFile(path, robot.objects, kRobotObjectCount)) {
    std::snprintf(error, errorCap, "cannot write %s", path);
    return false;
  }
  summary.objects = kRobotObjectCount;
  for (const Mesh& m : robot.objects) summary.triangles += m.FaceCount();

  for (const TextureRecipe& recipe : kTextures) {
    Picture picture(recipe.width, recipe.height);
    recipe.paint(picture);
    if (!JoinPath(path, sizeof path, directory, recipe.fileName) ||
        !WriteBmpFile(path, picture, recipe.encoding)) {
      std::snprintf(error, errorCap, "cannot write %s", path);
      return false;
    }
    ++summary.textures;
  }
  return true;
}

}  // namespace robogen
