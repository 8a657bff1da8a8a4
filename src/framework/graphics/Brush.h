#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

enum class TBrushStyle { bsSolid, bsClear };

/// The fill settings of a canvas. A clear brush fills nothing, and text drawn with
/// it leaves the background as it is.
class TBrush : public TPersistent {
    EMR_CLASS(TBrush)
public:
    TBrush() = default;

    TColor Color() const { return color_; }
    /// Setting a colour makes a clear brush solid again.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

} // namespace emr
