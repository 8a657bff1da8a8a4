#pragma once

#include <string>

#include "app/RegionalSettingsStore.h"

namespace emr {

/// The date and time formats the process takes from the user's settings at start-up,
/// as Windows pictures and designators.
struct TStartupFormats {
    std::string ShortDateFormat;
    std::string LongTimeFormat;
    std::string TimeAMString;
    std::string TimePMString;

    /// Reads each item from `store` when it holds it, otherwise from the C library's
    /// locale of the user's environment (LC_TIME). A designator that cannot be read
    /// at all is "am" / "pm"; an empty one stays empty.
    static TStartupFormats Read(const TRegionalSettingsStore& store);
};

} // namespace emr
