// The scene load held against what a text reader of the scene file can reach at best: every number
// of the file converted once, straight from the bytes in memory, with nothing else done.
#pragma once
#include <cstddef>

struct NumberPassResult {
  size_t integers = 0;
  size_t decimals = 0;
  double sum = 0.0;  // of every value, so that no conversion can be left out
};

// Converts with std::from_chars every run of digits (with a minus sign right before it): a double
// where a decimal point follows the digits, an int otherwise.
NumberPassResult ConvertEveryNumber(const char* data, size_t size);

// Times `runs` loads of the scene file (LoadModelStream into a spare library, its progress line
// silenced) and `runs` passes over the file's bytes in memory, one after the other, and prints both
// medians and their ratio on one line. Nothing is printed when the file cannot be read.
void PrintLoadBesideNumberPass(const char* fileName, int runs);
