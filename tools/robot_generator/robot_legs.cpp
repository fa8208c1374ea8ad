// The left leg (+x side): the upper leg fixed to the hull (hip joint, thigh, knee, sleeve) and the
// lower leg that the rig slides along kLegAxis (piston, ankle, foot, toes, heel). The right leg is
// the mirror of these meshes, made in robot_parts.cpp.
#include "tools/robot_generator/robot_legs.h"

#include <cmath>
#include <initializer_list>

#include "tools/robot_generator/primitives.h"
#include "tools/robot_generator/robot_layout.h"

namespace robogen {
namespace {

constexpr Material kMatte = Material::BlackMatte;
constexpr Material kChrome = Material::ChlngerChrome;
constexpr Material kArmour = Material::BlackRoboHood;
constexpr Material kGrey = Material::Default;

const Point3 kXAxis{1.0, 0.0, 0.0};

// A frame that maps local (u, v, w) to world (x, y, z) unchanged, moved to `origin`.
Frame WorldFrame(Point3 origin) {
  Frame f;
  f.origin = origin;
  return f;
}

// The piston that carries the foot: a thick first stage, a wiper collar, a thinner second stage
// and the rod end inside the ankle eye. It starts deep enough in the sleeve to stay inside it at
// full stride.
void BuildPiston(Mesh& mesh) {
  Frame axis = AxisFrame(kKneeCentre, kLegAxis);
  const ProfilePoint profile[] = {{0.0, 0.30},   {0.150, 0.30}, {0.165, 0.32}, {0.165, 1.50},
                                  {0.178, 1.52}, {0.178, 1.60}, {0.150, 1.62}, {0.132, 1.64},
                                  {0.132, 1.98}, {0.142, 2.00}, {0.142, 2.06}, {0.100, 2.12},
                                  {0.0, 2.15}};
  AppendLathe(mesh, axis, profile, sizeof(profile) / sizeof(profile[0]), 112, kChrome);
}

// The rod-end eye, the pin through it and the clevis plates that hold it on the foot.
void BuildAnkle(Mesh& mesh) {
  Point3 ankle = AlongLeg(kAnkleDistance);
  Frame pin = AxisFrame(ankle, kXAxis);
  AppendCylinder(mesh, pin, 0.17, -0.11, 0.11, 0.03, 64, kMatte);
  AppendCylinder(mesh, pin, 0.075, -0.33, 0.33, 0.015, 40, kChrome);
  for (double side : {-0.2, 0.2}) {
    Frame plate = WorldFrame(Point3{ankle.x + side, ankle.y, ankle.z - 0.1});
    AppendRoundedBox(mesh, plate, 0.045, 0.2, 0.28, 6.0, 32, 14, kMatte);
  }
}

// The foot stands on a rubber sole slab whose underside is the plane z = kSoleZ; the body above
// narrows towards the instep under the ankle.
void BuildFoot(Mesh& mesh) {
  Point3 ankle = AlongLeg(kAnkleDistance);
  Frame ground = WorldFrame(Point3{kLegX, ankle.y - 0.08, 0.0});
  const LoftSection sole[] = {{kSoleZ, 0.29, 0.62, 5.0},
                              {kSoleZ + 0.03, 0.31, 0.64, 5.0},
                              {kSoleZ + 0.08, 0.31, 0.64, 5.0},
                              {kSoleZ + 0.09, 0.29, 0.62, 5.0}};
  AppendLoft(mesh, ground, sole, 4, 64, kGrey);
  const LoftSection body[] = {
      {0.12, 0.27, 0.58, 4.0, 0.0, 0.0},   {0.16, 0.29, 0.60, 4.0, 0.0, 0.0},
      {0.22, 0.295, 0.60, 4.0, 0.0, 0.0},  {0.28, 0.29, 0.57, 4.0, 0.0, 0.02},
      {0.34, 0.275, 0.52, 4.0, 0.0, 0.05}, {0.39, 0.25, 0.45, 4.0, 0.0, 0.08},
      {0.43, 0.22, 0.37, 4.0, 0.0, 0.10},  {0.46, 0.18, 0.28, 4.0, 0.0, 0.12},
      {0.48, 0.12, 0.18, 4.0, 0.0, 0.12}};
  AppendLoft(mesh, ground, body, 9, 96, kArmour);
  AppendRoundedBox(mesh, WorldFrame(Point3{kLegX, ankle.y, 0.45}), 0.26, 0.22, 0.08, 6.0, 24, 8,
                   kMatte);
}

// A claw bent down towards its tip, as a loft along `direction` from `root`.
void AppendClaw(Mesh& mesh, Point3 root, Point3 direction, double length, double width,
                double height, double droop, int segments, Material material) {
  Frame f = AxisFrame(root, direction);
  constexpr int kSections = 10;
  LoftSection sections[kSections];
  for (int k = 0; k < kSections; ++k) {
    double t = static_cast<double>(k) / (kSections - 1);
    double taper = k == kSections - 1 ? 0.0 : std::pow(1.0 - t, 0.7);
    sections[k] = {length * t, width * taper, height * taper, 2.6, 0.0, -droop * t * t};
  }
  AppendLoft(mesh, f, sections, kSections, segments, material);
}

void BuildToes(Mesh& mesh) {
  Point3 ankle = AlongLeg(kAnkleDistance);
  constexpr double kDip = 0.2;  // radians the claws point below the horizontal
  for (int i = -1; i <= 1; ++i) {
    double splay = 0.28 * i;
    Point3 root{kLegX + 0.19 * i, ankle.y - 0.62 + 0.06 * std::fabs(i), 0.27};
    Point3 direction{std::sin(splay) * std::cos(kDip), -std::cos(splay) * std::cos(kDip),
                     -std::sin(kDip)};
    AppendClaw(mesh, root, direction, 0.55, 0.085, 0.09, 0.08, 40, kMatte);
    AppendSphere(mesh, WorldFrame(root), 0.1, 20, 6, kChrome);
  }
}

// The heel spur behind the foot and the armour shell over the toes' roots.
void BuildHeel(Mesh& mesh) {
  Point3 ankle = AlongLeg(kAnkleDistance);
  AppendClaw(mesh, Point3{kLegX, ankle.y + 0.45, 0.26}, Unit(Point3{0.0, 1.0, -0.3}), 0.45, 0.11,
             0.1, 0.05, 48, kMatte);
  Frame shell;  // sections across the foot, advancing forwards (-y), v up
  shell.origin = Point3{kLegX, 0.0, 0.0};
  shell.u = kXAxis;
  shell.v = Point3{0.0, 0.0, 1.0};
  shell.w = Point3{0.0, -1.0, 0.0};
  constexpr int kSections = 12;
  LoftSection sections[kSections];
  double back = -(ankle.y + 0.1);
  double front = -(ankle.y - 0.7);
  for (int k = 0; k < kSections; ++k) {
    double t = static_cast<double>(k) / (kSections - 1);
    double bulge = std::sin(3.14159265358979 * (0.15 + 0.85 * t));
    sections[k] = {
        back + (front - back) * t, 0.33 * (0.75 + 0.25 * bulge), 0.1 + 0.07 * bulge, 3.0, 0.0,
        0.44 - 0.14 * t * t};
  }
  AppendLoft(mesh, shell, sections, kSections, 64, kArmour);
}

// The ball of the hip with its axle into the hull, a bearing ring on the hull side and the cap
// outside the thigh.
void BuildHip(Mesh& mesh) {
  AppendSphere(mesh, WorldFrame(kHipCentre), 0.42, 40, 18, kMatte);
  Frame axle = AxisFrame(kHipCentre, kXAxis);
  AppendCylinder(mesh, axle, 0.2, -0.75, 0.55, 0.03, 40, kChrome);
  AppendCylinder(mesh, axle, 0.3, 0.40, 0.52, 0.04, 48, kMatte);
  Frame ring = axle;
  ring.origin = axle.Map(0.0, 0.0, -0.42);
  AppendTorus(mesh, ring, 0.27, 0.06, 40, 10, kChrome);
}

// Armoured thigh from the hip down and back to the knee, deepest behind the hip.
void BuildThigh(Mesh& mesh) {
  Point3 top{kLegX, kHipCentre.y, kHipCentre.z};
  Point3 span = kKneeCentre - top;
  double length = Length(span);
  Frame f = AxisFrame(top, span);
  constexpr int kSections = 20;
  LoftSection sections[kSections];
  for (int k = 0; k < kSections; ++k) {
    double t = static_cast<double>(k) / (kSections - 1);
    double w = -0.38 + (length + 0.62) * t;
    double end = std::sin(3.14159265358979 * (0.04 + 0.92 * t));
    double halfU = 0.21 - 0.04 * t;
    double halfV = (0.36 - 0.1 * t) * (0.55 + 0.45 * std::pow(end, 0.5));
    sections[k] = {w, halfU * (0.7 + 0.3 * std::pow(end, 0.3)), halfV, 3.5, 0.0, 0.06 * end};
  }
  AppendLoft(mesh, f, sections, kSections, 64, kArmour);
  Frame ram = AxisFrame(top + Point3{0.0, -0.34, -0.05}, span);
  AppendCapsule(mesh, ram, 0.06, 0.1, length - 0.15, 24, 4, kChrome);
}

void BuildKnee(Mesh& mesh) {
  Frame axle = AxisFrame(kKneeCentre, kXAxis);
  AppendCylinder(mesh, axle, 0.33, -0.3, 0.3, 0.05, 64, kMatte);
  for (double side : {-0.3, 0.3}) {
    Frame ring = axle;
    ring.origin = axle.Map(0.0, 0.0, side);
    AppendTorus(mesh, ring, 0.3, 0.05, 48, 10, kMatte);
  }
  AppendCylinder(mesh, axle, 0.12, 0.3, 0.38, 0.02, 24, kChrome);
  AppendCylinder(mesh, axle, 0.12, -0.38, -0.3, 0.02, 24, kChrome);
}

// The sleeve the piston slides in: a flanged tube along kLegAxis whose bore is open at the mouth.
void BuildSleeve(Mesh& mesh) {
  Frame axis = AxisFrame(kKneeCentre, kLegAxis);
  const double l = kSleeveLength;
  const ProfilePoint profile[] = {
      {0.2, 0.0},       {0.3, 0.0},       {0.32, 0.04},     {0.32, 0.3}, {0.28, 0.34},
      {0.28, l - 0.26}, {0.32, l - 0.22}, {0.32, l - 0.04}, {0.3, l},    {0.2, l}};
  AppendLathe(mesh, axis, profile, sizeof(profile) / sizeof(profile[0]), 80, kMatte, true);
  Frame collar = axis;
  collar.origin = axis.Map(0.0, 0.0, 0.5 * l);
  AppendTorus(mesh, collar, 0.285, 0.04, 48, 8, kChrome);
}

}  // namespace

void BuildLowerLeg(Mesh* objects) {
  BuildPiston(objects[0]);
  BuildAnkle(objects[1]);
  BuildFoot(objects[2]);
  BuildToes(objects[3]);
  BuildHeel(objects[4]);
}

void BuildUpperLeg(Mesh* objects) {
  BuildHip(objects[0]);
  BuildThigh(objects[1]);
  BuildKnee(objects[2]);
  BuildSleeve(objects[3]);
}

}  // namespace robogen
