#include "model/line_scanner.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipSpace(const char* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

// Matches the literal part of a pattern; a blank in it matches any run of white space.
bool MatchLiteral(const char*& p, const char* literal) {
  for (; *literal; ++literal) {
    if (*literal == ' ') {
      p = SkipSpace(p);
    } else if (*p == *literal) {
      ++p;
    } else {
      return false;
    }
  }
  return true;
}

// %d. Values beyond 32 bits saturate; nothing that fits is changed.
bool ScanInt(const char*& p, int32_t* out) {
  const char* q = SkipSpace(p);
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (!IsDigit(*q)) return false;
  int64_t value = 0;
  for (; IsDigit(*q); ++q) {
    if (value <= INT64_C(1) << 40) value = value * 10 + (*q - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  *out = static_cast<int32_t>(value);
  p = q;
  return true;
}

// %lf: [+-] digits [. [digits]] | [+-] . digits, then an exponent only when digits follow it.
bool ScanDouble(const char*& p, double* out) {
  const char* q = SkipSpace(p);
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  const char* start = q;
  bool digits = false;
  while (IsDigit(*q)) ++q, digits = true;
  if (*q == '.') {
    ++q;
    while (IsDigit(*q)) ++q, digits = true;
  }
  if (!digits) return false;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      while (IsDigit(*e)) ++e;
      q = e;
    }
  }
  double value = 0.0;
  const std::from_chars_result r = std::from_chars(start, q, value, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != q) {
    // Overflow and underflow: take the C library's answer (infinity, zero or a subnormal).
    char number[1024];
    size_t length = static_cast<size_t>(q - start);
    if (length >= sizeof number) length = sizeof number - 1;
    std::memcpy(number, start, length);
    number[length] = '\0';
    value = std::strtod(number, nullptr);
  }
  *out = negative ? -value : value;
  p = q;
  return true;
}

}  // namespace

int ScanHeaderLine(const char* text, int32_t* vertexCount, int32_t* faceCount) {
  const char* p = text;
  int count = 0;
  if (!MatchLiteral(p, "Tri-mesh, Vertices:") || !ScanInt(p, vertexCount)) return count;
  ++count;
  if (!MatchLiteral(p, "  Faces:") || !ScanInt(p, faceCount)) return count;
  return ++count;
}

int ScanVertexLine(const char* text, int32_t* number, double* x, double* y, double* z) {
  const char* p = text;
  int count = 0;
  if (!MatchLiteral(p, "Vertex") || !ScanInt(p, number)) return count;
  ++count;
  if (!MatchLiteral(p, ":  X:") || !ScanDouble(p, x)) return count;
  ++count;
  if (!MatchLiteral(p, " Y:") || !ScanDouble(p, y)) return count;
  ++count;
  if (!MatchLiteral(p, " Z:") || !ScanDouble(p, z)) return count;
  return ++count;
}

int ScanFaceLine(const char* text, int32_t* number, int32_t* a, int32_t* b, int32_t* c) {
  const char* p = text;
  int count = 0;
  if (!MatchLiteral(p, "Face") || !ScanInt(p, number)) return count;
  ++count;
  if (!MatchLiteral(p, ": A:") || !ScanInt(p, a)) return count;
  ++count;
  if (!MatchLiteral(p, " B:") || !ScanInt(p, b)) return count;
  ++count;
  if (!MatchLiteral(p, " C:") || !ScanInt(p, c)) return count;
  return ++count;
}
