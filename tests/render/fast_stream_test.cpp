// The program's mesh drawing against the literal per-triangle stream (literal_stream.h): whole
// display passes of the robot and of a scene of interleaved materials, frame after frame across
// render-mode and background switches, must give the same pixels, the same texture offsets, the
// same lastBoundSlot and the same list states; and every single mesh draw must leave the GL in the
// state the literal stream leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "app/window.h"
#include "model/model_file.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/rig.h"
#include "motion/triangle_wave.h"
#include "platform/clock.h"
#include "render/frame.h"
#include "render/ground_scroll.h"
#include "render/random_draws.h"
#include "render/texture_set.h"
#include "render/textured_batch.h"
#include "support/gl_probe.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"
#include "support/test_textures.h"
#include "tools/offscreen/offscreen_context.h"

#include "literal_stream.h"

namespace {

constexpr int Size = 256;

uint32_t fixedNow = 0;
uint32_t FixedClock() { return fixedNow; }

std::vector<unsigned char> ReadRgba() {
  std::vector<unsigned char> pixels(Size * Size * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

// One display pass as DisplayFrame makes it (manual mode off), with the robot drawn by the literal
// stream. It moves the parts' start times, the ground scroll and the frame time as the pass does.
void LiteralPart(literal::Stream& stream, std::vector<literal::MeshState>& lists, int32_t index, uint32_t now) {
  RigPart& part = partTable.parts[index];
  if (part.startTime == 0) part.startTime = now;
  glPushMatrix();
  float factor = 0.0f;
  if (part.period != 0) {
    int64_t elapsed = 0;
    part.startTime = CatchUpStartTime(part.startTime, now, part.period, &elapsed);
    factor = TriangleWaveFactor(elapsed, part.period);
  }
  const double f = factor;
  glTranslated(f * part.motion.x, f * part.motion.y, f * part.motion.z);
  for (int32_t i = 0; i < part.modelCount; ++i) {
    const int32_t slot = part.models[i];
    if (viewState.wireframe) {
      stream.DrawMeshWireframe(modelLibrary.slots[slot]);
    } else {
      stream.DrawMeshCached(modelLibrary.slots[slot], lists[slot], viewState.textured != 0);
    }
  }
  for (int32_t i = 0; i < part.childCount; ++i) LiteralPart(stream, lists, part.children[i], now);
  glPopMatrix();
}

void LiteralFrame(literal::Stream& stream, std::vector<literal::MeshState>& lists, uint32_t now) {
  const uint32_t delta = now - lastFrameTime;
  lastFrameTime = now;
  groundScroll = AdvanceGroundScroll(groundScroll, delta, viewState.speedPeriod);
  BeginScene();
  LiteralPart(stream, lists, partTable.rootPart, now);
  EndScene();
}

struct FramePlan {
  uint8_t textured;
  uint8_t wireframe;
  uint8_t backgroundSet;
};

// Textured first (compiles every list, chooses every offset), replays, a Solid rebuild, Wireframe,
// a Textured rebuild, and back from Wireframe to a replayed list; both background sets.
const std::vector<FramePlan> FullPlan = {{1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 0, 0}, {0, 1, 0},
                                         {0, 1, 1}, {1, 0, 0}, {0, 1, 1}, {1, 0, 1}};
// The same switches for the robot, less the second Textured compile, which takes the literal
// stream half a minute there.
const std::vector<FramePlan> RobotPlan = {{1, 0, 0}, {0, 1, 1}, {1, 0, 1}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}};

// What one pass leaves behind.
struct Observation {
  std::vector<unsigned char> pixels;
  int32_t lastBound = 0;
  uint32_t randomState = 0;
  std::vector<double> offsets;  // every drawn triangle's (u, v), slot by slot
  std::vector<int> lists;  // per slot: 0 none, 1 Solid, 2 Textured
};

// The state a pass starts from, put back before each of the two runs.
struct RunStart {
  uint32_t startTimes[MaxParts];
  uint32_t frameTime;
  double scroll;
};

class FastStreamPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseTestGlContext());
    std::memcpy(saved.pixels, textureSet.pixels, sizeof saved.pixels);
    std::memcpy(saved.widths, textureSet.widths, sizeof saved.widths);
    std::memcpy(saved.heights, textureSet.heights, sizeof saved.heights);
    std::memcpy(saved.names, textureSet.textureNames, sizeof saved.names);
    savedView = viewState;
    ASSERT_TRUE(context.Create(Size, Size)) << context.ErrorText();
    // The shipped pictures in this context for the test's lifetime; the shared ones come back after.
    for (int slot = 0; slot < TextureSlotCount; ++slot) {
      textureSet.pixels[slot] = nullptr;
      textureSet.textureNames[slot] = 0xFFFFFFFFu;
    }
    {
      WorkingDirectoryScope inBuild(STRIVEX_BINARY_DIR);
      textureSet.LoadTextureFiles();
    }
    for (int slot : {0, 1, 2, 6, 7, 8, 9}) ASSERT_NE(textureSet.pixels[slot], nullptr) << "shipped texture " << slot;
    textureSet.CreateTextures();
    viewState = ViewState{};
    viewState.windowWidth = viewState.windowHeight = Size;
    InitGlState();
    ReshapeWindow(Size, Size);
    glGetError();  // the pbuffer has no back buffer to select
    SetClockSource(FixedClock);
    fixedNow = 7000000;
    ResetModelLibrary();
    ResetPartTable();
  }

  void TearDown() override {
    ResetPartTable();
    ResetModelLibrary();  // deletes the program's lists while this context is current
    if (context.IsCreated()) {
      glDeleteTextures(TextureSlotCount, textureSet.textureNames);
      for (unsigned char*& pixels : textureSet.pixels) {
        std::free(pixels);
        pixels = nullptr;
      }
    }
    std::memcpy(textureSet.pixels, saved.pixels, sizeof saved.pixels);
    std::memcpy(textureSet.widths, saved.widths, sizeof saved.widths);
    std::memcpy(textureSet.heights, saved.heights, sizeof saved.heights);
    std::memcpy(textureSet.textureNames, saved.names, sizeof saved.names);
    context.Destroy();
    UseTestGlContext();
    SetClockSource(nullptr);
    viewState = savedView;
    lastBoundSlot = -1;
  }

  RunStart Snapshot() const {
    RunStart start{};
    for (int p = 0; p < MaxParts; ++p) start.startTimes[p] = partTable.parts[p].startTime;
    start.frameTime = fixedNow;
    start.scroll = groundScroll;
    return start;
  }
  static void Restore(const RunStart& start) {
    for (int p = 0; p < MaxParts; ++p) partTable.parts[p].startTime = start.startTimes[p];
    lastFrameTime = start.frameTime;  // the first pass has no elapsed time
    groundScroll = start.scroll;
    lastBoundSlot = -1;
  }
  static void ApplyPlan(const FramePlan& plan, size_t index, const RunStart& start) {
    viewState.textured = plan.textured;
    viewState.wireframe = plan.wireframe;
    viewState.backgroundSet = plan.backgroundSet;
    fixedNow = start.frameTime + 66u * static_cast<uint32_t>(index);
  }

  static Observation Observe(int32_t bound, uint32_t random,
                             const std::function<const double*(int slot)>& offsetsOf,
                             const std::function<int(int slot)>& listOf) {
    Observation seen;
    seen.pixels = ReadRgba();
    seen.lastBound = bound;
    seen.randomState = random;
    for (int slot = 0; slot < MaxObjects; ++slot) {
      const double* offsets = offsetsOf(slot);
      seen.offsets.insert(seen.offsets.end(), offsets, offsets + 2 * modelLibrary.slots[slot].triangleCount);
      seen.lists.push_back(listOf(slot));
    }
    return seen;
  }

  // The plan drawn through the literal stream, then through the program's DisplayFrame, from the
  // same start; every pass compared.
  void CompareRuns(const std::vector<FramePlan>& plan) {
    const RunStart start = Snapshot();
    const uint32_t randomStart = RandomDrawState();
    std::vector<Observation> expected;
    {
      Restore(start);
      literal::Stream stream(randomStart);
      std::vector<literal::MeshState> lists(MaxObjects);
      for (size_t i = 0; i < plan.size(); ++i) {
        ApplyPlan(plan[i], i, start);
        LiteralFrame(stream, lists, fixedNow);
        expected.push_back(Observe(
            lastBoundSlot, stream.randomState, [&](int slot) { return lists[slot].texOffsets.data(); },
            [&](int slot) { return lists[slot].listBuilt ? 1 + lists[slot].listTextured : 0; }));
      }
      for (literal::MeshState& list : lists) {
        if (list.listBuilt) glDeleteLists(list.displayList, 1);
      }
    }
    Restore(start);
    ASSERT_EQ(RandomDrawState(), randomStart);  // the literal run drew nothing from the program's generator
    for (size_t i = 0; i < plan.size(); ++i) {
      SCOPED_TRACE("frame " + std::to_string(i));
      ApplyPlan(plan[i], i, start);
      DisplayFrame();
      EXPECT_FALSE(textureBatchOpen);
      const Observation seen = Observe(
          lastBoundSlot, RandomDrawState(), [](int slot) { return &modelLibrary.slots[slot].texOffsets[0][0]; },
          [](int slot) {
            const MeshObject& mesh = modelLibrary.slots[slot];
            return mesh.listBuilt ? 1 + mesh.listTextured : 0;
          });
      const Observation& want = expected[i];
      EXPECT_EQ(seen.lastBound, want.lastBound);
      EXPECT_EQ(seen.randomState, want.randomState);
      EXPECT_TRUE(seen.offsets == want.offsets) << "texture offsets differ";
      EXPECT_EQ(seen.lists, want.lists);
      int differing = 0;
      size_t first = 0;
      for (size_t p = 0; p < seen.pixels.size(); p += 4) {
        if (std::memcmp(&seen.pixels[p], &want.pixels[p], 4) == 0) continue;
        if (differing++ == 0) first = p / 4;
      }
      EXPECT_EQ(differing, 0) << "first at (" << first % Size << ", " << first / Size << ")";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  OffscreenContext context;
  struct {  // the shared context's texture set, as it was
    unsigned char* pixels[TextureSlotCount];
    int32_t widths[TextureSlotCount];
    int32_t heights[TextureSlotCount];
    uint32_t names[TextureSlotCount];
  } saved{};
  ViewState savedView{};
};

TEST_F(FastStreamPictures, RobotPassesMatchTheLiteralStream) {
  testing::internal::CaptureStdout();  // the load progress line
  const int status = LoadModelFile(STRIVEX_BINARY_DIR "/De_209.asc");
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);
  ASSERT_GE(modelLibrary.objectCount, 22);
  BuildRig();
  CompareRuns(RobotPlan);
}

