// The headless back end: the screen lives in memory only and nothing is presented; tests read
// its pixels and write PNG screenshots through the test harness.
#pragma once

#include <string>

#include "backend/backend.h"

namespace pda::backend::headless {

bool Init(const Options& options, std::string* error);
void Term();

}  // namespace pda::backend::headless
