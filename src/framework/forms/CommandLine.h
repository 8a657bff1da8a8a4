#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace emr {

/// What a program built on the toolkit says about itself when asked.
struct TProgramUsage {
    struct TOption {
        std::string Flag; // "--report"
        std::string Meaning;
    };
    std::string Name;
    std::string Summary;          // one sentence: what the program does
    std::vector<TOption> Options; // what it takes besides --help and --version
};

/// The toolkit's version, which the programs built with it report as theirs.
std::string ToolkitVersion();

/// Reads a program's arguments: `--help` writes the usage to `out`, `--version`
/// the name and version; anything the program does not take is refused on
/// `err` with the usage line. Returns the exit status when the program should
/// end now (0 when it answered, 2 when it refused), nothing when it should
/// run; `given` then holds the options of `usage.Options` that were named.
std::optional<int> ReadCommandLine(int argc, const char* const* argv, const TProgramUsage& usage,
                                   std::FILE* out, std::FILE* err, std::vector<std::string>* given = nullptr);

} // namespace emr