// Materials in runs and alone, textured materials following each other directly, grey triangles
// of material 3, -1 and 7 between them, a mesh that is empty, one of a single triangle, one of one
// material only; overlapping triangles in one plane, where only the drawing order decides.
TEST_F(FastStreamPictures, InterleavedMaterialsMatchTheLiteralStream) {
  uint32_t seed = 2024;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  const MaterialIndex palette[] = {0, 1, 2, 3, -1, 7, 0, 2, 1};
  for (int slot = 0; slot < 22; ++slot) {
    MeshObject& mesh = modelLibrary.slots[slot];
    const int count = slot == 7 ? 0 : slot == 12 ? 1 : 40 + next(80);
    const double y = 1.0 + 0.1 * slot;
    MaterialIndex material = 0;
    int runLeft = 0;
    for (int i = 0; i < count; ++i) {
      const double x = -6.0 + next(800) / 100.0, z = 0.0 + next(600) / 100.0, s = 0.4 + next(100) / 100.0;
      const double xs[3] = {x, x + s, x + 0.3 * s}, ys[3] = {y, y, y}, zs[3] = {z, z + 0.2 * s, z + s};
      mesh.AddTriangle(xs, ys, zs);
      if (runLeft-- <= 0) {
        material = palette[next(9)];
        runLeft = next(4);
      }
      if (slot == 3) material = 1;  // one material throughout
      if (slot == 9) material = i % 3;  // textured slots switching at every triangle
      mesh.materials[i] = material;
    }
  }
  modelLibrary.objectCount = 22;
  BuildRig();
  CompareRuns(FullPlan);
}

