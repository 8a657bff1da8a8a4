#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emr {

/// `Cannot ACTION file "PATH": REASON`, the reason being the system's words
/// for `error` (an errno value), so that a message says which file and why.
std::string FileErrorMessage(const std::string& action, const std::string& path, int error);

/// The whole of a file's bytes. Raises Exception with FileErrorMessage when the
/// file cannot be opened or read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

/// Runs `decode` and gives any Exception it raises the file's name in front:
/// `"PATH": MESSAGE`. For decoders that see only bytes.
template <typename Decode> auto WithFileName(const std::string& path, Decode&& decode) -> decltype(decode());

} // namespace emr

#include "framework/core/Exception.h"

namespace emr {

template <typename Decode> auto WithFileName(const std::string& path, Decode&& decode) -> decltype(decode()) {
    try {
        return decode();
    } catch (const Exception& e) {
        throw Exception("\"" + path + "\": " + e.what());
    }
}

} // namespace emr
