#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace emr::testing {

/// Sets an environment variable for the life of the object and puts back what was
/// there before (POSIX and the Windows C runtime alike).
class TScopedEnvironment {
public:
    TScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        Set(value.c_str());
    }
    ~TScopedEnvironment() { Set(old_ ? old_->c_str() : nullptr); }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    void Set(const char* value) const {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value ? value : "");
#else
        if (value)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
#endif
    }

    std::string name_;
    std::optional<std::string> old_;
};

} // namespace emr::testing
