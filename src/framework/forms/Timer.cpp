#include "framework/forms/Timer.h"

#include "framework/forms/Application.h"

namespace emr {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::BeforeDestruction() {
    enabled_ = false;
    UpdateTimer();
    TComponent::BeforeDestruction();
}

void TTimer::SetInterval(unsigned value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (timerId_ && Application) Application->StopTimer(timerId_);
    timerId_ = 0;
    if (!enabled_ || interval_ == 0 || HasState(csLoading) || HasState(csDestroying)) return;
    if (!Application) return;
    std::weak_ptr<void> alive = LifeToken();
    timerId_ = Application->StartTimer(interval_, [this, alive] {
        if (!alive.expired()) Tick();
    });
}

void TTimer::Tick() {
    Timer();
}

void TTimer::Timer() {
    Fire(OnTimer, this);
}

} // namespace emr
