// The names the tool tests start programs by; the runner itself lives in support/child_process.h.
#pragma once

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace e2e {
using ::Spawn;
using ::WaitExit;
inline std::string ReadFile(const std::string& path) { return ReadWholeFile(path); }
}  // namespace e2e
