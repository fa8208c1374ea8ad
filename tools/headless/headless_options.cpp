#include "tools/headless/headless_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

enum class Kind { Integer, Decimal, Size, Word, Text, Flag };

// The words an option of Kind::Word takes, in the order of their values.
constexpr int MaxWords = 3;

struct OptionRow {
  uint32_t bit;
  const char* name;
  const char* value;  // the value's placeholder in the help; nullptr for a flag
  Kind kind;
  double low, high;  // the range of a number; Size: of each side
  const char* words[MaxWords];
  const char* meaning;
  const char* range;  // as the help and a refusal say it; nullptr when any text is taken
};

constexpr int MaxSide = 8192;

const OptionRow Rows[] = {
    {OptFrames, "--frames", "N", Kind::Integer, 1, 1000000, {}, "number of frames", "1 to 1000000"},
    {OptSize, "--size", "WxH", Kind::Size, 1, MaxSide, {}, "picture size in pixels", "W and H from 1 to 8192"},
    {OptMode, "--mode", "M", Kind::Word, 0, 0, {"textured", "solid", "wireframe"}, "render mode",
     "textured, solid or wireframe"},
    {OptSpeed, "--speed", "S", Kind::Word, 0, 0, {"slow", "medium", "fast"}, "walking speed", "slow, medium or fast"},
    {OptBackground, "--background", "B", Kind::Integer, 0, 1, {}, "background set",
     "0 (grass, sky) or 1 (grey floor, stars)"},
    {OptAzimuth, "--azimuth", "DEG", Kind::Decimal, -1e6, 1e6, {}, "camera azimuth in degrees",
     "-1000000 to 1000000"},
    {OptElevation, "--elevation", "DEG", Kind::Decimal, -10, 80, {}, "camera elevation in degrees", "-10 to 80"},
    {OptStartTime, "--start-time", "MS", Kind::Integer, 1, 4294967295.0, {}, "clock reading of the first frame",
     "1 to 4294967295"},
    {OptStep, "--step", "MS", Kind::Integer, 0, 3600000, {}, "clock advance per frame (66 as in manual mode)",
     "0 to 3600000"},
    {OptScene, "--scene", "DIR", Kind::Text, 0, 0, {}, "directory holding De_209.asc and tex/", nullptr},
    {OptOutput, "--output", "DIR", Kind::Text, 0, 0, {}, "directory of the numbered frames (made if missing)",
     nullptr},
    {OptFormat, "--format", "F", Kind::Word, 0, 0, {"ppm", "png"}, "frame file format", "ppm (binary PPM) or png"},
    {OptVideo, "--video", "FILE", Kind::Text, 0, 0, {},
     "write a video through ffmpeg (e.g. walk.mp4, 1000/STEP frames per second), instead of the frame "
     "files unless --output is given too",
     nullptr},
    {OptReplace, "--replace", nullptr, Kind::Flag, 0, 0, {},
     "first remove the numbered frames (imageNNN.ppm, imageNNN.png) already in the output directory", nullptr},
    {OptEvery, "--every", "N", Kind::Integer, 1, 1000000, {}, "frames between two actions", "1 to 1000000"},
    {OptPicture, "--picture", "FILE", Kind::Text, 0, 0, {}, "where the last frame is written as binary PPM",
     nullptr},
    {OptAllowedGrowth, "--allowed-growth", "MB", Kind::Decimal, 0, 1e9, {},
     "growth of resident memory or heap in use still taken as flat", "0 to 1000000000"},
    {OptReportEvery, "--report-every", "N", Kind::Integer, 0, 1000000, {},
     "also print a sample every N frames, 0 for none", "0 to 1000000"},
};

const OptionRow* FindRow(const char* name) {
  for (const OptionRow& row : Rows) {
    if (std::strcmp(row.name, name) == 0) return &row;
  }
  return nullptr;
}

bool ParseInteger(const char* text, const OptionRow& row, long long* out) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < row.low || value > row.high) return false;
  *out = value;
  return true;
}

bool ParseDecimal(const char* text, const OptionRow& row, double* out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= row.low && value <= row.high)) return false;
  *out = value;
  return true;
}