// Single mesh draws in the small shared context: the GL state each one leaves behind.
struct GlState {
  GLboolean texturing, colourMaterial, vertexArray, normalArray, colourArray;
  GLint boundTexture, colourMaterialFace, colourMaterialParameter;
  int32_t lastBound;
  GLfloat frontAmbient[4], frontDiffuse[4], backAmbient[4], backDiffuse[4];
  GLfloat normal[3], colour[4], texCoord[4], modelview[16];
};

GlState ReadGlState() {
  GlState s;
  std::memset(&s, 0, sizeof s);  // padding too: states are compared byte for byte
  s.texturing = glIsEnabled(GL_TEXTURE_2D);
  s.colourMaterial = glIsEnabled(GL_COLOR_MATERIAL);
  s.vertexArray = glIsEnabled(GL_VERTEX_ARRAY);
  s.normalArray = glIsEnabled(GL_NORMAL_ARRAY);
  s.colourArray = glIsEnabled(GL_COLOR_ARRAY);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.boundTexture);
  glGetIntegerv(GL_COLOR_MATERIAL_FACE, &s.colourMaterialFace);
  glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &s.colourMaterialParameter);
  s.lastBound = lastBoundSlot;
  glGetMaterialfv(GL_FRONT, GL_AMBIENT, s.frontAmbient);
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, s.frontDiffuse);
  glGetMaterialfv(GL_BACK, GL_AMBIENT, s.backAmbient);
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, s.backDiffuse);
  glGetFloatv(GL_CURRENT_NORMAL, s.normal);
  glGetFloatv(GL_CURRENT_COLOR, s.colour);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, s.texCoord);
  glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
  return s;
}

