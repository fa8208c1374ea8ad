// The closed shapes the robot is built from: each must be watertight and wound outwards, come
// close to its exact volume (which catches misplaced rings and wrong radii), and keep those
// properties through frames, mirroring and a mesh that runs out of room.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "generator/mesh_checks.h"
#include "tools/robot_generator/primitives.h"

namespace {

using namespace robogen;
using generator_test::CheckClosure;
using generator_test::IndexedMesh;

constexpr double kPi = 3.14159265358979323846;

IndexedMesh Indexed(const Mesh& mesh) {
  IndexedMesh m;
  for (int i = 0; i < mesh.VertexCount(); ++i) {
    const Point3& p = mesh.VertexAt(i);
    m.vertices.push_back({p.x, p.y, p.z});
  }
  for (int i = 0; i < mesh.FaceCount(); ++i) {
    const Face& f = mesh.FaceAt(i);
    m.faces.push_back({f.a, f.b, f.c});
  }
  return m;
}

// Area of a regular n-gon relative to its circumscribed circle.
double PolygonFactor(int n) { return n / (2.0 * kPi) * std::sin(2.0 * kPi / n); }

void ExpectClosedOutward(const Mesh& mesh, int pieces) {
  generator_test::Closure c = CheckClosure(Indexed(mesh));
  EXPECT_TRUE(c.Closed()) << "bad indices " << c.badIndices << ", unpaired edges "
                          << c.unpairedEdges << ", repeated edges " << c.repeatedEdges;
  EXPECT_EQ(c.degenerateFaces, 0);
  EXPECT_EQ(static_cast<int>(c.componentVolumes.size()), pieces);
  EXPECT_TRUE(c.AllOutward());
  EXPECT_FALSE(mesh.Failed());
}

// A slanted placement, so that a shape only passes when it follows its frame.
Frame Slanted() { return AxisFrame(Point3{1.0, -2.0, 0.5}, Point3{0.3, -0.8, 0.5}); }

// Volume swept by a polygonal profile (r, w) turned about the w axis: a sum of frustums. A lathe
// with n segments has exactly PolygonFactor(n) times this, since its rings are similar polygons.
double RevolvedVolume(const std::vector<std::array<double, 2>>& profile) {
  double v = 0.0;
  for (size_t k = 0; k + 1 < profile.size(); ++k) {
    double r1 = profile[k][0], r2 = profile[k + 1][0];
    v += kPi / 3.0 * (r1 * r1 + r1 * r2 + r2 * r2) * (profile[k + 1][1] - profile[k][1]);
  }
  return v;
}

// The profile of a unit sphere with `rings` bands, pole to pole.
std::vector<std::array<double, 2>> SphereProfile(int rings) {
  std::vector<std::array<double, 2>> p;
  for (int k = 0; k <= rings; ++k) {
    double phi = -0.5 * kPi + kPi * k / rings;
    p.push_back({k == 0 || k == rings ? 0.0 : std::cos(phi), std::sin(phi)});
  }
  return p;
}

TEST(GeneratorPrimitives, RoundShapesAreClosedOutwardAndHaveTheirVolume) {
  {
    Mesh m;
    m.Clear("cylinder");
    const double r = 0.5, b = 0.05;
    AppendCylinder(m, Slanted(), r, -1.0, 1.0, b, 256, Material::Default);
    ExpectClosedOutward(m, 1);
    double exact =
        RevolvedVolume({{0, -1}, {r - b, -1}, {r, -1 + b}, {r, 1 - b}, {r - b, 1}, {0, 1}});
    EXPECT_NEAR(SignedVolume(m), PolygonFactor(256) * exact, 1e-9);
  }
  {
    Mesh m;
    m.Clear("tube");
    AppendTube(m, Slanted(), 0.5, 0.3, 0.0, 1.5, 256, Material::Default);
    ExpectClosedOutward(m, 1);
    EXPECT_NEAR(SignedVolume(m), PolygonFactor(256) * kPi * (0.25 - 0.09) * 1.5, 1e-9);
  }
  {
    // Pappus: the 14-gon profile (area PolygonFactor(14) * pi r^2, centroid at R) turned about the
    // axis.
    Mesh m;
    m.Clear("torus");
    AppendTorus(m, Slanted(), 1.0, 0.25, 96, 14, Material::Default);
    ExpectClosedOutward(m, 1);
    double exact = PolygonFactor(96) * 2 * kPi * 1.0 * PolygonFactor(14) * kPi * 0.0625;
    EXPECT_NEAR(SignedVolume(m), exact, 1e-9);
  }
  {
    Mesh m;
    m.Clear("sphere");
    AppendSphere(m, Slanted(), 0.7, 64, 22, Material::Default);
    ExpectClosedOutward(m, 1);
    EXPECT_NEAR(SignedVolume(m), 0.343 * PolygonFactor(64) * RevolvedVolume(SphereProfile(22)),
                1e-9);
    EXPECT_NEAR(SignedVolume(m), 4.0 / 3.0 * kPi * 0.343, 0.03 * 4.0 / 3.0 * kPi * 0.343);
  }
  {
    Mesh m;
    m.Clear("capsule");
    AppendCapsule(m, Slanted(), 0.3, 0.0, 1.0, 48, 8, Material::Default);
    ExpectClosedOutward(m, 1);
    std::vector<std::array<double, 2>> profile;
    for (const auto& p : SphereProfile(16))
      profile.push_back({0.3 * p[0], 0.3 * p[1] + (p[1] > 0 ? 1.0 : 0.0)});
    profile.insert(profile.begin() + 9,
                   {0.3, 1.0});  // the equator ring repeats at both ends of the cylinder
    EXPECT_NEAR(SignedVolume(m), PolygonFactor(48) * RevolvedVolume(profile), 1e-9);
  }
}

TEST(GeneratorPrimitives, LoftsAndRoundedBoxesAreClosedOutwardWithTheirVolume) {
  {
    // A tall exponent makes each section nearly a rectangle of 2 x 1, so the loft nears a box.
    Mesh m;
    m.Clear("loft");
    const LoftSection sections[] = {
        {0.0, 1.0, 0.5, 40.0}, {1.0, 1.0, 0.5, 40.0}, {3.0, 1.0, 0.5, 40.0}};
    AppendLoft(m, Slanted(), sections, 3, 256, Material::Default);
    ExpectClosedOutward(m, 1);
    EXPECT_NEAR(SignedVolume(m), 2.0 * 1.0 * 3.0, 0.03 * 6.0);
  }
  {
    // Pointed at both ends: a double cone of radius 0.5 and length 2 (ellipse sections).
    Mesh m;
    m.Clear("spindle");
    const LoftSection sections[] = {
        {0.0, 0.0, 0.0, 2.0}, {1.0, 0.5, 0.5, 2.0}, {2.0, 0.0, 0.0, 2.0}};
    AppendLoft(m, Slanted(), sections, 3, 128, Material::Default);
    ExpectClosedOutward(m, 1);
    EXPECT_NEAR(SignedVolume(m), PolygonFactor(128) * 2.0 * kPi * 0.25 / 3.0, 1e-9);
  }
  {
    Mesh m;
    m.Clear("ellipsoid");
    AppendRoundedBox(m, Slanted(), 0.4, 0.6, 0.9, 2.0, 64, 20, Material::Default);
    ExpectClosedOutward(m, 1);
    EXPECT_NEAR(SignedVolume(m),
                0.4 * 0.6 * 0.9 * PolygonFactor(64) * RevolvedVolume(SphereProfile(20)), 1e-9);
  }
  {
    Mesh m;
    m.Clear("box");
    AppendRoundedBox(m, Slanted(), 0.4, 0.6, 0.9, 10.0, 64, 20, Material::Default);
    ExpectClosedOutward(m, 1);
    double box = 8 * 0.4 * 0.6 * 0.9;
    EXPECT_GT(SignedVolume(m), 0.85 * box);
    EXPECT_LT(SignedVolume(m), box);
  }
}

TEST(GeneratorPrimitives, FramesAreRightHandedWhateverTheAxis) {
  const Point3 axes[] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {0, -1, -1}, {0.2, 0.1, -3}, {0, 1, 0}};
  for (const Point3& axis : axes) {
    Frame f = AxisFrame(Point3{}, axis);
    Point3 uv = CrossProduct(f.u, f.v);
    EXPECT_NEAR(Length(f.u), 1.0, 1e-12);
    EXPECT_NEAR(Length(f.v), 1.0, 1e-12);
    EXPECT_NEAR(Length(uv - f.w), 0.0, 1e-12) << axis.x << " " << axis.y << " " << axis.z;
    EXPECT_NEAR(Length(f.w - Unit(axis)), 0.0, 1e-12);
  }
}

