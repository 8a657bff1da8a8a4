#pragma once

#include <sstream>
#include <string>
#include <string_view>

namespace emr {

/// True in builds that check invariants (EMR_CHECKS: debug and sanitizer builds);
/// elsewhere the checks below are compiled but never run. Internal linkage, so a
/// program built without the checks may include this against libraries built with them.
#ifdef EMR_CHECKS
constexpr bool kChecksEnabled = true;
#else
constexpr bool kChecksEnabled = false;
#endif

/// Reports a broken invariant on the standard error stream ("file:line: check
/// failed: condition: message") and aborts: state that has gone wrong is not
/// carried further, where the fault would be harder to find.
[[noreturn]] void VerifyFailed(std::string_view file, int line, std::string_view condition,
                               std::string_view message);

/// The message parts of a check, streamed one after the other.
template <class... Parts> std::string VerifyMessage(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

} // namespace emr

/// Asserts that `condition` holds; otherwise reports it with a message made of the
/// remaining arguments (streamed) and aborts. The message is built only on failure.
/// In builds without EMR_CHECKS neither the condition nor the message is evaluated.
#define EMR_VERIFY(condition, ...)                                                                           \
    do {                                                                                                     \
        if constexpr (::emr::kChecksEnabled) {                                                               \
            if (!(condition)) [[unlikely]]                                                                   \
                ::emr::VerifyFailed(__FILE__, __LINE__, #condition, ::emr::VerifyMessage(__VA_ARGS__));      \
        }                                                                                                    \
    } while (false)

/// Asserts that `object.CheckInvariants()` (a description of what is wrong, empty
/// when everything holds) finds nothing, and reports what it found otherwise.
#define EMR_VERIFY_INVARIANTS(object)                                                                        \
    do {                                                                                                     \
        if constexpr (::emr::kChecksEnabled) {                                                               \
            const std::string emrBroken_ = (object).CheckInvariants();                                       \
            if (!emrBroken_.empty()) [[unlikely]]                                                            \
                ::emr::VerifyFailed(__FILE__, __LINE__, #object ".CheckInvariants()", emrBroken_);           \
        }                                                                                                    \
    } while (false)
