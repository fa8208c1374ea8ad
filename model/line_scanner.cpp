#include "model/line_scanner.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// The C locale's white space: the blank and \t \n \v \f \r (codes 9 to 13).
bool IsSpace(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }
bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// Adds the decimal digits at p to value (which wraps for very long runs; callers count the digits)
// and returns the first character that is not one. Unsigned throughout: a digit costs no widening.
[[gnu::always_inline]] inline const char* AddDigits(const char* p, uint64_t& value) {
  for (;;) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
    if (digit > 9) return p;
    value = value * 10 + digit;
    ++p;
  }
}

// Blanks first: the scene format separates with them alone.
[[gnu::always_inline]] inline const char* SkipSpace(const char* p) {
  while (*p == ' ') ++p;
  while (IsSpace(*p)) ++p;
  return p;
}

// Matches the literal part of a pattern; a blank in it matches any run of white space. Inlined
// and unrolled with the literal known, so each pattern compiles to straight-line comparisons.
template <size_t N>
[[gnu::always_inline]] inline bool MatchLiteral(const char*& p, const char (&literal)[N]) {
#pragma GCC unroll 32
  for (size_t i = 0; i + 1 < N; ++i) {
    if (literal[i] == ' ') {
      p = SkipSpace(p);
    } else if (*p == literal[i]) {
      ++p;
    } else {
      return false;
    }
  }
  return true;
}

// %d. Values beyond 32 bits saturate; nothing that fits is changed. Inlined: a face line has four.
[[gnu::always_inline]] inline bool ScanInt(const char*& p, int32_t* out) {
  // Most numbers of a scene: at most nine digits, after one blank or none, which need no sign,
  // no saturation and no second look at the white space.
  const char* d = p + (*p == ' ');
  if (IsDigit(*d)) {
    uint64_t value = 0;
    const char* e = AddDigits(d, value);
    if (e - d <= 9) {
      *out = static_cast<int32_t>(value);
      p = e;
      return true;
    }
  }
  const char* q = SkipSpace(p);
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (!IsDigit(*q)) return false;
  while (*q == '0') ++q;
  const char* significant = q;
  uint64_t magnitude = 0;  // wraps harmlessly for very long numbers, which are saturated below
  q = AddDigits(q, magnitude);
  if (q - significant > 10) magnitude = uint64_t{1} << 40;
  int64_t value = static_cast<int64_t>(magnitude);
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  *out = static_cast<int32_t>(value);
  p = q;
  return true;
}

// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// %lf: [+-] digits [. [digits]] | [+-] . digits, then an exponent only when digits follow it.
// Numbers whose digits form an integer below 2^53 and whose decimal exponent is within 22 are one
// exactly representable integer times or divided by an exactly representable power of ten, so
// one correctly rounded operation gives the same double as strtod. Anything else goes through
// from_chars (and strtod for overflow and underflow).
[[gnu::always_inline]] inline bool ScanDouble(const char*& p, double* out) {
  // Most numbers of a scene: after one blank or none, a sign or none, digits with a point among
  // them, at most 15 digits in all and no exponent; the same exact division as below.
  {
    const char* d = p + (*p == ' ');
    const bool negative = *d == '-';
    d += negative;
    if (IsDigit(*d)) {
      uint64_t mantissa = 0;
      const char* e = AddDigits(d, mantissa);
      const char* point = e;
      if (*e == '.') e = AddDigits(e + 1, mantissa);
      const long digitCount = (e - d) - (*point == '.');
      if (digitCount <= 15 && *e != 'e' && *e != 'E') {
        const long fractionDigits = *point == '.' ? e - point - 1 : 0;
        const double value = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
        *out = negative ? -value : value;
        p = e;
        return true;
      }
    }
  }
  const char* q = SkipSpace(p);
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  const char* start = q;
  uint64_t mantissa = 0;
  int digitCount = 0;  // digits in the mantissa, leading zeros excluded
  int scale = 0;       // decimal exponent contributed by the digits' positions
  const char* integerStart = q;
  while (*q == '0') ++q;
  const char* significant = q;
  q = AddDigits(q, mantissa);
  digitCount = static_cast<int>(q - significant);
  bool digits = q > integerStart;
  if (*q == '.') {
    const char* fractionStart = ++q;
    if (digitCount == 0) {
      while (*q == '0') ++q;  // zeros after the point only move the scale
    }
    const char* fractionSignificant = q;
    q = AddDigits(q, mantissa);
    digitCount += static_cast<int>(q - fractionSignificant);
    scale = -static_cast<int>(q - fractionStart);
    digits = digits || q > fractionStart;
  }
  if (!digits) return false;
  // Beyond 19 digits the mantissa above has wrapped; only the slow path below is used then.
  const bool exact = digitCount <= 19;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    bool negativeExponent = false;
    if (*e == '+' || *e == '-') negativeExponent = *e++ == '-';
    if (IsDigit(*e)) {
      int exponent = 0;
      for (; IsDigit(*e); ++e) {
        if (exponent < 100000) exponent = exponent * 10 + (*e - '0');
      }
      scale += negativeExponent ? -exponent : exponent;
      q = e;
    }
  }
  double value = 0.0;
  if (exact && mantissa < (uint64_t{1} << 53) && scale >= -22 && scale <= 22) {
    value = static_cast<double>(mantissa);
    value = scale < 0 ? value / kExactPowersOfTen[-scale] : value * kExactPowersOfTen[scale];
  } else if (exact && mantissa == 0) {
    value = 0.0;
  } else {
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
