// Closed shapes as swept rings. All of them end in SweepRings, which alone decides the winding:
// within a ring the points turn counter-clockwise about the direction in which the rings advance,
// so the quad diagonal (a, b, c) has Cross(b - a, c - b) pointing outwards, and the end fans reuse
// each ring edge in the opposite direction of the quads next to them.
#include "tools/robot_generator/primitives.h"

#include <cmath>

namespace robogen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Room for the rings of the largest shape a mesh can hold; shapes are built one at a time.
Point3 ringPoints[Mesh::kMaxVertices];

// rings are ring-major in `points`. With loop the last ring joins the first; otherwise the ends are
// closed by fans around startPole and endPole.
void SweepRings(Mesh& mesh, const Point3* points, int ringCount, int segments, bool loop,
                Point3 startPole, Point3 endPole, Material material) {
  if (ringCount < 1 || segments < 3 || (loop && ringCount < 3)) return;
  int bands = loop ? ringCount : ringCount - 1;
  int vertexNeed = ringCount * segments + (loop ? 0 : 2);
  int faceNeed = bands * segments * 2 + (loop ? 0 : 2 * segments);
  if (!mesh.Reserve(vertexNeed, faceNeed)) return;

  int first = mesh.VertexCount();
  for (int i = 0; i < ringCount * segments; ++i) mesh.AddVertex(points[i]);
  auto at = [&](int ring, int seg) {
    return first + (ring % ringCount) * segments + seg % segments;
  };

  for (int i = 0; i < bands; ++i) {
    for (int j = 0; j < segments; ++j) {
      int a = at(i, j), b = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
      mesh.AddFace(a, b, c, material);
      mesh.AddFace(a, c, d, material);
    }
  }
  if (loop) return;
  int start = mesh.AddVertex(startPole);
  int end = mesh.AddVertex(endPole);
  for (int j = 0; j < segments; ++j) {
    mesh.AddFace(start, at(0, j + 1), at(0, j), material);
    mesh.AddFace(end, at(ringCount - 1, j), at(ringCount - 1, j + 1), material);
  }
}

double Angle(int j, int segments) { return 2.0 * kPi * j / segments; }

// A shape whose rings do not fit the point buffer cannot fit the mesh either: ask for its real
// size, which marks the mesh failed and counts the faces it would have needed.
void RefuseShape(Mesh& mesh, int ringCount, int segments, bool loop) {
  int bands = loop ? ringCount : ringCount - 1;
  mesh.Reserve(ringCount * segments + (loop ? 0 : 2),
               bands * segments * 2 + (loop ? 0 : 2 * segments));
}

}  // namespace

double SignedPower(double x, double p) {
  double magnitude = std::pow(std::fabs(x), p);
  return x < 0.0 ? -magnitude : magnitude;
}

void AppendLathe(Mesh& mesh, const Frame& frame, const ProfilePoint* profile, int count,
                 int segments, Material material, bool loop) {
  if (count < 2 || segments < 3) return;
  int firstRing = 0;
  int lastRing = count - 1;
  if (!loop) {
    if (profile[0].r == 0.0) firstRing = 1;
    if (profile[count - 1].r == 0.0) lastRing = count - 2;
  }
  int ringCount = lastRing - firstRing + 1;
  if (ringCount < 1) return;
  if (ringCount * segments > Mesh::kMaxVertices) {
    RefuseShape(mesh, ringCount, segments, loop);
    return;
  }
  for (int i = 0; i < ringCount; ++i) {
    const ProfilePoint& p = profile[firstRing + i];
    for (int j = 0; j < segments; ++j) {
      double t = Angle(j, segments);
      ringPoints[i * segments + j] = frame.Map(p.r * std::cos(t), p.r * std::sin(t), p.w);
    }
  }
  Point3 startPole = frame.Map(0.0, 0.0, profile[0].w);
  Point3 endPole = frame.Map(0.0, 0.0, profile[count - 1].w);
  SweepRings(mesh, ringPoints, ringCount, segments, loop, startPole, endPole, material);
}

void AppendCylinder(Mesh& mesh, const Frame& frame, double radius, double w0, double w1,
                    double bevel, int segments, Material material) {
  const ProfilePoint profile[] = {{0.0, w0},
                                  {radius - bevel, w0},
                                  {radius, w0 + bevel},
                                  {radius, w1 - bevel},
                                  {radius - bevel, w1},
                                  {0.0, w1}};
  AppendLathe(mesh, frame, profile, 6, segments, material);
}

