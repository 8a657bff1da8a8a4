#pragma once

#include "framework/controls/CustomControl.h"

namespace emr {

/// A captioned, etched frame around a group of controls. The caption sits over
/// the frame's top line, eight pixels from the left.
class TCustomGroupBox : public TCustomControl {
    EMR_CLASS(TCustomGroupBox)
public:
    explicit TCustomGroupBox(TComponent* owner);

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) const override;
    void TextChanged() override;
    void FontChanged() override;
    /// Height of one line of the caption font.
    int CaptionHeight() const;
};

/// The group box of stored layouts.
class TGroupBox : public TCustomGroupBox {
    EMR_CLASS(TGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

} // namespace emr
