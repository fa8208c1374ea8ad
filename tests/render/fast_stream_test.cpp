// The program's mesh drawing against the per-triangle stream (tools/reference/per_triangle_stream.h).
// Whole display passes over a walk cycle, across render-mode and background switches, keep the
// picture within the bounds of what drawing less may change, and look as the approved pictures do;
// small meshes of every kind, compiled, replayed and switched between Solid and Textured, look
// exactly as the per-triangle stream draws them and leave the GL in the state it leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/window.h"
#include "model/mesh_closure.h"
#include "model/model_file.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "render/random_draws.h"
#include "render/textured_batch.h"
#include "support/gl_test.h"
#include "support/scratch_dir.h"
#include "tools/reference/per_triangle_stream.h"
#include "tools/offscreen/offscreen_context.h"

namespace {

constexpr int Size = 500;
constexpr uint32_t Start = 7000000;
uint32_t fixedNow = 0;
uint32_t FixedClock() { return fixedNow; }

// How far pictures are from the expected ones: pixels at all, pixels by more than 40 levels in a
// channel, PSNR.
struct Difference {
  int pixels = 0, beyond40 = 0;
  double psnr = 1e9;
};
// Adds how picture a differs from b to the worst of each measure seen so far.
void AddDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, Difference& worst) {
  Difference d;
  double squares = 0.0;
  for (size_t p = 0; p < a.size(); p += 3) {
    int most = 0;
    for (size_t c = p; c < p + 3; ++c) {
      most = std::max(most, std::abs(a[c] - b[c]));
      squares += (a[c] - b[c]) * (a[c] - b[c]);
    }
    d.pixels += most > 0;
    d.beyond40 += most > 40;
  }
  if (squares > 0) d.psnr = 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
  worst = {std::max(worst.pixels, d.pixels), std::max(worst.beyond40, d.beyond40), std::min(worst.psnr, d.psnr)};
}

// The picture in 25 x 25 blocks of 20 x 20 pixels, each block's mean red, green and blue, top row first.
std::string BlockMeans(const std::vector<unsigned char>& picture) {
  std::string means;
  for (int b = 0; b < 25 * 25 * 3; ++b) {
    int sum = 0;
    for (int i = 0; i < 400; ++i)
      sum += picture[((Size - 1 - b / 75 * 20 - i / 20) * Size + b / 3 % 25 * 20 + i % 20) * 3 + b % 3];
    means += static_cast<char>((sum + 200) / 400);
  }
  return means;
}

// The shipped robot in a 500 x 500 context of its own, with the shipped textures; the shared test
// context's texture set is traded out for the test and back after it.
class FastStreamPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeTextures();
    savedView = viewState;
    ASSERT_TRUE(context.Create(Size, Size)) << context.ErrorText();
    WorkingDirectoryScope inBuild(STRIVEX_BINARY_DIR);
    textureSet.LoadTextureFiles();
    for (int slot : {0, 1, 2, 6, 7, 8, 9}) ASSERT_NE(textureSet.pixels[slot], nullptr) << "shipped texture " << slot;
    textureSet.CreateTextures();
    viewState = ViewState{};
    viewState.windowWidth = viewState.windowHeight = Size;
    InitGlState();
    ReshapeWindow(Size, Size);
    glGetError();  // the pbuffer has no back buffer to select
    SetClockSource(FixedClock);
    modelLibrary.Clear();
    partTable.Clear();
  }
  void TearDown() override {
    partTable.Clear();
    modelLibrary.Clear();  // deletes the program's lists while this context is current
    for (unsigned char* pixels : textureSet.pixels) std::free(pixels);
    TradeTextures();
    context.Destroy();
    UseTestGlContext();
    SetClockSource(nullptr);
    viewState = savedView;
    lastBoundSlot = -1;
  }
  void TradeTextures() {
    std::swap(saved.pixels, textureSet.pixels);
    std::swap(saved.widths, textureSet.widths);
    std::swap(saved.heights, textureSet.heights);
    std::swap(saved.names, textureSet.textureNames);
  }

  OffscreenContext context;
  struct {
    unsigned char* pixels[TextureSlotCount];
    int32_t widths[TextureSlotCount], heights[TextureSlotCount];
    uint32_t names[TextureSlotCount];
  } saved{};
  ViewState savedView{};
};