void AppendTube(Mesh& mesh, const Frame& frame, double outer, double inner, double w0, double w1,
                int segments, Material material) {
  const ProfilePoint profile[] = {{inner, w0}, {outer, w0}, {outer, w1}, {inner, w1}};
  AppendLathe(mesh, frame, profile, 4, segments, material, true);
}

void AppendTorus(Mesh& mesh, const Frame& frame, double major, double minor, int majorSegments,
                 int minorSegments, Material material) {
  constexpr int kMaxMinor = 64;
  if (minorSegments > kMaxMinor) minorSegments = kMaxMinor;
  ProfilePoint profile[kMaxMinor];
  for (int k = 0; k < minorSegments; ++k) {
    double t = Angle(k, minorSegments);
    profile[k] = {major + minor * std::cos(t), minor * std::sin(t)};
  }
  AppendLathe(mesh, frame, profile, minorSegments, majorSegments, material, true);
}

void AppendSphere(Mesh& mesh, const Frame& frame, double radius, int segments, int rings,
                  Material material) {
  AppendRoundedBox(mesh, frame, radius, radius, radius, 2.0, segments, rings, material);
}

void AppendCapsule(Mesh& mesh, const Frame& frame, double radius, double w0, double w1,
                   int segments, int capRings, Material material) {
  constexpr int kMaxCapRings = 32;
  if (capRings > kMaxCapRings) capRings = kMaxCapRings;
  if (capRings < 2) capRings = 2;
  ProfilePoint profile[2 * kMaxCapRings + 2];
  int n = 0;
  for (int k = 0; k <= capRings; ++k) {  // bottom pole up to the equator at w0
    double phi = -0.5 * kPi + 0.5 * kPi * k / capRings;
    profile[n++] = {k == 0 ? 0.0 : radius * std::cos(phi), w0 + radius * std::sin(phi)};
  }
  for (int k = 0; k <= capRings; ++k) {  // equator at w1 up to the top pole
    double phi = 0.5 * kPi * k / capRings;
    profile[n++] = {k == capRings ? 0.0 : radius * std::cos(phi), w1 + radius * std::sin(phi)};
  }
  AppendLathe(mesh, frame, profile, n, segments, material);
}

void AppendLoft(Mesh& mesh, const Frame& frame, const LoftSection* sections, int count,
                int segments, Material material) {
  if (count < 1 || segments < 3) return;
  auto isTip = [](const LoftSection& s) { return s.halfU == 0.0 && s.halfV == 0.0; };
  int firstRing = isTip(sections[0]) ? 1 : 0;
  int lastRing = isTip(sections[count - 1]) ? count - 2 : count - 1;
  int ringCount = lastRing - firstRing + 1;
  if (ringCount < 1) return;
  if (ringCount * segments > Mesh::kMaxVertices) {
    RefuseShape(mesh, ringCount, segments, false);
    return;
  }
  for (int i = 0; i < ringCount; ++i) {
    const LoftSection& s = sections[firstRing + i];
    double p = 2.0 / s.exponent;
    for (int j = 0; j < segments; ++j) {
      double t = Angle(j, segments);
      ringPoints[i * segments + j] =
          frame.Map(s.centreU + s.halfU * SignedPower(std::cos(t), p),
                    s.centreV + s.halfV * SignedPower(std::sin(t), p), s.w);
    }
  }
  const LoftSection& a = sections[0];
  const LoftSection& b = sections[count - 1];
  SweepRings(mesh, ringPoints, ringCount, segments, false, frame.Map(a.centreU, a.centreV, a.w),
             frame.Map(b.centreU, b.centreV, b.w), material);
}

void AppendRoundedBox(Mesh& mesh, const Frame& frame, double hu, double hv, double hw,
                      double roundness, int segments, int rings, Material material) {
  constexpr int kMaxRings = 64;
  if (rings > kMaxRings) rings = kMaxRings;
  if (rings < 2) rings = 2;
  LoftSection sections[kMaxRings + 1];
  double p = 2.0 / roundness;
  for (int k = 0; k <= rings; ++k) {
    double phi = -0.5 * kPi + kPi * k / rings;
    double scale = (k == 0 || k == rings) ? 0.0 : std::pow(std::cos(phi), p);
    sections[k] = {hw * SignedPower(std::sin(phi), p), hu * scale, hv * scale, roundness};
  }
  AppendLoft(mesh, frame, sections, rings + 1, segments, material);
}

}  // namespace robogen
