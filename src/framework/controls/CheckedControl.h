#pragma once

#include <string>

namespace emr {

/// A control whose state has rules of its own that must hold between events. The
/// application asks every such control after each input event in builds with
/// invariant checks; the soak asks after every event it plays.
class ICheckedControl {
public:
    virtual ~ICheckedControl() = default;
    /// What is wrong, or an empty string when every invariant holds.
    virtual std::string CheckInvariants() const = 0;
    /// True while the control holds the mouse capture on purpose with no button
    /// down (a keyboard mode that tracks the pointer until a key ends it).
    virtual bool KeepsCaptureWithoutButtons() const { return false; }
};

} // namespace emr
