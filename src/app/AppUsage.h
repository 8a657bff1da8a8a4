#pragma once

#include "framework/forms/CommandLine.h"

namespace emr {

/// What the program answers to --help: it takes no other arguments.
TProgramUsage AppUsage();

} // namespace emr
