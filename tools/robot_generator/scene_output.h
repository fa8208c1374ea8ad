// Writes the whole generated scene into a directory: "De_209.asc" and the seven textures below
// "tex/". Used by the generator program and by the tests.
#pragma once

namespace robogen {

constexpr const char* kSceneFileName = "De_209.asc";

struct SceneSummary {
  int objects = 0;
  int triangles = 0;
  int textures = 0;
};

// Creates `directory`/tex if needed. On failure returns false and puts a one-line reason into
// `error` (NUL-terminated, cut to errorSize).
bool WriteScene(const char* directory, SceneSummary& summary, char* error, int errorSize);

}  // namespace robogen
