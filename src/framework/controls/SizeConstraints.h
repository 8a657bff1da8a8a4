#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace emr {

/// Minimum and maximum width and height of a control; 0 means "no limit". The
/// control applies them on every bounds change.
class TSizeConstraints : public TPersistent {
    EMR_CLASS(TSizeConstraints)
public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);

    /// The width w limited to [MinWidth, MaxWidth] (a maximum below the minimum loses).
    int ConstrainWidth(int w) const;
    int ConstrainHeight(int h) const;

    void Assign(const TPersistent* source) override;

    /// Fired after any value changed.
    TNotifyEvent OnChange;

private:
    void Change();
    int minWidth_ = 0;
    int minHeight_ = 0;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

} // namespace emr
