// The scene reader, through LoadModelStream on in-memory files and LoadModelFile on real ones:
// name and header lines, vertex and face lines, materials, object boundaries, capacities, and the
// loader's statuses with its exact console text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <memory>
#include <string>

#include "model/asc_object_reader.h"
#include "model/model_file.h"
#include "platform/text_line_reader.h"

namespace {

struct LoadResult {
  int status;
  std::string console;
};

LoadResult Load(const std::string& text, ModelLibrary& library) {
  TextLineReader stream;
  stream.OpenMemory(text.data(), text.size());
  testing::internal::CaptureStdout();
  const int status = LoadModelStream(stream, library);
  return {status, testing::internal::GetCapturedStdout()};
}

std::string Object(const std::string& name, const std::string& body) {
  return "Named object: \"" + name + "\"\n" + body;
}

// A unit right triangle (0,0,0) (1,0,0) (1,1,0) and a fourth vertex, with the given face lines.
std::string Triangles(const std::string& faces) {
  return "Tri-mesh, Vertices: 4  Faces: 2\n"
         "Vertex list:\n"
         "Vertex 0:  X: 0 Y: 0 Z: 0\n"
         "Vertex 1:  X: 1 Y: 0 Z: 0\n"
         "Vertex 2:  X: 1 Y: 1 Z: 0\n"
         "Vertex 3:  X: 0.5 Y: -2.5e1 Z: +3.\n"
         "Face list:\n" +
         faces;
}

class SceneReader : public testing::Test {
 protected:
  std::unique_ptr<ModelLibrary> library = std::make_unique<ModelLibrary>();
  MeshObject& Slot(int i) { return library->slots[i]; }
};

TEST_F(SceneReader, NameLinesGiveTheQuotedNameAndMayBeIndented) {
  const LoadResult r = Load("junk before\n\n  \t" + Object("Hull", Triangles("")) + "\n\n\n" +
                                Object("A \"quoted\" name", Triangles("")),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console, "Reading models...  0:Hull;  1:A \"quoted\" name; \n");
  EXPECT_EQ(library->objectCount, 2);
}

TEST_F(SceneReader, ShortAndLongNamesStayInsideTheNameField) {
  const std::string longName(400, 'n');
  const LoadResult r = Load("Named object\n" + Triangles("") + "\nNamed object: \"x\n" + Triangles("") + "\n" +
                                Object(longName, Triangles("")),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_STREQ(Slot(0).name, "");  // 12 characters: no name part at all
  EXPECT_STREQ(Slot(1).name, "");  // 16 characters: an empty name
  EXPECT_EQ(std::string(Slot(2).name), std::string(255, 'n'));
}

TEST_F(SceneReader, HeaderLineMustScanFromTheFirstColumn) {
  LoadResult r = Load(Object("ok", Triangles("")) + "\n" + Object("bad", " " + Triangles("")) + "\n" +
                          Object("never", Triangles("")),
                      *library);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.console, "Reading models...  0:ok; Error reading header of object 1Error when reading object #1!\n");
  EXPECT_EQ(library->objectCount, 1);
  EXPECT_STREQ(Slot(1).name, "bad");
  EXPECT_EQ(Slot(1).triangleCount, 0);
}

TEST_F(SceneReader, NegativeVertexCountIsABadHeader) {
  const LoadResult r = Load(Object("neg", "Tri-mesh, Vertices: -5  Faces: 1\nVertex list:\n"), *library);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.console, "Reading models... Error reading header of object 0Error when reading object #0!\n");
}

TEST_F(SceneReader, FaceCountLimit) {
  std::string ok = Object("max", "Tri-mesh, Vertices: 0  Faces: 3000\nVertex list:\n");
  EXPECT_EQ(Load(ok, *library).status, 0);
  library = std::make_unique<ModelLibrary>();
  const LoadResult r = Load(Object("over", "Tri-mesh, Vertices: 0  Faces: 3001\nVertex list:\n") + "\nmore\n", *library);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.console, "Reading models... Error: too many triangles in object (3001)\nError when reading object #0!\n");
}

TEST_F(SceneReader, FileEndingRightAfterANameLineIsTheEndNotAnError) {
  const LoadResult r = Load(Object("one", Triangles("")) + "\n" + "Named object: \"cut\"", *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console, "Reading models...  0:one; Error reading header of object 1\n");
  EXPECT_EQ(library->objectCount, 1);
  EXPECT_STREQ(Slot(1).name, "cut");
}

