#pragma once

#include <stdexcept>
#include <string>

namespace emr {

/// The framework's general exception: a message and nothing else.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

} // namespace emr
