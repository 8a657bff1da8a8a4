#pragma once

#include <cstdint>

#include "framework/core/Component.h"
#include "framework/core/Events.h"

namespace emr {

/// A component that fires OnTimer every Interval milliseconds while Enabled,
/// through the application's message loop (so an Application must exist).
class TTimer : public TComponent {
    EMR_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    void BeforeDestruction() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    void Loaded() override;

    TNotifyEvent OnTimer;

protected:
    /// One tick: fires OnTimer.
    virtual void Timer();

private:
    void UpdateTimer();
    void Tick();

    unsigned interval_ = 1000;
    bool enabled_ = true;
    std::uint64_t timerId_ = 0;
};

} // namespace emr