std::string Describe(const GlState& s) {
  char text[512];
  std::snprintf(text, sizeof text,
                "texturing %d bound %d lastBound %d colourMaterial %d (%#x %#x) arrays %d%d%d front %g %g %g %g / "
                "%g %g %g %g back %g %g %g %g normal %g %g %g colour %g %g %g %g texCoord %g %g",
                s.texturing, s.boundTexture, s.lastBound, s.colourMaterial, s.colourMaterialFace,
                s.colourMaterialParameter, s.vertexArray, s.normalArray, s.colourArray, s.frontAmbient[0],
                s.frontAmbient[1], s.frontAmbient[2], s.frontAmbient[3], s.frontDiffuse[0], s.frontDiffuse[1],
                s.frontDiffuse[2], s.frontDiffuse[3], s.backAmbient[0], s.backAmbient[1], s.backAmbient[2],
                s.backAmbient[3], s.normal[0], s.normal[1], s.normal[2], s.colour[0], s.colour[1], s.colour[2],
                s.colour[3], s.texCoord[0], s.texCoord[1]);
  return text;
}

bool operator==(const GlState& a, const GlState& b) { return std::memcmp(&a, &b, sizeof(GlState)) == 0; }

// A state no mesh draw leaves by itself: the ground's texture bound and recorded, texturing on, the
// sky colour as material, odd current values.
void DirtyState() {
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[7]);
  lastBoundSlot = 7;
  glEnable(GL_TEXTURE_2D);
  const GLfloat sky[4] = {0.6f, 0.6f, 1.0f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, sky);
  glNormal3f(0.0f, 0.6f, 0.8f);
  glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
  glTexCoord2f(5.0f, 6.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

class FastStreamState : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    saved = viewState;
    UseFlatColourLighting();
  }
  void TearDown() override {
    viewState = saved;
    lastBoundSlot = -1;
    glDisable(GL_TEXTURE_2D);
  }
  ViewState saved{};
};

TEST_F(FastStreamState, EveryMeshDrawLeavesTheLiteralStreamsState) {
  const std::vector<std::vector<MaterialIndex>> meshes = {
      {}, {1}, {0, 0, 1}, {2, 3}, {-1, 0, 7}, {3, 3, 0, 0, 2, 1, -1, 2}, {3, 1, 1, 3}, {0, 3, 0, 3, 0}, {2, -1}};
  struct Phase {
    const char* name;
    bool textured, wireframe;
  };
  // Compiling and replaying in each list mode, then the lines.
  const Phase phases[] = {{"textured compile", true, false}, {"textured replay", true, false},
                          {"solid compile", false, false},   {"solid replay", false, false},
                          {"wireframe", false, true}};
  for (const std::vector<MaterialIndex>& materials : meshes) {
    MeshObject mesh;
    literal::MeshState own;
    for (size_t i = 0; i < materials.size(); ++i) {
      const double x = -0.9 + 0.2 * static_cast<double>(i);
      const double xs[3] = {x, x + 0.3, x + 0.1}, ys[3] = {-0.5, -0.4, 0.4}, zs[3] = {0.0, 0.1, 0.2};
      mesh.AddTriangle(xs, ys, zs);
      mesh.materials[i] = materials[i];
    }
    literal::Stream stream(RandomDrawState());
    for (const Phase& phase : phases) {
      SCOPED_TRACE(std::string(phase.name) + ", mesh of " + std::to_string(materials.size()));
      viewState.textured = phase.textured;
      viewState.wireframe = phase.wireframe;
      DirtyState();
      if (phase.wireframe) {
        stream.DrawMeshWireframe(mesh);
      } else {
        stream.DrawMeshCached(mesh, own, phase.textured);
      }
      const GlState want = ReadGlState();
      const std::vector<unsigned char> wantPixels = ReadSurface();
      DirtyState();
      if (phase.wireframe) {
        mesh.DrawMeshWireframe();
      } else {
        mesh.DrawMeshCached();
      }
      const GlState seen = ReadGlState();
      EXPECT_TRUE(seen == want) << "\n  got  " << Describe(seen) << "\n  want " << Describe(want);
      EXPECT_TRUE(ReadSurface() == wantPixels);
      EXPECT_FALSE(textureBatchOpen);
      EXPECT_EQ(RandomDrawState(), stream.randomState);
      EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    if (own.listBuilt) glDeleteLists(own.displayList, 1);
  }
}

}  // namespace
