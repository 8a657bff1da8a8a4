#pragma once

#include <string>

#include "framework/forms/Form.h"

namespace emr {

/// The small popup that shows a control's hint: the text in clInfoText on
/// clInfoBk inside a one-pixel dark frame.
class THintWindow : public TCustomForm {
    EMR_CLASS(THintWindow)
public:
    explicit THintWindow(TComponent* owner);

    /// The window size `hint` needs, wrapped at `maxWidth` pixels, at (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint) const;
    /// Shows `hint` in `rect` (screen coordinates), kept on the work area.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    /// Hides the window.
    void ReleaseHint() { Hide(); }

protected:
    void CreateParams(TCreateParams& params) const override;
    void Paint() override;
};

/// The part of a hint before the first '|'.
std::string GetShortHint(const std::string& hint);
/// The part after the first '|' (the whole hint when it has none).
std::string GetLongHint(const std::string& hint);

} // namespace emr