TEST_F(SceneReader, VertexListLineIsSearchedFromTheHeaderInTheFirstColumn) {
  const LoadResult r = Load(Object("v", "Tri-mesh, Vertices: 3  Faces: 1\nMapped\n Vertex list:\nextra\n"
                                        "Vertex list: starts here\n"
                                        "Vertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                                        "Vertex 2:  X: 0 Y: 1 Z: 0\nFace list:\nFace 0: A:0 B:1 C:2\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Slot(0).triangleCount, 1);
}

TEST_F(SceneReader, NoVertexListBeforeTheEndStillEndsTheObject) {
  const LoadResult r = Load(Object("v", "Tri-mesh, Vertices: 3  Faces: 1\nno list here\n"), *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(library->objectCount, 1);
}

TEST_F(SceneReader, FacesUseListPositionsAndCornerOrder) {
  const LoadResult r = Load(Object("t", "Tri-mesh, Vertices: 3  Faces: 1\nVertex list:\n"
                                        "Vertex 7:  X: 1 Y: 1 Z: 0\nVertex 8:  X: 0 Y: 0 Z: 0\n"
                                        "Vertex 9:  X: 1 Y: 0 Z: 0\nFace list:\nFace 0: A:1 B:2 C:0 AB:1\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  const MeshObject& m = Slot(0);
  ASSERT_EQ(m.triangleCount, 1);
  EXPECT_EQ(m.cornerX[0][0], 0.0);
  EXPECT_EQ(m.cornerX[0][1], 1.0);
  EXPECT_EQ(m.cornerY[0][2], 1.0);
  EXPECT_EQ(m.normals[0].z, 1.0);
  EXPECT_EQ(m.materials[0], -1);
}

TEST_F(SceneReader, TheLineAfterTheVertexLinesIsConsumedEvenWhenItIsAFace) {
  const LoadResult r = Load(Object("t", "Tri-mesh, Vertices: 3  Faces: 2\nVertex list:\n"
                                        "Vertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                                        "Vertex 2:  X: 1 Y: 1 Z: 0\nFace 0: A:0 B:1 C:2\nFace 1: A:2 B:1 C:0\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(Slot(0).triangleCount, 1);
  EXPECT_EQ(Slot(0).normals[0].z, -1.0);  // only face 1 (2, 1, 0) is stored
}

TEST_F(SceneReader, NumbersScanExactlyLikeTheCLibrary) {
  const char* values[] = {"0.1", "-2.5e1", "+3.", ".5", "1e-310", "1e400", "-0", "123456789.123456789e-3",
                          "4.9406564584124654e-324", "2.2250738585072011e-308", "0.30000000000000004"};
  for (const char* value : values) {
    const std::string line = std::string("Vertex 1:  X: ") + value + " Y: " + value + " Z:" + value;
    double x = 1, y = 1, z = 1;
    testing::internal::CaptureStdout();
    ParseVertexLine(line.c_str(), &x, &y, &z);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const double expected = std::strtod(value, nullptr);
    EXPECT_EQ(std::signbit(x), std::signbit(expected)) << value;
    EXPECT_EQ(x, expected) << value;
    EXPECT_EQ(y, expected) << value;
    EXPECT_EQ(z, expected) << value;
  }
}

TEST_F(SceneReader, BadVertexAndFaceLinesAreReportedAndReadingGoesOn) {
  const LoadResult r = Load(Object("t", "Tri-mesh, Vertices: 4  Faces: 3\nVertex list:\n"
                                        "Vertex 0:  X: 5 Y: 5 Z: oops\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                                        "Vertex 2:  X: 1 Y: 1 Z: 0\nVertex 3:  X: 0 Y: 1 Z: 0\nFace list:\n"
                                        "Face 0: A:0 B:1\n"
                                        "Face 1: A:0 B:1 C:2\n"
                                        "Face 2: A:1 B:2 C:4\n"
                                        "Face 3: A:-1 B:2 C:3\n"
                                        "Bogus line\n"
                                        "Smoothing: 1\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console,
            "Reading models... Error reading a point from 'Vertex 0:  X: 5 Y: 5 Z: oops!'\n"
            "Error reading a face from 'Face 0: A:0 B:1!'\n"
            "Face refers to a vertex outside the vertex list: 'Face 2: A:1 B:2 C:4'\n"
            "Face refers to a vertex outside the vertex list: 'Face 3: A:-1 B:2 C:3'\n"
            "Unknown line while reading faces: 'Bogus line'\n"
            " 0:t; \n");
  const MeshObject& m = Slot(0);
  ASSERT_EQ(m.triangleCount, 1);  // only face 1; the failed vertex became (0, 0, 0)
  EXPECT_EQ(m.cornerX[0][0], 0.0);
  EXPECT_EQ(m.cornerY[0][0], 0.0);
}

TEST_F(SceneReader, VertexLinesBeyondTheAnnouncedCountAreNotStored) {
  const LoadResult r = Load(Object("t", "Tri-mesh, Vertices: 2  Faces: 1\nVertex list:\n"
                                        "Vertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                                        "Vertex 2:  X: 1 Y: 1 Z: 0\nFace list:\nFace 0: A:0 B:1 C:2\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Slot(0).triangleCount, 0);
  EXPECT_NE(r.console.find("outside the vertex list"), std::string::npos);
}

TEST_F(SceneReader, HugeAnnouncedVertexCountInATinyFileIsHarmless) {
  const LoadResult r = Load(Object("t", "Tri-mesh, Vertices: 2147483647  Faces: 1\nVertex list:\n"
                                        "Vertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\n"
                                        "Vertex 2:  X: 1 Y: 1 Z: 0\nFace list:\nFace 0: A:0 B:1 C:2\n"
                                        "Face 1: A:0 B:1 C:2000000\n"),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Slot(0).triangleCount, 1);
}

TEST_F(SceneReader, MaterialLinesSetTheLastTrianglesMaterial) {
  const LoadResult r = Load(Object("m", Triangles("Material: \"BLACK MATTE\"\n"  // before any face: no effect
                                                  "Face 0: A:0 B:1 C:2\nMaterial: \"DEFAULT\"\n"
                                                  "Face 1: A:0 B:1 C:2\nMaterial: \"CHLNGER CHROME\"\nMaterial: \"BLACK ROBO HOOD\"\n"
                                                  "Face 2: A:0 B:1 C:2\nMaterial: \"default\"\n"
                                                  "Face 3: A:0 B:1 C:2\n"
                                                  "Face 4: A:0 B:1 C:2\nMaterial\n"
                                                  "Face 5: A:0 B:1 C:2\nMaterial:x\"BLACK MATTE\"\n")),
                            *library);
  EXPECT_EQ(r.status, 0);
  const MeshObject& m = Slot(0);
  ASSERT_EQ(m.triangleCount, 6);
  EXPECT_EQ(m.materials[0], 3);
  EXPECT_EQ(m.materials[1], 2);   // the second material line decides
  EXPECT_EQ(m.materials[2], -1);  // case matters
  EXPECT_EQ(m.materials[3], -1);  // no material line
  EXPECT_EQ(m.materials[4], -1);  // too short to hold a name
  EXPECT_EQ(m.materials[5], 0);   // the three characters after "Material" are not checked
}

TEST_F(SceneReader, BlankLinesCloseObjectsAndNameLinesInsideFacesAreUnknown) {
  const LoadResult r = Load(Object("a", Triangles("Face 0: A:0 B:1 C:2\n" + Object("b", "") + "   \t\n")) +
                                "Face 1: A:0 B:1 C:2\n" + Object("c", Triangles("Face 0: A:0 B:1 C:2")),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.console, "Reading models... Unknown line while reading faces: 'Named object: \"b\"'\n 0:a;  1:c; \n");
  EXPECT_EQ(Slot(1).triangleCount, 1);  // last object: no final blank line, no final line end
}

TEST_F(SceneReader, ObjectWithoutFacesCountsWithNoTriangles) {
  const LoadResult r = Load(Object("empty", Triangles("")), *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(library->objectCount, 1);
  EXPECT_EQ(Slot(0).triangleCount, 0);
}

TEST_F(SceneReader, NoObjectsAtAll) {
  EXPECT_EQ(Load("", *library).console, "Reading models... \n");
  EXPECT_EQ(Load("just text\nand more\n", *library).console, "Reading models... \n");
  EXPECT_EQ(library->objectCount, 0);
}

TEST_F(SceneReader, FiftyObjectsFillTheLibraryAndTheRestIsIgnored) {
  std::string file;
  for (int i = 0; i < 51; ++i) file += Object("o" + std::to_string(i), Triangles("Face 0: A:0 B:1 C:2\n")) + "\n";
  const LoadResult r = Load(file, *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(library->objectCount, 50);
  EXPECT_STREQ(Slot(49).name, "o49");
  EXPECT_EQ(r.console.find("o50"), std::string::npos);
  EXPECT_TRUE(r.console.ends_with("48:o48; 49:o49; \n")) << r.console;
}

TEST_F(SceneReader, FacesBeyond3000AreDroppedAndLaterMaterialsHitThe3000th) {
  std::string faces;
  for (int i = 0; i < 3001; ++i) faces += "Face " + std::to_string(i) + ": A:0 B:1 C:2\nMaterial: \"DEFAULT\"\n";
  faces += "Face 3001: A:0 B:1 C:2\nMaterial: \"BLACK MATTE\"\n";
  testing::internal::CaptureStderr();
  const LoadResult r = Load(Object("big", Triangles(faces)), *library);
  const std::string diagnostics = testing::internal::GetCapturedStderr();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Slot(0).triangleCount, 3000);
  EXPECT_EQ(Slot(0).materials[2999], 0);
  EXPECT_EQ(diagnostics, "Error : max number of pts exceeded" "Error : max number of pts exceeded");
  EXPECT_EQ(r.console, "Reading models...  0:big; \n");
}

TEST_F(SceneReader, LongLinesAreSplitIntoSeveralLines) {
  // A 1023-character line is followed by an empty line, which ends the open object.
  const std::string filler(1023 - 9, ' ');
  const LoadResult r = Load(Object("s", Triangles("Face 0: A:0 B:1 C:2\n" "Smoothing" + filler + "\nFace 1: A:0 B:1 C:2\n")),
                            *library);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Slot(0).triangleCount, 1);
}

TEST(ModelFile, MissingOrUnreadableFilesGiveStatus2) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(LoadModelFile("/nonexistent/De_209.asc"), 2);
  EXPECT_EQ(LoadModelFile("/tmp"), 2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error opening file!\nError opening file!\n");
}

TEST(ModelFile, CarriageReturnsAndControlZOfARealFile) {
  const char* path = "/tmp/strivex-model-file-test.asc";
  FILE* file = std::fopen(path, "wb");
  std::fputs("Named object: \"crlf\"\r\nTri-mesh, Vertices: 3  Faces: 1\r\nVertex list:\r\n"
             "Vertex 0:  X: 0 Y: 0 Z: 0\r\nVertex 1:  X: 1 Y: 0 Z: 0\r\nVertex 2:  X: 1 Y: 1 Z: 0\r\n"
             "Face list:\r\nFace 0: A:0 B:1 C:2\r\nMaterial: \"BLACK MATTE\"\r\n\x1a\r\nNamed object: \"after\"\r\n",
             file);
  std::fclose(file);
  auto library = std::make_unique<ModelLibrary>();
  TextLineReader stream;
  ASSERT_TRUE(stream.Open(path));
  testing::internal::CaptureStdout();
  EXPECT_EQ(LoadModelStream(stream, *library), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Reading models...  0:crlf; \n");
  EXPECT_EQ(library->slots[0].materials[0], 0);
  std::remove(path);
}

}  // namespace

namespace {

// Random decimal texts of every shape the vertex lines can carry, against the C library.
TEST(NumberScanning, AgreesWithStrtodOnRandomDecimals) {
  uint64_t state = 88172645463325252ull;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 200000; ++i) {
    std::string number;
    if (next() % 4 == 0) number += (next() % 2) ? "-" : "+";
    const int integerDigits = static_cast<int>(next() % 22);
    const int fractionDigits = static_cast<int>(next() % 22);
    for (int d = 0; d < integerDigits; ++d) number += static_cast<char>('0' + next() % 10);
    if (fractionDigits > 0 || integerDigits == 0) number += '.';
    for (int d = 0; d < fractionDigits || (integerDigits == 0 && d == 0); ++d) number += static_cast<char>('0' + next() % 10);
    if (next() % 3 == 0) number += "e" + std::to_string(static_cast<int>(next() % 700) - 350);
    const std::string line = "Vertex 0:  X: " + number + " Y: 1 Z: 2";
    double x = 0, y = 0, z = 0;
    ParseVertexLine(line.c_str(), &x, &y, &z);
    const double expected = std::strtod(number.c_str(), nullptr);
    ASSERT_EQ(std::memcmp(&x, &expected, sizeof x), 0) << number << " gave " << x << ", strtod " << expected;
  }
}

}  // namespace

namespace {

TEST(NumberScanning, IntegersBeyond32BitsSaturate) {
  struct Case {
    const char* text;
    int32_t a;
  } cases[] = {{"Face 1: A:2147483647 B:0 C:0", INT32_MAX},
               {"Face 1: A:-2147483648 B:0 C:0", INT32_MIN},
               {"Face 1: A:2147483648 B:0 C:0", INT32_MAX},
               {"Face 1: A:-99999999999999999999999999 B:0 C:0", INT32_MIN},
               {"Face 1: A:000000000000000000000042 B:0 C:0", 42},
               {"Face 1: A:+7 B:0 C:0", 7}};
  for (const Case& c : cases) {
    int32_t a = 0, b = 1, cc = 1;
    EXPECT_TRUE(ParseFaceLine(c.text, &a, &b, &cc)) << c.text;
    EXPECT_EQ(a, c.a) << c.text;
    EXPECT_EQ(b, 0);
  }
}

}  // namespace
