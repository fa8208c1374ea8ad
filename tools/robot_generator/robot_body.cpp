// Hull, cockpit and weapon pod. The hull and cockpit are lofts whose cross-sections follow a few
// hand-set control sections, interpolated smoothly so that flat shading shows no ridges.
#include "tools/robot_generator/robot_body.h"

#include <initializer_list>

#include "tools/robot_generator/primitives.h"
#include "tools/robot_generator/robot_layout.h"

namespace robogen {
namespace {

constexpr Material kMatte = Material::BlackMatte;
constexpr Material kChrome = Material::ChlngerChrome;
constexpr Material kArmour = Material::BlackRoboHood;
constexpr Material kGrey = Material::Default;

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

// `count` sections spread evenly in w over the control sections' range, each field interpolated
// through the controls (w of the controls must increase).
void InterpolateSections(const LoftSection* controls, int controlCount, LoftSection* out,
                         int count) {
  double first = controls[0].w;
  double last = controls[controlCount - 1].w;
  for (int k = 0; k < count; ++k) {
    double w = first + (last - first) * k / (count - 1);
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
      {-1.42, 0.70, 0.50, 3.0, 0.0, 4.22}, {-1.30, 1.00, 0.74, 3.0, 0.0, 4.20},
      {-1.00, 1.18, 0.88, 3.5, 0.0, 4.18}, {-0.40, 1.26, 0.93, 4.0, 0.0, 4.16},
      {0.30, 1.22, 0.90, 4.0, 0.0, 4.12},  {0.80, 1.05, 0.78, 3.5, 0.0, 4.04},
      {1.10, 0.80, 0.55, 3.0, 0.0, 3.95},  {1.25, 0.45, 0.30, 2.6, 0.0, 3.90}};
  constexpr int kSections = 22;
  LoftSection sections[kSections];
  InterpolateSections(controls, sizeof(controls) / sizeof(controls[0]), sections, kSections);
  AppendLoft(mesh, ForwardFrame(kRobotCentreY), sections, kSections, 56, kArmour);
  for (double side : {-0.5, 0.5}) {  // exhaust stacks at the back
    Frame stack = AxisFrame(Point3{kRobotCentreX + side, kRobotCentreY + 1.2, 4.5},
                            Point3{0.0, 1.0, 0.0});
    AppendTube(mesh, stack, 0.14, 0.1, 0.0, 0.32, 28, kMatte);
  }
}

void BuildCockpit(Mesh& mesh) {
  const LoftSection controls[] = {
      {-0.75, 0.35, 0.25, 3.0, 0.0, 5.25}, {-0.60, 0.55, 0.42, 3.0, 0.0, 5.35},
      {-0.20, 0.66, 0.50, 3.2, 0.0, 5.42}, {0.20, 0.64, 0.47, 3.2, 0.0, 5.40},
      {0.50, 0.52, 0.38, 3.0, 0.0, 5.33},  {0.68, 0.30, 0.22, 2.6, 0.0, 5.28}};
  constexpr int kSections = 16;
  LoftSection sections[kSections];
  InterpolateSections(controls, sizeof(controls) / sizeof(controls[0]), sections, kSections);
  AppendLoft(mesh, ForwardFrame(kRobotCentreY), sections, kSections, 56, kArmour);
  // The visor: a dark band across the front of the cockpit.
  Frame visor;
  visor.origin = Point3{kRobotCentreX, kRobotCentreY - 0.55, 5.45};
  AppendRoundedBox(mesh, visor, 0.42, 0.1, 0.1, 4.0, 40, 12, kGrey);
  Frame mast;
  mast.origin = Point3{kRobotCentreX + 0.35, kRobotCentreY + 0.3, 5.7};
  AppendCylinder(mesh, mast, 0.02, 0.0, 0.45, 0.005, 12, kChrome);
  Frame tip = mast;
  tip.origin = mast.Map(0.0, 0.0, 0.47);
  AppendSphere(mesh, tip, 0.04, 12, 6, kChrome);
}

void BuildLeftPod(Mesh& mesh) {
  Point3 centre{kRobotCentreX + 1.78, kRobotCentreY - 0.05, 4.45};
  Frame body;
  body.origin = centre;
  AppendRoundedBox(mesh, body, 0.30, 0.62, 0.34, 8.0, 48, 18, kMatte);
  for (double du : {-0.13, 0.13}) {
    for (double dv : {-0.14, 0.14}) {
      Frame launcher = AxisFrame(Point3{centre.x + du, centre.y - 0.45, centre.z + dv},
                                 Point3{0.0, -1.0, 0.0});
      AppendTube(mesh, launcher, 0.1, 0.075, 0.0, 0.25, 24, kChrome);
      const ProfilePoint nose[] = {{0.0, 0.0}, {0.07, 0.0}, {0.07, 0.1}, {0.0, 0.21}};
      AppendLathe(mesh, launcher, nose, 4, 24, kGrey);
    }
  }
  Frame arm = AxisFrame(Point3{kRobotCentreX, centre.y, centre.z}, Point3{1.0, 0.0, 0.0});
  AppendCylinder(mesh, arm, 0.1, 1.0, 1.55, 0.02, 24, kChrome);
}

}  // namespace robogen
