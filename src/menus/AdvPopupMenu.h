#pragma once

#include <unordered_map>

#include "framework/forms/MenuItem.h"
#include "framework/forms/PopupMenu.h"
#include "framework/graphics/Font.h"

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
    void BeginMeasure() override;
    void EndMeasure() override { lookChecked_ = false; }
    void DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect, TMenuItemDrawState state) override;
    void DrawBackground(TCanvas& canvas, const TRect& rect) override;
    int BorderWidth() const override { return 1; }
    /// Up and Down pass over disabled items as well as separators.
    bool KeyboardStop(const TMenuItem* item) const override { return item->Enabled() && !item->IsLine(); }

    /// How many times an item's text was measured. A menu measures each item
    /// once and again only after its caption or shortcut, the root item's font,
    /// the icon bar or the images changed: opening a long menu a second time
    /// measures no text.
    int TextMeasurements() const { return textMeasurements_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct MeasuredItem {
        unsigned Revision = 0; // the item's revision the size was measured at
        int Width = 0;
        int Height = 0;
    };
    int IconBarWidth() const;
    int ImageHeight() const;
    /// Forgets every measured size when what they all depend on changed.
    void ForgetSizesOnLookChange();
    void MeasureText(TCanvas& canvas, TMenuItem* item, int& width, int& height);

    TCustomAdvMenuStyler* menuStyler_ = nullptr;
    TCustomAdvMenuStyler* defaults_ = nullptr;
    // Sizes by the items' commands, which no two items share even when one is
    // made where a freed one was.
    std::unordered_map<int, MeasuredItem> measured_;
    TFont measuredFont_;
    int measuredIconBar_ = -1;
    int measuredImageHeight_ = -1;
    int textMeasurements_ = 0;
    bool lookChecked_ = false; // between BeginMeasure and EndMeasure
};

} // namespace emr
