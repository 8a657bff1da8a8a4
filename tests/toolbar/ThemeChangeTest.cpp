// A desktop theme change travels from the backend to the toolbars: the
// application broadcasts WM_THEMECHANGED, the office styler's notifier window
// hears it, a styler with AutoThemeAdapt takes the look of the new scheme, and
// the toolbar shows that look without anyone asking it to paint.
#include "ToolBarFixture.h"

#include "styling/OfficeStylerPresets.h"

namespace emr::testing {
namespace {

class ThemeChange : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        form->Show();
        Pump();
    }
    void TearDown() override {
        ResetSystemColorScheme();
        ToolBarFixture::TearDown();
    }

    /// The presented colour at a client point of the toolbar.
    TColor Shown(int x, int y) {
        const TPoint p = toolBar->ClientToControl({x, y}, form);
        return PixelToColor(backend_->PixelAt(form->NativeWindow(), p.X, p.Y));
    }
    /// The toolbar's background at row y for a look's Color gradient: vertical, over
    /// the height and one more row.
    TColor Background(TColor from, TColor to, int steps, int y) {
        return BandColor(from, to, steps, toolBar->Height() + 1, y);
    }
    /// A point of the toolbar's background, clear of grip, border and handle.
    static constexpr int kX = 9, kY = 20;
};

TEST_F(ThemeChange, AStylerThatFollowsTheDesktopShowsTheNewSchemesLookOnItsToolBar) {
    styler->SetAutoThemeAdapt(true);
    const int steps = styler->Color()->Steps();
    ASSERT_EQ(Shown(kX, kY), Background(16640730, 14986888, steps, kY)) << "the main window's colours";

    backend_->ChangeTheme(3);
    Pump();
    EXPECT_EQ(styler->Style(), bsOffice2003Silver);
    const TStylerPreset& silver = StylerPreset(bsOffice2003Silver);
    EXPECT_EQ(Shown(kX, kY), Background(silver.Color.Color, silver.Color.ColorTo, *silver.Color.Steps, kY));

    backend_->ChangeTheme(0);
    Pump();
    EXPECT_EQ(styler->Style(), bsOffice2003Classic) << "no known scheme: the classic look";
    const TStylerPreset& classic = StylerPreset(bsOffice2003Classic);
    EXPECT_EQ(Shown(kX, kY),
              Background(classic.Color.Color, classic.Color.ColorTo, *classic.Color.Steps, kY));
}

TEST_F(ThemeChange, AStylerThatKeepsItsOwnColoursKeepsThem) {
    const TColor before = Shown(kX, kY);
    backend_->ChangeTheme(1);
    Pump();
    EXPECT_EQ(styler->Style(), bsCustom);
    EXPECT_EQ(Shown(kX, kY), before);
}

TEST_F(ThemeChange, TheToolBarPaintsAgainInTheDesktopsNewColours) {
    // The grip's dots are clBtnShadow (Windows 7: 160, 160, 160).
    ASSERT_EQ(Shown(4, 5), RGB(160, 160, 160));
    TSystemColorScheme desktop = SystemColorScheme();
    desktop.Colors[clBtnShadow & 0xFF] = RGB(10, 20, 30);
    SetSystemColorScheme(desktop);
    Pump();
    EXPECT_EQ(Shown(4, 5), RGB(160, 160, 160)) << "nothing paints before the desktop reports its change";
    backend_->ChangeTheme(0);
    Pump();
    EXPECT_EQ(Shown(4, 5), RGB(10, 20, 30));
    EXPECT_EQ(styler->Style(), bsCustom) << "the colours changed, not the look";
}

} // namespace
} // namespace emr::testing
