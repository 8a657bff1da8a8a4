// soak [--seed N] [--events N]: random input against the main window, headless,
// with the toolbar system's invariants checked after every event.
#include <cstdlib>
#include <iostream>
#include <string>

#include "soak/Soak.h"

int main(int argc, char** argv) {
    emr::TSoakOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto number = [&](std::uint64_t& out) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            out = std::strtoull(argv[++i], &end, 10);
            return end && *end == '\0';
        };
        if ((arg == "--seed" && number(options.Seed)) || (arg == "--events" && number(options.Events)))
            continue;
        std::cerr << "usage: soak [--seed N] [--events N]\n";
        return 2;
    }
    const emr::TSoakResult result = emr::RunSoak(options, std::cerr);
    if (!result.Failure.empty()) {
        std::cerr << "soak: seed " << options.Seed << ": " << result.Failure << "\n";
        std::cout << "0 passed, 1 failed\n";
        return 1;
    }
    std::cout << "soak: seed " << options.Seed << ": " << result.Events << " events, " << result.Checks
              << " invariant checks, " << result.Restarts << " restarts of the main window\n";
    std::cout << "1 passed, 0 failed\n";
    return 0;
}