// A walk cycle (2000 ms) sampled across mode switches, each mode on both background sets:
// Textured twice (compiles every list, chooses every offset; replays), back to Textured after
// Wireframe (kept lists), Solid after Textured (rebuilt), Solid replayed and kept across Wireframe,
// and Textured rebuilt after Solid.
// Culled back faces may change silhouette pixels; a shared edge drawn once may change the shade of
// line pixels where two normals competed. The bound slot and the generator must not change at all.
TEST_F(FastStreamPictures, RobotOverAWalkCycleStaysWithinBounds) {
  ASSERT_EQ(LoadModelFile(STRIVEX_BINARY_DIR "/De_209.asc"), 0);
  fixedNow = Start;
  BuildRig();
  // The approved pictures' texture offsets are the generator's first draws, as at start-up.
  RestartRandomDraws();
  uint32_t startTimes[MaxParts], randomStart = RandomDrawState();
  for (int p = 0; p < MaxParts; ++p) startTimes[p] = partTable.parts[p].startTime;
  const std::string frames = "TTWTSSWSWT";  // Textured, Solid, Wireframe
  std::vector<std::pair<std::pair<int32_t, uint32_t>, std::vector<unsigned char>>> expected;
  Difference worst[3];
  std::string blocks;
  for (int run = 0; run < 2; ++run) {  // the per-triangle stream, then the program's DisplayFrame
    for (int p = 0; p < MaxParts; ++p) partTable.parts[p].startTime = startTimes[p];
    lastFrameTime = Start;
    groundScroll = 0.0;
    lastBoundSlot = -1;
    per_triangle::Stream stream(randomStart);
    std::vector<per_triangle::MeshState> meshes(MaxObjects);
    for (size_t f = 0; f < frames.size(); ++f) {
      SCOPED_TRACE("frame " + std::to_string(f));
      const int mode = static_cast<int>(std::string("TSW").find(frames[f]));
      viewState.textured = mode == 0;
      viewState.wireframe = mode == 2;
      viewState.backgroundSet = static_cast<uint8_t>(f / 2 % 2);
      viewState.azimuth = 140.0 + 9.0 * static_cast<double>(f);  // from both sides of behind the robot
      fixedNow = static_cast<uint32_t>(Start + 2000 * f / frames.size());
      run == 0 ? stream.DrawFrame(meshes, fixedNow) : DisplayFrame();
      const std::pair<int32_t, uint32_t> state = {lastBoundSlot, run == 0 ? stream.randomState : RandomDrawState()};
      if (run == 0) {
        expected.emplace_back(state, ReadSurface(Size));
        continue;
      }
      EXPECT_EQ(state, expected[f].first) << "bound slot, generator";
      const std::vector<unsigned char> picture = ReadSurface(Size);
      AddDifference(picture, expected[f].second, worst[mode]);
      blocks += BlockMeans(picture);
    }
  }
  // The approved pictures (frames top to bottom in one image); STRIVEX_APPROVE=1 writes this run's.
  const std::string path = STRIVEX_SOURCE_DIR "/tests/render/robot_walk_blocks.ppm", header = "P6\n25 250\n255\n";
  if (std::getenv("STRIVEX_APPROVE")) std::ofstream(path, std::ios::binary) << header << blocks;
  const std::string approved = ReadWholeFile(path);
  ASSERT_EQ(approved.size(), header.size() + blocks.size());
  int unlike = 0;
  for (size_t i = 0; i < blocks.size(); ++i)
    unlike += std::abs(uint8_t(approved[header.size() + i]) - uint8_t(blocks[i])) > 4;
  EXPECT_EQ(unlike, 0) << "blocks: the walk does not look as approved";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_LE(worst[0].pixels, 50);
  EXPECT_LE(worst[1].pixels, 50);
  EXPECT_LE(worst[2].beyond40, 2500);
  EXPECT_GE(worst[2].psnr, 34.0);
}

// The GL state a mesh draw leaves behind.
std::vector<float> ReadGlState() {
  std::vector<float> s = {static_cast<float>(lastBoundSlot), static_cast<float>(textureBatchOpen)};
  for (GLenum flag : {GL_TEXTURE_2D, GL_CULL_FACE, GL_COLOR_MATERIAL, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY})
    s.push_back(glIsEnabled(flag));
  for (GLenum name : {GL_TEXTURE_BINDING_2D, GL_CURRENT_NORMAL, GL_CURRENT_COLOR, GL_CURRENT_TEXTURE_COORDS, GL_AMBIENT,
                      GL_DIFFUSE}) {
    float values[4] = {};
    name == GL_AMBIENT || name == GL_DIFFUSE ? glGetMaterialfv(GL_FRONT, name, values) : glGetFloatv(name, values);
    s.insert(s.end(), values, values + 4);
  }
  return s;
}

using Corner = std::vector<double>;
using Triangle = std::vector<Corner>;
Triangle Flip(const Triangle& t) { return {t[0], t[2], t[1]}; }
Corner Lift(Corner c, double z) { return {c[0], c[1], z}; }
const int LineEnds[3][2] = {{0, 1}, {2, 0}, {1, 2}};  // AB, CA, BC

// An irregular tetrahedron wound outward (counter-clockwise seen from outside) and its faces.
const Corner A = {-0.6, -0.5, -0.4}, B = {0.7, -0.45, -0.35}, C = {0.05, 0.65, -0.3}, D = {0.1, 0.0, 0.6};
const Triangle Base = {A, C, B}, Front = {A, B, D}, Right = {B, C, D}, Left = {C, A, D};
// Other corners for lines only.
const Corner P = {-0.7, -0.6, 0.1}, Q = {0.6, 0.5, -0.2}, R = {-0.5, 0.7, 0.0}, S = {0.5, -0.7, 0.3};

