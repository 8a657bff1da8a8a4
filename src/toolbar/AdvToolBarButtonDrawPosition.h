#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace emr {

/// Optional fixed positions of a button's image and caption, used instead of the
/// computed placement while Enabled is set.
class TAdvToolBarButtonDrawPosition : public TPersistent {
    EMR_CLASS(TAdvToolBarButtonDrawPosition)
public:
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int TextX() const { return textX_; }
    void SetTextX(int value);
    int TextY() const { return textY_; }
    void SetTextY(int value);
    int ImageX() const { return imageX_; }
    void SetImageX(int value);
    int ImageY() const { return imageY_; }
    void SetImageY(int value);

    /// Copies the coordinates and Enabled from another draw position without firing
    /// OnChange; any other source is ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();
    bool enabled_ = false;
    int textX_ = 0;
    int textY_ = 0;
    int imageX_ = 0;
    int imageY_ = 0;
};

} // namespace emr
