#include "framework/controls/SizeConstraints.h"

#include <algorithm>

namespace emr {

void TSizeConstraints::SetMinWidth(int value) {
    value = std::max(value, 0);
    if (value == minWidth_) return;
    minWidth_ = value;
    Change();
}

void TSizeConstraints::SetMinHeight(int value) {
    value = std::max(value, 0);
    if (value == minHeight_) return;
    minHeight_ = value;
    Change();
}

void TSizeConstraints::SetMaxWidth(int value) {
    value = std::max(value, 0);
    if (value == maxWidth_) return;
    maxWidth_ = value;
    Change();
}

void TSizeConstraints::SetMaxHeight(int value) {
    value = std::max(value, 0);
    if (value == maxHeight_) return;
    maxHeight_ = value;
    Change();
}

namespace {

int Constrain(int value, int min, int max) {
    if (max > 0 && value > max) value = max;
    if (min > 0 && value < min) value = min;
    return value;
}

} // namespace

int TSizeConstraints::ConstrainWidth(int w) const {
    return Constrain(w, minWidth_, maxWidth_);
}

int TSizeConstraints::ConstrainHeight(int h) const {
    return Constrain(h, minHeight_, maxHeight_);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
        if (minWidth_ == other->minWidth_ && minHeight_ == other->minHeight_ &&
            maxWidth_ == other->maxWidth_ && maxHeight_ == other->maxHeight_)
            return;
        minWidth_ = other->minWidth_;
        minHeight_ = other->minHeight_;
        maxWidth_ = other->maxWidth_;
        maxHeight_ = other->maxHeight_;
        Change();
        return;
    }
    TPersistent::Assign(source);
}

void TSizeConstraints::Change() {
    if (OnChange) OnChange(this);
}

} // namespace emr
