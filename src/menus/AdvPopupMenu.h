#pragma once

#include "framework/forms/PopupMenu.h"

namespace emr {

class TCustomAdvMenuStyler;

/// A popup menu painted from a menu styler: an icon bar down the left, a gradient
/// face and border on the highlighted item, check marks and submenu arrows from
/// the styler's glyphs, and the root item's font. Without a styler of its own it
/// paints with the defaults of a fresh menu styler.
class TAdvPopupMenu : public TPopupMenu {
    EMR_CLASS(TAdvPopupMenu)
public:
    explicit TAdvPopupMenu(TComponent* owner);

    TCustomAdvMenuStyler* MenuStyler() const { return menuStyler_; }
    /// Uses `styler` (not owned) for painting; null goes back to the defaults.
    void SetMenuStyler(TCustomAdvMenuStyler* styler);

    /// The styler painting reads: MenuStyler, else the built-in defaults.
    const TCustomAdvMenuStyler* StylerInEffect() const;

    void MeasureItem(TCanvas& canvas, TMenuItem* item, int& width, int& height) override;
    void DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect, TMenuItemDrawState state) override;
    void DrawBackground(TCanvas& canvas, const TRect& rect) override;
    int BorderWidth() const override { return 1; }
    /// Up and Down pass over disabled items as well as separators.
    bool KeyboardStop(const TMenuItem* item) const override { return item->Enabled() && !item->IsLine(); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    int IconBarWidth() const;

    TCustomAdvMenuStyler* menuStyler_ = nullptr;
    TCustomAdvMenuStyler* defaults_ = nullptr;
};

} // namespace emr
