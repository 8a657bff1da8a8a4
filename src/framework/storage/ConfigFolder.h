#pragma once

#include <string>

namespace emr {

/// The current user's configuration folder: $XDG_CONFIG_HOME when it is an
/// absolute path, else ~/.config; empty when there is no home folder either.
std::string ConfigFolder();

/// True for a path that names its file without a folder to start from: "/…",
/// and on Windows also "C:\…", "C:/…" and "\\server\…".
bool IsAbsolutePath(const std::string& path);

} // namespace emr