TEST(GeneratorPrimitives, MirroredMeshStaysClosedAndOutward) {
  Mesh m;
  m.Clear("pieces");
  AppendSphere(m, AxisFrame(Point3{1.0, 0.0, 0.0}, Point3{0, 0, 1}), 0.5, 32, 16,
               Material::BlackMatte);
  AppendTorus(m, AxisFrame(Point3{2.0, 1.0, 0.0}, Point3{1, 1, 0}), 0.6, 0.1, 40, 12,
              Material::ChlngerChrome);
  double before = SignedVolume(m);
  Point3 first = m.VertexAt(0);
  Mesh copy;
  copy.CopyFrom(m, "mirror");
  copy.MirrorX(-2.0);
  EXPECT_STREQ(copy.Name(), "mirror");
  ExpectClosedOutward(copy, 2);
  EXPECT_NEAR(SignedVolume(copy), before, 1e-9);
  EXPECT_DOUBLE_EQ(copy.VertexAt(0).x, -4.0 - first.x);
  EXPECT_EQ(copy.FaceAt(7).material, m.FaceAt(7).material);
}

TEST(GeneratorPrimitives, AShapeThatDoesNotFitIsLeftOutWhole) {
  Mesh m;
  m.Clear("full");
  for (int i = 0; i < 5; ++i)
    AppendSphere(m, AxisFrame(Point3{3.0 * i, 0, 0}, Point3{0, 0, 1}), 1.0, 40, 20,
                 Material::Default);
  EXPECT_TRUE(m.Failed());
  EXPECT_LE(m.FaceCount(), Mesh::kMaxFaces);
  EXPECT_GT(m.DemandedFaces(), Mesh::kMaxFaces);
  // What did fit is still a set of whole, closed spheres.
  generator_test::Closure c = CheckClosure(Indexed(m));
  EXPECT_TRUE(c.Closed());
  EXPECT_EQ(static_cast<int>(c.componentVolumes.size()) * 1520, m.FaceCount());

  m.Clear("again");
  EXPECT_FALSE(m.Failed());
  EXPECT_EQ(m.FaceCount(), 0);
  m.AddVertex(Point3{});
  m.AddFace(0, 0, 5, Material::Default);  // a vertex that does not exist
  EXPECT_TRUE(m.Failed());
  EXPECT_EQ(m.FaceCount(), 0);
}

}  // namespace
