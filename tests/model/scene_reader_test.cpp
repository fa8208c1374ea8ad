// The scene reader through LoadModelStream on files held in memory, each read from memory and
// through the file path: one table of files with the status, the exact console text and what the
// first object holds; then the loader's limits. A file that cannot be opened is tried on the real
// program (tests/e2e).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

#include "model/model_file.h"
#include "model/vertex_face_lines.h"
#include "platform/text_line_reader.h"
#include "support/scratch_dir.h"
#include "support/text_source.h"

namespace {

struct Loaded {
  int status;
  std::string console;
  std::unique_ptr<ModelLibrary> library;
};

Loaded Load(const std::string& text, bool fromFile = false) {
  auto library = std::make_unique<ModelLibrary>();
  TextLineReader stream;
  EXPECT_TRUE(OpenText(stream, text, fromFile));
  testing::internal::CaptureStdout();
  const int status = LoadModelStream(stream, *library);
  return {status, testing::internal::GetCapturedStdout(), std::move(library)};
}

// Vertex i of a list is (i+1, 10(i+1), 100(i+1)), numbered from 5 in its line: the number is not used.
std::string Body(int announced, int lines, const std::string& faces) {
  std::string text = "Tri-mesh, Vertices: " + std::to_string(announced) + "  Faces: 2\nVertex list:\n";
  for (int i = 1; i <= lines; ++i) {
    text += "Vertex " + std::to_string(i + 4) + ":  X: " + std::to_string(i) + " Y: " + std::to_string(10 * i) +
            ".0 Z: " + std::to_string(i) + "e2\n";
  }
  return text + "Face list:\n" + faces;
}

std::string Mesh(const std::string& name, int announced, int lines, const std::string& faces) {
  return "Named object: \"" + name + "\"\n" + Body(announced, lines, faces);
}

// Each triangle as its corners' vertex numbers ('o' a corner at the origin) and its material; a
// triangle with two corners at one place keeps a zero normal.
std::string Triangles(const MeshObject& m) {
  std::string out;
  for (int t = 0; t < m.triangleCount; ++t) {
    for (int k = 0; k < 3; ++k) {
      const double x = m.cornerX[t][k];
      out += m.cornerY[t][k] != 10 * x || m.cornerZ[t][k] != 100 * x ? '?' : x == 0 ? 'o' : char('0' + x - 1);
    }
    out += (std::isnan(m.normals[t].x) ? "(no normal):" : ":") + std::to_string(m.materials[t]) + " ";
  }
  return out + (m.closedOutward ? "closed" : "");
}

const std::string kFace012 = "Face 0: A:0 B:1 C:2\n";
std::string Unknown(const std::string& text) { return "Unknown line while reading faces: '" + text + "'\n"; }
std::string Outside(const std::string& t) { return "Face refers to a vertex outside the vertex list: '" + t + "'\n"; }

TEST(SceneReader, FilesGiveTheirStatusConsoleAndTriangles) {
  // Status, console text after "Reading models... " and the triangles of slot 0.
  const struct Case {
    std::string file;
    int status;
    std::string console, triangles;
  } cases[] = {
      {"junk\n\n  \t" + Mesh("Hull", 3, 3, "Face 1: A:2 B:0 C:1 AB:1\n") + "\n\n" + Mesh("A \"q\"", 0, 0, ""), 0,
       " 0:Hull;  1:A \"q\"; \n", "201:-1 "},
      {"Named object\n" + Body(0, 0, "") + "\nNamed object: \"x\n" + Body(0, 0, "") + "\n" +
           Mesh(std::string(300, 'n'), 0, 0, ""), 0, " 0:;  1:;  2:" + std::string(255, 'n') + "; \n", ""},
      // Each line kind with only its compared characters right, and with one of them wrong.
      {"Named objec: \"no\"\nNamed object###N#\n" + Body(3, 3, "") + "Face7: A:0 B:1 C:2\nMaterial###DEFAULT#\n" +
           "Smoothing7\nFacx 0: A:0 B:1 C:2\nMateriaX: \"DEFAULT\"\nSmoothinX\n", 0,
       Unknown("Facx 0: A:0 B:1 C:2") + Unknown("MateriaX: \"DEFAULT\"") + Unknown("SmoothinX") + " 0:N; \n", "012:3 "},
      {"Named object: \"v\"\nTri-mesh, Vertices: 3  Faces: 1\n Vertex list:\nVertex liXt:\nVertex 0:  X: 9 Y: 9 Z: 9\n"
       "Vertex lisX\nVertex7:  X: 1 Y: 10 Z: 100\nVertex 0:  X: 2 Y: 20 Z: 200\nVertez 2:  X: 3 Y: 30 Z: 300\n" +
           kFace012 + kFace012, 0, " 0:v; \n", "01o:-1 01o:-1 "},
      // Headers: read from the first column, both numbers, at most 3000 faces.
      {Mesh("ok", 0, 0, "") + "\nNamed object: \"bad\"\n " + Body(0, 0, "") + "\n" + Mesh("never", 0, 0, ""), 3,
       " 0:ok; Error reading header of object 1Error when reading object #1!\n", ""},
      {"Named object\nTri-mesh, Vertices: 5\n\n", 3, "Error reading header of object 0Error when reading object #0!\n", ""},
      {"Named object: \"m\"\nTri-mesh, Vertices: 0  Faces: 3000\n", 0, " 0:m; \n", ""},
      {"Named object: \"m\"\nTri-mesh, Vertices: 0  Faces: 3001\nVertex list:\n\nmore\n", 3,
       "Error: too many triangles in object (3001)\nError when reading object #0!\n", ""},
      {Mesh("one", 0, 0, "") + "\nNamed object: \"cut\"", 0, " 0:one; Error reading header of object 1\n", ""},
      {"", 0, "\n", ""},
      // Vertex and face lines: bad ones reported, the line after the vertex lines consumed.
      {"Named object: \"b\"\nTri-mesh, Vertices: 4  Faces: 2\nVertex list:\nVertex 0:  X: 1 Y: 10 Z: oops\n"
       "Vertex 1:\v\f\r X: 2 Y: 20 Z: 200\nFace list:\nFace 0: A:0 B:1 C:0\nFace 2: A:0 B:1\nMaterial: \"DEFAULT\"\n"
       "Bogus\nNamed object: \"in faces\"\n\n" + kFace012, 0,
       "Error reading a point from 'Vertex 0:  X: 1 Y: 10 Z: oops!'\nError reading a face from 'Face 2: A:0 B:1!'\n" +
           Unknown("Bogus") + Unknown("Named object: \"in faces\"") + " 0:b; \n", "o1o:-1 "},
      // Materials: the last line after a face decides, exact names only; none before the first face.
      {Mesh("m", 3, 3, "Material: \"BLACK MATTE\"\n" + kFace012 + "Material: \"DEFAULT\"\n" + kFace012 +
                           "Material: \"CHLNGER CHROME\"\nMaterial: \"BLACK ROBO HOOD\"\n" + kFace012 +
                           "Material: \"default\"\n" + kFace012 + kFace012 + "Material\n" + kFace012 +
                           "Material: \"BLACK MATTE\"\n" + kFace012 + "Material: \"CHLNGER CHROME\"\n" + kFace012 +
                           std::string("Material: \"DEFAULT\"\0x\"\n", 23) + kFace012 +
                           "Material: \"DEFAULT\" \n" + kFace012 + std::string("Material: \"DEFAULT\0\n", 20) +
                           kFace012 + std::string("Material\0: \"DEFAULT\"\n", 21)),
       0, " 0:m; \n", "012:3 012:2 012:-1 012:-1 012:-1 012:0 012:1 012:3 012:-1 012:-1 012:-1 "},
      // A blank line among the vertex lines closes the object: the face after it is no part of it.
      {"Named object: \"gap\"\nTri-mesh, Vertices: 3  Faces: 1\nVertex list:\nVertex 0:  X: 1 Y: 10 Z: 100\n\n" +
           kFace012, 0, " 0:gap; \n", ""},
      // Closed and wound outward, corners compared by position: vertex 4 is vertex 0 again.
      {"Named object: \"tet\"\nTri-mesh, Vertices: 5  Faces: 4\nVertex list:\nVertex 0:  X: 0 Y: 0 Z: 0\n"
       "Vertex 1:  X: 1 Y: 0 Z: 0\nVertex 2:  X: 0 Y: 1 Z: 0\nVertex 3:  X: 0 Y: 0 Z: 1\nVertex 4:  X: 0 Y: 0 Z: 0\n"
       "Face list:\nFace 0: A:0 B:2 C:1\nFace 1: A:4 B:1 C:3\nFace 2: A:0 B:3 C:2\nFace 3: A:1 B:2 C:3\n", 0,
       " 0:tet; \n", "o??:-1 o??:-1 o??:-1 ???:-1 closed"},
      // Faces inside the list as allocated are kept (unread vertices are at the origin); faces
      // outside it are dropped, and so are the material lines after them.
      {Mesh("d", 4, 2, kFace012 + "Material: \"DEFAULT\"\nFace 1: A:3 B:1 C:0\nFace 2: A:0 B:1 C:4\nSmoothing: 1\n"
                                  "Material: \"BLACK MATTE\"\nFace 3: A:-1 B:0 C:1\nMaterial: \"BLACK MATTE\"\n"
                                  "Face 4: A:4294967296 B:0 C:1\n"), 0,
       Outside("Face 2: A:0 B:1 C:4") + Outside("Face 3: A:-1 B:0 C:1") + Outside("Face 4: A:4294967296 B:0 C:1") +
           " 0:d; \n", "01o:3 o10:-1 "},
      {Mesh("big", 2000000000, 4, kFace012 + "Face 1: A:+3 B:0000000000000000000020 C:-0\n" +
                                      "Face 2: A:0 B:1 C:1999999999\nMaterial: \"DEFAULT\"\n"),
       0, Outside("Face 2: A:0 B:1 C:1999999999") + " 0:big; \n", "012:-1 3o0:-1 "},
      {Mesh("few", 2, 3, kFace012), 0, Outside("Face 0: A:0 B:1 C:2") + " 0:few; \n", ""},
      // A 1023-character line is followed by an empty one, which closes the object.
      {Mesh("s", 3, 3, kFace012 + "Smoothing" + std::string(1014, ' ') + "\n" + kFace012), 0, " 0:s; \n", "012:-1 "},
  };
  for (const Case& c : cases) {
    for (bool fromFile : {false, true}) {
      SCOPED_TRACE(fromFile ? "from a file" : "from memory");
      const Loaded loaded = Load(c.file, fromFile);
      EXPECT_EQ(loaded.status, c.status) << c.file;
      EXPECT_EQ(loaded.console, "Reading models... " + c.console) << c.file;
      EXPECT_EQ(Triangles(loaded.library->slots[0]), c.triangles) << c.file;
    }
  }
}

TEST(SceneReader, FiftyObjectsAtMostAndFacesBeyond3000DroppedWithTheirMaterials) {
  std::string file, faces;
  for (int i = 0; i < 51; ++i) file += Mesh("o" + std::to_string(i), 3, 3, kFace012) + "\n";
  const Loaded fifty = Load(file);
  EXPECT_EQ(fifty.library->objectCount, 50);
  EXPECT_TRUE(fifty.console.ends_with("48:o48; 49:o49; \n")) << fifty.console;
  for (int i = 0; i < 3002; ++i) faces += kFace012 + "Material: \"" + (i < 3000 ? "DEFAULT" : "BLACK MATTE") + "\"\n";
  testing::internal::CaptureStderr();
  const Loaded big = Load(Mesh("big", 3, 3, faces));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error : max number of pts exceededError : max number of pts exceeded");
  EXPECT_EQ(big.library->slots[0].triangleCount, 3000);
  EXPECT_EQ(big.library->slots[0].materials[2999], 3);
}

// A library read into again (the fuzzer's, input after input) keeps nothing of the load before:
// no slot beyond the new objects, no chosen texture offset, no triangles appended to the old ones.
TEST(SceneReader, ALibraryReadAgainKeepsNothingOfTheLoadBefore) {
  const std::string tetrahedron =
      "Named object: \"t\"\nTri-mesh, Vertices: 4  Faces: 4\nVertex list:\nVertex 0:  X: 0 Y: 0 Z: 0\n"
      "Vertex 1:  X: 1 Y: 0 Z: 0\nVertex 2:  X: 0 Y: 1 Z: 0\nVertex 3:  X: 0 Y: 0 Z: 1\nFace list:\n"
      "Face 0: A:0 B:2 C:1\nFace 1: A:0 B:1 C:3\nFace 2: A:1 B:2 C:3\nFace 3: A:2 B:0 C:3\n\n";
  Loaded loaded = Load(tetrahedron + Mesh("second", 3, 3, kFace012));
  ModelLibrary& library = *loaded.library;
  ASSERT_EQ(library.objectCount, 2);
  library.slots[0].texOffsets[3][0] = 0.5;
  TextLineReader stream;
  stream.OpenMemory(tetrahedron.data(), tetrahedron.size());
  testing::internal::CaptureStdout();
  EXPECT_EQ(LoadModelStream(stream, library), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Reading models...  0:t; \n");
  EXPECT_EQ(library.objectCount, 1);
  EXPECT_EQ(library.slots[0].triangleCount, 4);
  EXPECT_TRUE(library.slots[0].closedOutward);
  EXPECT_EQ(library.slots[0].texOffsets[3][0], -1.0);
  EXPECT_STREQ(library.slots[1].name, "");
  EXPECT_EQ(library.slots[1].triangleCount, 0);
}

// What drawing takes from each triangle: the lengths of AB and BC, their largest, and the unit normal
// AB x BC. Three triangles, so that one is left over when they are derived two at a time.
TEST(SceneReader, TrianglesCarryTheirEdgeLengthsAndNormals) {
  const Loaded loaded = Load(
      "Named object: \"d\"\nTri-mesh, Vertices: 4  Faces: 3\nVertex list:\nVertex 0:  X: 0 Y: 0 Z: 0\n"
      "Vertex 1:  X: 3 Y: 0 Z: 0\nVertex 2:  X: 0 Y: 4 Z: 0\nVertex 3:  X: 0 Y: 0 Z: 12\nFace list:\n"
      "Face 0: A:0 B:3 C:1\nFace 1: A:0 B:1 C:2\nFace 2: A:1 B:0 C:2\n");
  const MeshObject& m = loaded.library->slots[0];
  ASSERT_EQ(m.triangleCount, 3);
  const double edges[3][2] = {{12, std::sqrt(153.0)}, {3, 5}, {3, 4}};
  const double normals[3][3] = {{0, 1, 0}, {0, 0, 1}, {0, 0, -1}};
  using Pair = std::pair<double, double>;
  for (int t = 0; t < 3; ++t) {
    EXPECT_EQ(Pair(m.edgeLengths[t][0], m.edgeLengths[t][1]), Pair(edges[t][0], edges[t][1])) << t;
    const Vec3& n = m.normals[t];
    EXPECT_EQ(std::make_tuple(n.x, n.y, n.z), std::make_tuple(normals[t][0], normals[t][1], normals[t][2])) << t;
  }
  EXPECT_EQ(Pair(m.maxEdgeLength[0], m.maxEdgeLength[1]), Pair(12, std::sqrt(153.0)));
}

// A pipe gives no size to bound the announced count by, so the list is asked for in full and the
// allocation fails: the load must say so and refuse the object, in the sanitized build too.
TEST(SceneReader, AListTooLargeForMemoryIsRefusedWithItsCount) {
  ScratchDir dir;
  const std::string fifo = dir.File("scene");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] {
    std::ofstream(fifo) << "Named object: \"A\"\nTri-mesh, Vertices: 2147483647  Faces: 1\nVertex list:\n";
  });
  auto library = std::make_unique<ModelLibrary>();
  TextLineReader stream;
  ASSERT_TRUE(stream.Open(fifo.c_str()));
  testing::internal::CaptureStdout();
  const int status = LoadModelStream(stream, *library);
  writer.join();
  EXPECT_EQ(status, 3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Reading models... Error: not enough memory for 2147483647 vertices\nError when reading object #0!\n");
}

// Random decimals of every shape a vertex line can carry must give strtod's double, bit for bit: X
// after one blank takes the short path where the number allows, Z after two always the general one.
TEST(NumberScanning, AgreesWithStrtod) {
  uint64_t state = 88172645463325252ull;
  auto next = [&state](uint64_t n) { return (state ^= state << 13, state ^= state >> 7, state ^= state << 17) % n; };
  auto bits = [](double d) { return std::bit_cast<uint64_t>(d); };
  for (int i = 0; i < 100000; ++i) {
    std::string number = next(4) ? "" : next(2) ? "-" : "+";
    const uint64_t integers = next(22), fractions = next(22) + (integers == 0);
    for (uint64_t d = 0; d < integers + fractions; ++d) number += (d == integers ? "." : "") + std::to_string(next(10));
    if (fractions == 0 && next(2)) number += ".";
    const int exponent = static_cast<int>(next(700)) - 350;
    if (next(3) == 0)
      number += "eE"[next(2)] + std::string(exponent < 0 ? "-" : next(2) ? "+" : "") + std::to_string(std::abs(exponent));
    double x = 0, y = 0, z = 0;
    ParseVertexLine(("Vertex 0:  X: " + number + " Y:1 Z:  " + number).c_str(), &x, &y, &z);
    const uint64_t expected = bits(std::strtod(number.c_str(), nullptr));
    ASSERT_EQ(std::make_pair(bits(x), bits(z)), std::make_pair(expected, expected)) << number << " gave " << x << ", " << z;
  }
}

}  // namespace