bool ParseSize(const char* text, int* width, int* height) {
  const OptionRow size = *FindRow("--size");
  const char* x = std::strchr(text, 'x');
  if (x == nullptr || x - text > 10) return false;
  char widthText[12] = "";
  std::memcpy(widthText, text, static_cast<size_t>(x - text));
  long long w = 0, h = 0;
  if (!ParseInteger(widthText, size, &w) || !ParseInteger(x + 1, size, &h)) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

// The index of `text` among the row's words, or -1.
int WordIndex(const OptionRow& row, const char* text) {
  for (int i = 0; i < MaxWords && row.words[i] != nullptr; ++i) {
    if (std::strcmp(row.words[i], text) == 0) return i;
  }
  return -1;
}

const uint32_t SpeedPeriods[] = {4000, 2000, 1000};

// Stores a value already checked against its row.
void Store(uint32_t bit, long long integer, double decimal, int word, const char* text, HeadlessOptions* o) {
  switch (bit) {
    case OptFrames: o->frames = static_cast<int>(integer); break;
    case OptMode: o->mode = static_cast<RenderMode>(word); break;
    case OptSpeed: o->speedPeriod = SpeedPeriods[word]; break;
    case OptBackground: o->backgroundSet = static_cast<int>(integer); break;
    case OptAzimuth: o->azimuth = decimal; break;
    case OptElevation: o->elevation = decimal; break;
    case OptStartTime: o->startTime = static_cast<uint32_t>(integer); break;
    case OptStep: o->step = static_cast<uint32_t>(integer); break;
    case OptScene: o->sceneDirectory = text; break;
    case OptOutput:
      o->outputDirectory = text;
      o->outputGiven = true;
      break;
    case OptFormat: o->format = static_cast<FrameFormat>(word); break;
    case OptVideo: o->videoFile = text; break;
    case OptReplace: o->replaceFrames = true; break;
    case OptEvery: o->actionEvery = static_cast<int>(integer); break;
    case OptPicture: o->picture = text; break;
    case OptAllowedGrowth: o->allowedGrowthMb = decimal; break;
    case OptReportEvery: o->reportEvery = static_cast<int>(integer); break;
    default: break;
  }
}

// The default of the row's option in `o`, as a command line would give it; empty when it has none.
void DefaultText(uint32_t bit, const HeadlessOptions& o, char* text, size_t size) {
  text[0] = '\0';
  switch (bit) {
    case OptFrames: std::snprintf(text, size, "%d", o.frames); break;
    case OptSize: std::snprintf(text, size, "%dx%d", o.width, o.height); break;
    case OptMode: std::snprintf(text, size, "%s", FindRow("--mode")->words[static_cast<int>(o.mode)]); break;
    case OptSpeed:
      for (int i = 0; i < 3; ++i) {
        if (SpeedPeriods[i] == o.speedPeriod) std::snprintf(text, size, "%s", FindRow("--speed")->words[i]);
      }
      break;
    case OptBackground: std::snprintf(text, size, "%d", o.backgroundSet); break;
    case OptAzimuth: std::snprintf(text, size, "%g", o.azimuth); break;
    case OptElevation: std::snprintf(text, size, "%g", o.elevation); break;
    case OptStartTime: std::snprintf(text, size, "%u", o.startTime); break;
    case OptStep: std::snprintf(text, size, "%u", o.step); break;
    case OptScene: std::snprintf(text, size, "%s", o.sceneDirectory); break;
    case OptOutput: std::snprintf(text, size, "%s", o.outputDirectory); break;
    case OptFormat: std::snprintf(text, size, "%s", FindRow("--format")->words[static_cast<int>(o.format)]); break;
    case OptEvery: std::snprintf(text, size, "%d", o.actionEvery); break;
    case OptPicture: std::snprintf(text, size, "%s", o.picture); break;
    case OptAllowedGrowth: std::snprintf(text, size, "%g", o.allowedGrowthMb); break;
    case OptReportEvery: std::snprintf(text, size, "%d", o.reportEvery); break;
    default: break;
  }
}

}  // namespace

bool ParseHeadlessOptions(int argc, char** argv, uint32_t accepted, HeadlessOptions* options, bool* help,
                          char* error) {
  *help = false;
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
      *help = true;
      continue;
    }
    const OptionRow* row = FindRow(name);
    if (row == nullptr || (row->bit & accepted) == 0) {
      if (row == nullptr) std::snprintf(error, 256, "unknown option %.100s (see --help)", name);
      else std::snprintf(error, 256, "%s does not apply to this program (see --help)", name);
      return false;
    }
    if (row->kind == Kind::Flag) {
      Store(row->bit, 0, 0.0, 0, nullptr, options);
      continue;
    }
    if (i + 1 >= argc) {
      std::snprintf(error, 256, "%s needs a value: %s (see --help)", name, row->range ? row->range : row->value);
      return false;
    }
    const char* value = argv[++i];
    long long integer = 0;
    double decimal = 0.0;
    int word = 0;
    bool ok = true;
    switch (row->kind) {
      case Kind::Integer: ok = ParseInteger(value, *row, &integer); break;
      case Kind::Decimal: ok = ParseDecimal(value, *row, &decimal); break;
      case Kind::Size: ok = ParseSize(value, &options->width, &options->height); break;
      case Kind::Word: ok = (word = WordIndex(*row, value)) >= 0; break;
      case Kind::Text: ok = *value != '\0'; break;
      case Kind::Flag: break;
    }
    if (!ok) {
      std::snprintf(error, 256, "bad value '%.60s' for %s: it takes %s", value, name,
                    row->range ? row->range : "a name that is not empty");
      return false;
    }
    Store(row->bit, integer, decimal, word, value, options);
  }
  return true;
}

void PrintHelpLine(std::FILE* out, const char* option, const char* text) {
  // The text wraps at word boundaries to stay in 100 columns, each further line under the first.
  constexpr int TextColumn = 25, Width = 100;
  std::fprintf(out, "  %-22s ", option);
  const char* rest = text;
  while (std::strlen(rest) > static_cast<size_t>(Width - TextColumn)) {
    const char* cut = rest + (Width - TextColumn);
    while (cut > rest && *cut != ' ') --cut;
    if (cut == rest) break;
    std::fprintf(out, "%.*s\n%*s", static_cast<int>(cut - rest), rest, TextColumn, "");
    rest = cut + 1;
  }
  std::fprintf(out, "%s\n", rest);
}

void PrintHeadlessOptionsHelp(std::FILE* out, uint32_t shown, const HeadlessOptions& defaults) {
  for (const OptionRow& row : Rows) {
    if ((row.bit & shown) == 0) continue;
    char option[48];
    std::snprintf(option, sizeof option, "%s%s%s", row.name, row.value ? " " : "", row.value ? row.value : "");
    char value[160];
    DefaultText(row.bit, defaults, value, sizeof value);
    char text[512];
    std::snprintf(text, sizeof text, "%s%s%s%s%s%s", row.meaning, row.range ? ": " : "", row.range ? row.range : "",
                  *value ? " (default " : "", value, *value ? ")" : "");
    PrintHelpLine(out, option, text);
  }
  PrintHelpLine(out, "--help, -h", "this text");
}
