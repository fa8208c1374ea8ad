// Hull, cockpit and weapon pod. The hull and cockpit are lofts whose cross-sections follow a few
// hand-set control sections, interpolated smoothly so that flat shading shows no ridges.
#include "tools/robot_generator/robot_body.h"

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
constexpr double kPi = 3.14159265358979323846;

// Lofts that run from the back of the robot to its front: u = +x, v = +z, w = -y.
Frame ForwardFrame(double y0) {
  Frame f;
  f.origin = Point3{kRobotCentreX, y0, 0.0};
  f.u = Point3{1.0, 0.0, 0.0};
  f.v = Point3{0.0, 0.0, 1.0};
  f.w = Point3{0.0, -1.0, 0.0};
  return f;
}

double CatmullRom(double p0, double p1, double p2, double p3, double t) {
  return 0.5 * (2.0 * p1 + (p2 - p0) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t * t +
                (3.0 * p1 - p0 - 3.0 * p2 + p3) * t * t * t);
}

// `count` sections spread over the control sections' range, each field interpolated
// through the controls (w of the controls must increase).
void InterpolateSections(const LoftSection* controls, int controlCount, LoftSection* out,
                         int count) {
  double first = controls[0].w;
  double last = controls[controlCount - 1].w;
  for (int k = 0; k < count; ++k) {
    // Denser towards both ends, where the shape closes and changes fastest.
    double w = first + (last - first) * 0.5 * (1.0 - std::cos(kPi * k / (count - 1)));
    int i = 0;
    while (i < controlCount - 2 && controls[i + 1].w <= w) ++i;
    const LoftSection& a = controls[i > 0 ? i - 1 : i];
    const LoftSection& b = controls[i];
    const LoftSection& c = controls[i + 1];
    const LoftSection& d = controls[i + 2 < controlCount ? i + 2 : i + 1];
    double t = (w - b.w) / (c.w - b.w);
    out[k].w = w;
    out[k].halfU = CatmullRom(a.halfU, b.halfU, c.halfU, d.halfU, t);
    out[k].halfV = CatmullRom(a.halfV, b.halfV, c.halfV, d.halfV, t);
    out[k].exponent = CatmullRom(a.exponent, b.exponent, c.exponent, d.exponent, t);
    out[k].centreU = CatmullRom(a.centreU, b.centreU, c.centreU, d.centreU, t);
    out[k].centreV = CatmullRom(a.centreV, b.centreV, c.centreV, d.centreV, t);
  }
}

}  // namespace

void BuildHull(Mesh& mesh) {
  const LoftSection controls[] = {
      {-1.46, 0.50, 0.30, 3.0, 0.0, 4.26}, {-1.38, 1.00, 0.62, 5.0, 0.0, 4.25},
      {-1.15, 1.24, 0.74, 6.0, 0.0, 4.22}, {-0.50, 1.30, 0.76, 6.0, 0.0, 4.20},
      {0.30, 1.28, 0.74, 6.0, 0.0, 4.16},  {0.85, 1.12, 0.62, 5.0, 0.0, 4.06},
      {1.22, 0.72, 0.40, 4.0, 0.0, 3.96},  {1.42, 0.32, 0.18, 3.0, 0.0, 3.91},
      {1.46, 0.10, 0.06, 2.5, 0.0, 3.90}};
  constexpr int kSections = 20;
  LoftSection sections[kSections];
  InterpolateSections(controls, sizeof(controls) / sizeof(controls[0]), sections, kSections);
  AppendLoft(mesh, ForwardFrame(kRobotCentreY), sections, kSections, 44, kArmour);
  Point3 forward{0.0, -1.0, 0.0};
  for (double side : {-1.0, 1.0}) {
    // Exhaust stacks at the back.
    Frame stack = AxisFrame(Point3{kRobotCentreX + 0.5 * side, kRobotCentreY + 1.2, 4.5},
                            Point3{0.0, 1.0, 0.0});
    AppendTube(mesh, stack, 0.14, 0.1, 0.0, 0.32, 20, kMatte);
    // Twin chin guns under the nose.
    Frame barrel =
        AxisFrame(Point3{kRobotCentreX + 0.24 * side, kRobotCentreY - 0.8, 3.62}, forward);
    AppendCylinder(mesh, barrel, 0.07, 0.0, 1.05, 0.02, 20, kChrome);
    // Bearings where the pod arms leave the hull.
    Frame bearing = AxisFrame(Point3{kRobotCentreX + 1.16 * side, kRobotCentreY - 0.05, 4.45},
                              Point3{side, 0.0, 0.0});
    AppendCylinder(mesh, bearing, 0.2, 0.0, 0.1, 0.03, 32, kMatte);
  }
}

void BuildCockpit(Mesh& mesh) {
  const LoftSection controls[] = {
      {-0.84, 0.12, 0.08, 2.5, 0.0, 5.15}, {-0.80, 0.30, 0.20, 3.0, 0.0, 5.15},
      {-0.65, 0.55, 0.36, 3.5, 0.0, 5.22}, {-0.20, 0.72, 0.42, 4.0, 0.0, 5.28},
      {0.25, 0.68, 0.38, 4.0, 0.0, 5.25},  {0.60, 0.50, 0.28, 3.5, 0.0, 5.18},
      {0.76, 0.22, 0.12, 3.0, 0.0, 5.15},  {0.80, 0.08, 0.05, 2.5, 0.0, 5.15}};
  constexpr int kSections = 16;
  LoftSection sections[kSections];
  InterpolateSections(controls, sizeof(controls) / sizeof(controls[0]), sections, kSections);
  AppendLoft(mesh, ForwardFrame(kRobotCentreY), sections, kSections, 48, kArmour);
  // The canopy glass: a flattened dome set into the front of the cockpit, bulging out of it.
  Frame glass;
  glass.origin = Point3{kRobotCentreX, kRobotCentreY - 0.5, 5.3};
  AppendRoundedBox(mesh, glass, 0.52, 0.34, 0.2, 2.6, 40, 12, kGrey);
  Frame mast;
  mast.origin = Point3{kRobotCentreX + 0.4, kRobotCentreY + 0.35, 5.5};
  AppendCylinder(mesh, mast, 0.02, 0.0, 0.6, 0.005, 12, kChrome);
  Frame tip = mast;
  tip.origin = mast.Map(0.0, 0.0, 0.62);
  AppendSphere(mesh, tip, 0.04, 12, 6, kChrome);
}

void BuildLeftPod(Mesh& mesh) {
  Point3 centre{kRobotCentreX + 1.78, kRobotCentreY - 0.05, 4.45};
  Frame body;
  body.origin = centre;
  AppendRoundedBox(mesh, body, 0.30, 0.62, 0.34, 8.0, 48, 18, kMatte);
  for (double du : {-0.13, 0.13}) {
    for (double dv : {-0.14, 0.14}) {
      Frame launcher =
          AxisFrame(Point3{centre.x + du, centre.y - 0.45, centre.z + dv}, Point3{0.0, -1.0, 0.0});
      AppendTube(mesh, launcher, 0.1, 0.075, 0.0, 0.25, 24, kChrome);
      const ProfilePoint nose[] = {{0.0, 0.0}, {0.07, 0.0}, {0.07, 0.1}, {0.0, 0.21}};
      AppendLathe(mesh, launcher, nose, 4, 24, kGrey);
    }
  }
  Frame arm = AxisFrame(Point3{kRobotCentreX, centre.y, centre.z}, Point3{1.0, 0.0, 0.0});
  AppendCylinder(mesh, arm, 0.1, 1.0, 1.55, 0.02, 24, kChrome);
}

}  // namespace robogen
