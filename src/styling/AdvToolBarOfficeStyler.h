#pragma once

#include "styling/CustomAdvToolBarStyler.h"
#include "styling/NotifierWindow.h"
#include "styling/SharedStyle.h"
#include "styling/StylingTypes.h"

namespace emr {

struct TStylerPreset;

/// The published styler: the sixteen named looks and bsCustom (Style), adaptation to the
/// desktop colour scheme (AutoThemeAdapt) and the shared-style interface.
class TAdvToolBarOfficeStyler : public TCustomAdvToolBarStyler, public ISharedStyle {
    EMR_CLASS(TAdvToolBarOfficeStyler)
public:
    explicit TAdvToolBarOfficeStyler(TComponent* owner);

    TToolBarStyle Style() const { return style_; }
    /// Applies the look of `value`; nothing at all when it is already selected.
    virtual void SetStyle(TToolBarStyle value);

    /// Selects the preset of a shared style number (8 and unknown numbers: nothing).
    void SetSharedStyle(int styleNumber) override;

    /// With AutoThemeAdapt, selects the Office 2003 look of the desktop colour scheme.
    void ThemeChanged(TObject* sender);

    TNotifierWindow* NotifierWindow() const { return notifier_; }

    void Loaded() override;

    /// The shared style number a preset hands on (8: none).
    static int SharedStyleNumber(TToolBarStyle style);
    /// 0 no theme or an unknown scheme, 1 blue, 2 olive, 3 silver.
    static int CurrentThemeScheme();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool InDesigner() const;
    void ApplyPreamble();
    void ApplyFontNames();
    void ApplyPreset(const TStylerPreset& preset);
    void ApplyRibbon(const TStylerPreset& preset);

    TToolBarStyle style_ = bsCustom;
    TNotifierWindow* notifier_ = nullptr;
};

} // namespace emr
