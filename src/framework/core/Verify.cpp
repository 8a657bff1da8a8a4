#include "framework/core/Verify.h"

#include <cstdio>
#include <cstdlib>

namespace emr {

void VerifyFailed(std::string_view file, int line, std::string_view condition, std::string_view message) {
    std::fprintf(stderr, "%.*s:%d: check failed: %.*s: %.*s\n", static_cast<int>(file.size()), file.data(),
                 line, static_cast<int>(condition.size()), condition.data(), static_cast<int>(message.size()),
                 message.data());
    std::fflush(stderr);
    std::abort();
}

} // namespace emr
