#pragma once

#include <string>

namespace emr {

/// The current user's configuration folder: $XDG_CONFIG_HOME when it is an
/// absolute path, else ~/.config; empty when there is no home folder either.
std::string ConfigFolder();

} // namespace emr
