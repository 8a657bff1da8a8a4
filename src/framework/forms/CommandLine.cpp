#include "framework/forms/CommandLine.h"

#include <algorithm>
#include <string_view>

namespace emr {

namespace {

constexpr int kAnswered = 0;
constexpr int kRefused = 2;

std::string UsageLine(const TProgramUsage& usage) {
    std::string line = "Usage: " + usage.Name + " [--help] [--version]";
    for (const TProgramUsage::TOption& option : usage.Options)
        line += " [" + option.Flag + "]";
    return line;
}

void WriteHelp(const TProgramUsage& usage, std::FILE* out) {
    std::fprintf(out, "%s\n%s\n\nOptions:\n", UsageLine(usage).c_str(), usage.Summary.c_str());
    std::fprintf(out, "  %-12s %s\n", "--help", "show this help and end");
    std::fprintf(out, "  %-12s %s\n", "--version", "show the version and end");
    for (const TProgramUsage::TOption& option : usage.Options)
        std::fprintf(out, "  %-12s %s\n", option.Flag.c_str(), option.Meaning.c_str());
}

} // namespace

std::string ToolkitVersion() {
    return EMR_VERSION;
}

std::optional<int> ReadCommandLine(int argc, const char* const* argv, const TProgramUsage& usage,
                                   std::FILE* out, std::FILE* err, std::vector<std::string>* given) {
    std::vector<std::string> named;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            WriteHelp(usage, out);
            return kAnswered;
        }
        if (argument == "--version") {
            std::fprintf(out, "%s %s\n", usage.Name.c_str(), ToolkitVersion().c_str());
            return kAnswered;
        }
        const bool known = std::any_of(usage.Options.begin(), usage.Options.end(),
                                       [&](const TProgramUsage::TOption& o) { return o.Flag == argument; });
        if (!known) {
            std::fprintf(err, "%s: unknown argument \"%s\"\n%s\n", usage.Name.c_str(), argv[i],
                         UsageLine(usage).c_str());
            return kRefused;
        }
        named.emplace_back(argument);
    }
    if (given) *given = std::move(named);
    return std::nullopt;
}

} // namespace emr
