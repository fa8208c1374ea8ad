#include "bench/strivex_bench/number_pass.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/bench_timing.h"
#include "model/model_file.h"
#include "platform/text_line_reader.h"

namespace {

bool ReadWholeFile(const char* fileName, std::vector<char>& bytes) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) return false;
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  const bool complete = std::ferror(file) == 0;
  std::fclose(file);
  return complete;
}

}  // namespace

NumberPassResult ConvertEveryNumber(const char* data, size_t size) {
  NumberPassResult result;
  const char* p = data;
  const char* const end = data + size;
  while (p < end) {
    if (static_cast<unsigned char>(*p - '0') > 9) {
      ++p;
      continue;
    }
    const char* start = (p > data && p[-1] == '-') ? p - 1 : p;
    const char* digitsEnd = p;
    while (digitsEnd < end && static_cast<unsigned char>(*digitsEnd - '0') <= 9) ++digitsEnd;
    if (digitsEnd < end && *digitsEnd == '.') {
      double value = 0.0;
      const std::from_chars_result r = std::from_chars(start, end, value);
      result.sum += value;
      ++result.decimals;
      p = r.ptr > digitsEnd ? r.ptr : digitsEnd + 1;
    } else {
      int32_t value = 0;
      std::from_chars(start, digitsEnd, value);
      result.sum += value;
      ++result.integers;
      p = digitsEnd;
    }
  }
  return result;
}

void PrintLoadBesideNumberPass(const char* fileName, int runs) {
  std::vector<char> bytes;
  if (!ReadWholeFile(fileName, bytes) || runs < 1) return;
  std::vector<double> passes, loads, passCpu, loadCpu;
  NumberPassResult numbers;
  // Alternating, so that the load of a shared machine falls on both alike.
  for (int i = 0; i < runs; ++i) {
    const auto passStart = BenchClock::now();
    const double passCpuStart = ThreadCpuMilliseconds();
    numbers = ConvertEveryNumber(bytes.data(), bytes.size());
    passCpu.push_back(ThreadCpuMilliseconds() - passCpuStart);
    passes.push_back(MillisecondsSince(passStart));
    // Constructing the slots is start-up work of the program, not of the load.
    auto library = std::make_unique<ModelLibrary>();
    TextLineReader stream;
    SilencedStdout quiet;
    const auto start = BenchClock::now();
    const double cpu = ThreadCpuMilliseconds();
    if (!stream.Open(fileName)) return;
    LoadModelStream(stream, *library);
    stream.Close();
    loadCpu.push_back(ThreadCpuMilliseconds() - cpu);
    loads.push_back(MillisecondsSince(start));
  }
  const double pass = Median(passes), load = Median(loads);
  std::printf("scene load beside std::from_chars over its %zu integers and %zu decimals in memory (medians of %d): "
              "load %.1f ms, pass %.1f ms, ratio %.2fx (target <=1.5x %s); processor time %.1f ms and %.1f ms, %.2fx\n",
              numbers.integers, numbers.decimals, runs, load, pass, load / pass, load <= 1.5 * pass ? "met" : "NOT met",
              Median(loadCpu), Median(passCpu), Median(loadCpu) / Median(passCpu));
}
