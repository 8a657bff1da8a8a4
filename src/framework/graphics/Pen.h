#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"

namespace emr {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

/// How a pen's colour P combines with the destination D (the binary raster operations).
enum class TPenMode {
    pmBlack,       // 0
    pmWhite,       // 1
    pmNop,         // D
    pmNot,         // ~D
    pmCopy,        // P
    pmNotCopy,     // ~P
    pmMergePenNot, // P | ~D
    pmMaskPenNot,  // P & ~D
    pmMergeNotPen, // ~P | D
    pmMaskNotPen,  // ~P & D
    pmMerge,       // P | D
    pmNotMerge,    // ~(P | D)
    pmMask,        // P & D
    pmNotMask,     // ~(P & D)
    pmXor,         // P ^ D
    pmNotXor,      // ~(P ^ D)
};

/// The line-drawing settings of a canvas.
class TPen : public TPersistent {
    EMR_CLASS(TPen)
public:
    TPen() = default;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    /// Widths below 1 are taken as 1.
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

} // namespace emr
