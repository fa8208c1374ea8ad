// The debugger output channel for capacity diagnostics. This platform has no debugger channel,
// so the text goes to standard error, unchanged (no line end is added).
#pragma once

void OutputDebugStringA(const char* text);
