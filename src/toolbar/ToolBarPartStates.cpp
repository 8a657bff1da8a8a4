#include "toolbar/ToolBarPartStates.h"

#include <algorithm>

#include "toolbar/ToolBarChrome.h"

namespace emr {

using M = TToolBarChrome;

void TToolBarPartStates::Hover(TToolBarPart part) {
    // The indicator's hover is its lit flag and fade, never the hot part.
    hot_ = part == TToolBarPart::Indicator ? TToolBarPart::None : part;
}

void TToolBarPartStates::HoverIndicator(bool over) {
    if (over && !indicatorLit_) {
        indicatorLit_ = true;
        StartFade(+M::FadeStep);
    } else if (!over && indicatorLit_ && fadeStep_ > 0) {
        StartFade(-M::FadeStep);
    }
}

bool TToolBarPartStates::Press(TToolBarPart part) {
    if (part == TToolBarPart::None || down_ == part) return false;
    down_ = part;
    if (part == TToolBarPart::Indicator) StartFade(+M::FadeStep);
    return true;
}

TToolBarPart TToolBarPartStates::Release() {
    const TToolBarPart released = down_;
    down_ = TToolBarPart::None;
    if (released == TToolBarPart::Indicator) StartFade(-M::FadeStep);
    // The close button's action hides the toolbar under the pointer.
    if (released == TToolBarPart::CloseButton && hot_ == released) hot_ = TToolBarPart::None;
    return released;
}

void TToolBarPartStates::Leave(bool held) {
    if (held) {
        hot_ = TToolBarPart::None;
        return;
    }
    Cancel();
}

void TToolBarPartStates::Cancel() {
    hot_ = down_ = TToolBarPart::None;
    if (indicatorLit_) StartFade(-M::FadeStep);
}

void TToolBarPartStates::Forget(TToolBarPart part) {
    if (hot_ == part) hot_ = TToolBarPart::None;
    if (down_ == part) down_ = TToolBarPart::None;
}

void TToolBarPartStates::StartFade(int step) {
    fadeStep_ = step;
    fadePercent_ = std::clamp(fadePercent_, 0, M::FadeFull);
    fading_ = true;
}

bool TToolBarPartStates::FadeTick() {
    if (!fading_) return false;
    fadePercent_ += fadeStep_;
    if (fadePercent_ >= 0 && fadePercent_ <= M::FadeFull) return false;
    fading_ = false;
    if (fadePercent_ < 0) {
        indicatorLit_ = false;
        fadePercent_ = M::FadedOut;
    } else {
        fadePercent_ = M::FadedIn;
    }
    return true;
}

const char* TToolBarPartStates::Check() const {
    if (hot_ == TToolBarPart::Indicator) return "the indicator is a hot part instead of lit";
    if (fading_ && (fadePercent_ < 0 || fadePercent_ > M::FadeFull))
        return "a running fade is out of its range";
    if (fading_ && fadeStep_ == 0) return "a fade runs without a step";
    return "";
}

} // namespace emr
