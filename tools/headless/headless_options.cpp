#include "tools/headless/headless_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const HeadlessOptionsHelp =
    "  --frames N          number of frames (default 30)\n"
    "  --size WxH          picture size in pixels (default 500x500)\n"
    "  --mode M            textured, solid or wireframe (default textured)\n"
    "  --speed S           slow, medium or fast (default medium)\n"
    "  --background B      background set 0 (grass, sky) or 1 (grey floor, stars) (default 0)\n"
    "  --azimuth DEG       camera azimuth in degrees (default 180)\n"
    "  --elevation DEG     camera elevation in degrees, -10 to 80 (default 20)\n"
    "  --start-time MS     clock reading of the first frame, not 0 (default 1000)\n"
    "  --step MS           clock advance per frame (default 66, as manual mode)\n"
    "  --scene DIR         directory holding De_209.asc and tex/ (default .)\n"
    "  --output DIR        where frames are written (default frames)\n"
    "  --help              this text\n";

namespace {

bool ParseLong(const char* text, long low, long high, long* out) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return false;
  *out = value;
  return true;
}

bool ParseDouble(const char* text, double low, double high, double* out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= low && value <= high)) return false;
  *out = value;
  return true;
}

bool ParseSize(const char* text, int* width, int* height) {
  int w = 0, h = 0;
  char extra = 0;
  if (std::sscanf(text, "%dx%d%c", &w, &h, &extra) != 2 || w < 1 || h < 1 || w > 8192 || h > 8192) return false;
  *width = w;
  *height = h;
  return true;
}

}  // namespace

bool ParseHeadlessOptions(int argc, char** argv, HeadlessOptions* options, bool* help, char* error) {
  *help = false;
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (std::strcmp(name, "--help") == 0) {
      *help = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::snprintf(error, 256, "%s needs a value (see --help)", name);
      return false;
    }
    const char* value = argv[++i];
    long number = 0;
    bool ok = true;
    if (std::strcmp(name, "--frames") == 0) {
      ok = ParseLong(value, 1, 1000000, &number);
      options->frames = static_cast<int>(number);
    } else if (std::strcmp(name, "--size") == 0) {
      ok = ParseSize(value, &options->width, &options->height);
    } else if (std::strcmp(name, "--mode") == 0) {
      if (std::strcmp(value, "textured") == 0) options->mode = RenderMode::Textured;
      else if (std::strcmp(value, "solid") == 0) options->mode = RenderMode::Solid;
      else if (std::strcmp(value, "wireframe") == 0) options->mode = RenderMode::Wireframe;
      else ok = false;
    } else if (std::strcmp(name, "--speed") == 0) {
      if (std::strcmp(value, "slow") == 0) options->speedPeriod = 4000;
      else if (std::strcmp(value, "medium") == 0) options->speedPeriod = 2000;
      else if (std::strcmp(value, "fast") == 0) options->speedPeriod = 1000;
      else ok = false;
    } else if (std::strcmp(name, "--background") == 0) {
      ok = ParseLong(value, 0, 1, &number);
      options->backgroundSet = static_cast<int>(number);
    } else if (std::strcmp(name, "--azimuth") == 0) {
      ok = ParseDouble(value, -1e6, 1e6, &options->azimuth);
    } else if (std::strcmp(name, "--elevation") == 0) {
      ok = ParseDouble(value, -10.0, 80.0, &options->elevation);
    } else if (std::strcmp(name, "--start-time") == 0) {
      ok = ParseLong(value, 1, 4294967295L, &number);
      options->startTime = static_cast<uint32_t>(number);
    } else if (std::strcmp(name, "--step") == 0) {
      ok = ParseLong(value, 0, 3600000, &number);
      options->step = static_cast<uint32_t>(number);
    } else if (std::strcmp(name, "--scene") == 0) {
      options->sceneDirectory = value;
    } else if (std::strcmp(name, "--output") == 0) {
      options->outputDirectory = value;
    } else {
      std::snprintf(error, 256, "unknown option %s (see --help)", name);
      return false;
    }
    if (!ok) {
      std::snprintf(error, 256, "bad value '%.100s' for %s (see --help)", value, name);
      return false;
    }
  }
  return true;
}