// Culling only where no view can tell (corners compared exactly, -0.0 as 0.0), seen from the
// front, from the back and cut open by the near plane, where only culling hides the inside; in
// Solid and Textured, compiled and replayed. And lines: a shared edge drawn once, by its first
// triangle, in that triangle's colour and direction; lines that only look shared all drawn.
// Single meshes in a 64 x 64 corner: flat colours (back faces lit as front ones), depth
// tested, an orthographic camera on +z.
TEST_F(FastStreamPictures, MeshesOfEveryKindLookAsThePerTriangleStreamDrawsThem) {
  UseFlatColourLighting();
  struct Case {
    const char* name;
    std::vector<Triangle> triangles;
    bool closedOutward;
    std::vector<int> skippedLines;  // 3t + line (AB, CA, BC)
  } cases[] = {
      {"closed outward", {Base, Front, Right, Left}, true, {3, 6, 7, 9, 10, 11}},
      {"closed, one corner written -0.0", {Base, Front, {B, C, {0.1, -0.0, 0.6}}, Left}, true, {3, 6, 7, 9, 10, 11}},
      {"inward", {Flip(Base), Flip(Front), Flip(Right), Flip(Left)}, false, {4, 6, 7, 9, 10, 11}},
      {"one face turned", {Base, Flip(Front), Right, Left}, false, {4, 6, 7, 9, 10, 11}},
      {"open tent", {Front, Right, Left}, false, {4, 7, 8}},
      {"a face twice", {Base, Front, Right, Left, Left}, false, {3, 6, 7, 9, 10, 11, 12, 13, 14}},
      {"apex of one face lifted (closed in plan only)", {Base, {A, B, Lift(D, 0.9)}, Right, Left}, false, {3, 6, 9, 10}},
      {"two facing sheets (closed in plan only)", {{Lift(A, 0.5), Lift(B, 0.5), Lift(C, 0.5)}, Base}, false, {}},
      {"empty", {}, false, {}},
      {"lines apart in z only", {{P, Q, R}, {Lift(Q, -0.1), P, S}}, false, {}},
      {"lines shared by three", {{P, Q, R}, {S, Q, P}, {P, Q, {0.0, 0.9, 0.5}}}, false, {5, 6}},
  };
  // Runs of a textured material, textured after textured, and grey 3, -1 and 7 (one colour).
  const MaterialIndex Palette[8] = {1, 1, 2, -1, 7, 0, 3, 2};
  for (const Case& c : cases) {
    MeshObject mesh;
    for (const Triangle& t : c.triangles) {
      const double xs[3] = {t[0][0], t[1][0], t[2][0]}, ys[3] = {t[0][1], t[1][1], t[2][1]}, zs[3] = {t[0][2], t[1][2], t[2][2]};
      mesh.AddTriangle(xs, ys, zs);
      mesh.materials[mesh.triangleCount - 1] = Palette[(mesh.triangleCount + (&c - cases)) % 8];
    }
    mesh.closedOutward = IsClosedOutward(mesh);
    per_triangle::MeshState own;
    per_triangle::Stream stream(RandomDrawState());
    for (int view = 0; view < 13; ++view) {
      SCOPED_TRACE(std::string(c.name) + ", view " + std::to_string(view));
      viewState.textured = view >= 6;
      std::vector<unsigned char> pictures[2];
      std::vector<float> states[2];
      for (int side = 0; side < 2; ++side) {
        view < 12 ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);  // lines: a repeat must show
        // a start no mesh draw leaves by itself
        glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[7]);
        lastBoundSlot = 7;
        glEnable(GL_TEXTURE_2D);
        const GLfloat sky[4] = {0.6f, 0.6f, 1.0f, 1.0f};
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, sky);
        glNormal3f(0.0f, 0.6f, 0.8f);
        glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
        glTexCoord2f(5.0f, 6.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glScaled(1.0, 1.0, -1.0);  // the viewer on +z
        if (view % 3 == 1) glRotated(180.0, 1.0, 0.0, 0.0);
        if (view % 3 == 2) glTranslated(0.0, 0.0, 0.8);
        if (view < 12) {
          side == 0 ? stream.DrawMeshCached(mesh, own, viewState.textured) : mesh.DrawMeshCached();
        } else if (side == 1) {
          mesh.DrawMeshWireframe();
        } else {  // the line stream, less the lines an earlier triangle drew
          glDisable(GL_TEXTURE_2D);
          glBegin(GL_LINES);
          for (int32_t t = 0; t < mesh.triangleCount; ++t) {
            per_triangle::SetColour(mesh.materials[t]);
            glNormal3dv(&mesh.normals[t].x);
            for (int line = 0; line < 3; ++line) {
              if (std::count(c.skippedLines.begin(), c.skippedLines.end(), 3 * t + line)) continue;
              for (int k : LineEnds[line]) glVertex3d(mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]);
            }
          }
          glEnd();
        }
        pictures[side] = ReadSurface();
        states[side] = ReadGlState();
      }
      EXPECT_EQ(states[0], states[1]) << "GL state left behind";
      EXPECT_EQ(pictures[0] == pictures[1], !(c.closedOutward && view % 3 == 2 && view < 12)) << "picture";
    }
  }
}

}  // namespace
