#include "ToolBarFixture.h"

#include "styling/GlowButtonAppearance.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvToolBarSeparator.h"

namespace emr::testing {
namespace {

constexpr TColor kFace = 16640730, kFaceTo = 14986888, kBorder = 14731181;
constexpr TColor kHandle = 15836789, kHandleTo = 9516288;
constexpr TColor kShadow = RGB(160, 160, 160);

/// A toolbar whose option window counts as open, to show the handle's down look.
class OpenOptionToolBar : public TAdvToolBar {
public:
    using TAdvToolBar::TAdvToolBar;
    bool OptionWindowVisible() const override { return open; }
    bool open = false;
};

class ToolBarPaint : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        AddButton("确定");
        AddButton("退出");
    }
    /// The toolbar's own painting (without its controls) on a fresh bitmap.
    std::unique_ptr<TBitmap> PaintOnly(TAdvCustomToolBar* tb) {
        auto bmp = std::make_unique<TBitmap>(tb->Width(), tb->Height());
        tb->PaintToolBar(*bmp->Canvas());
        return bmp;
    }
};

TEST_F(ToolBarPaint, MainWindowBackgroundBorderGripAndHandle) {
    auto bmp = PaintOnly(toolBar);
    // Background: DrawGradient over (0, 0, 92, 46), vertical, Color.Steps bands.
    int steps = styler->Color()->Steps();
    for (int y : {2, 10, 23, 40})
        EXPECT_EQ(bmp->Pixel(30, y), BandColor(kFace, kFaceTo, steps, 46, y)) << y;
    // Border: a 6 x 6 rounded frame on (0, 0, 91, 45); its corner pixel stays background.
    EXPECT_EQ(bmp->Pixel(30, 0), kBorder);
    EXPECT_EQ(bmp->Pixel(0, 20), kBorder);
    EXPECT_EQ(bmp->Pixel(30, 44), kBorder);
    EXPECT_NE(bmp->Pixel(0, 0), kBorder);
    // Dots grip: 9 dots, shadow square at (4, 5 + 4k) with its white twin one pixel down-right.
    for (int k = 0; k < 9; ++k) {
        int y = 5 + 4 * k;
        EXPECT_EQ(bmp->Pixel(4, y), kShadow);
        EXPECT_EQ(bmp->Pixel(5, y + 1), kShadow);
        EXPECT_EQ(bmp->Pixel(6, y + 2), clWhite);
    }
    EXPECT_NE(bmp->Pixel(4, 5 + 4 * 9), kShadow);
    // Right handle: 16-step vertical gradient over (80, 0, 92, 46); no chevron while all fits.
    EXPECT_EQ(bmp->Pixel(84, 20), BandColor(kHandle, kHandleTo, 16, 46, 20));
    EXPECT_EQ(bmp->Pixel(86, 6), BandColor(kHandle, kHandleTo, 16, 46, 6));
    // Relief option arrow: black (R-9, B-11)..(R-5, B-11) with R = 92, B = 46.
    for (int x = 83; x < 88; ++x)
        EXPECT_EQ(bmp->Pixel(x, 35), clBlack);
    EXPECT_EQ(bmp->Pixel(84, 36), clWhite);
    EXPECT_EQ(bmp->Pixel(85, 40), clBlack);
}

TEST_F(ToolBarPaint, RightHandleHotDownAndChevron) {
    auto* tb = new OpenOptionToolBar(form);
    tb->SetParent(form);
    tb->SetToolBarStyler(styler);
    tb->SetAutoSize(false);
    tb->SetBounds(0, 60, 91, 45);
    tb->SetShowOptionIndicator(false);
    form->Show();
    Pump();
    MoveTo(tb, 85, 20);
    EXPECT_TRUE(tb->RightHandleHot());
    auto hot = PaintOnly(tb);
    EXPECT_EQ(hot->Pixel(84, 20), BandColor(13891839, 7782911, 16, 46, 20));
    tb->open = true;
    auto down = PaintOnly(tb);
    EXPECT_EQ(down->Pixel(84, 20), BandColor(557032, 8182519, 16, 46, 20));
    tb->open = false;
    MoveTo(form, 300, 10);
    // Shorter than its full length: the relief chevron (R = Width + 1).
    auto* b = new TAdvToolBarButton(form);
    b->SetBounds(0, 0, 120, 20);
    b->SetAutoSize(false);
    b->SetParent(tb);
    tb->ArrangeControls(true);
    EXPECT_GT(tb->FullLength(), tb->Width());
    auto chevron = PaintOnly(tb);
    int r = tb->Width() + 1;
    for (int y = 5; y < 8; ++y)
        EXPECT_EQ(chevron->Pixel(r - 6, y), clBlack) << y;
    EXPECT_EQ(chevron->Pixel(r - 5, 7), clWhite);
    EXPECT_EQ(chevron->Pixel(r - 10, 6), clBlack);
    // Without overflow there is no chevron.
    b->SetWidth(20);
    tb->ArrangeControls(true);
    tb->SetWidth(tb->FullLength());
    auto plain = PaintOnly(tb);
    r = tb->Width() + 1;
    EXPECT_NE(plain->Pixel(r - 6, 6), clBlack);
}

TEST_F(ToolBarPaint, SolidHandleAndSquareCorners) {
    styler->SetRightHandleColorTo(clNone);
    auto solid = PaintOnly(toolBar);
    EXPECT_EQ(solid->Pixel(84, 5), kHandle);
    EXPECT_EQ(solid->Pixel(84, 30), kHandle);
    styler->SetRightHandleColorTo(kHandleTo);
    styler->SetRoundCorners(false);
    auto square = PaintOnly(toolBar);
    // A plain Rectangle border shows its top-left corner; the handle shrinks to (76, 1, 90, 44).
    EXPECT_EQ(square->Pixel(0, 0), kBorder);
    EXPECT_EQ(square->Pixel(85, 20), BandColor(kHandle, kHandleTo, 16, 43, 19));
    EXPECT_EQ(square->Pixel(90, 20), BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 20));
    // Flat option arrow: (R-9, B-9)..(R-5, B-9) with R = 90, B = 44.
    for (int x = 81; x < 86; ++x)
        EXPECT_EQ(square->Pixel(x, 35), clBlack);
}

TEST_F(ToolBarPaint, EveryGripStyle) {
    TColor bg = BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 20);
    styler->SetDragGripStyle(dsFlatDots);
    auto flat = PaintOnly(toolBar);
    for (int x = 3; x < 6; ++x)
        EXPECT_EQ(flat->Pixel(x, 5), RGB(165, 165, 165));
    EXPECT_EQ(flat->Pixel(6, 5), BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 5));
    EXPECT_EQ(flat->Pixel(4, 6), BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 6));

    styler->SetDragGripStyle(dsSingleLine);
    auto single = PaintOnly(toolBar);
    EXPECT_EQ(single->Pixel(4, 20), clWhite);
    EXPECT_EQ(single->Pixel(6, 20), kShadow);
    EXPECT_EQ(single->Pixel(5, 20), bg);

    styler->SetDragGripStyle(dsDoubleLine);
    auto twin = PaintOnly(toolBar);
    EXPECT_EQ(twin->Pixel(2, 20), clWhite);
    EXPECT_EQ(twin->Pixel(4, 20), kShadow);
    EXPECT_EQ(twin->Pixel(5, 20), clWhite);
    EXPECT_EQ(twin->Pixel(7, 20), kShadow);

    styler->SetDragGripStyle(dsNone);
    auto none = PaintOnly(toolBar);
    EXPECT_EQ(none->Pixel(4, 20), bg);
}

TEST_F(ToolBarPaint, FloatingCaptionBarWithOptionAndCloseGlyphs) {
    class Window : public TCustomControl, public TToolBarFloatingSite {
    public:
        using TCustomControl::TCustomControl;
        void FitToToolBar() override {}
        bool WindowShowing() const override { return false; }
        void HideWindow() override {}
        void StopFollowing() override {}
        void Release() override {}
    };
    auto* window = new Window(form);
    window->SetParent(form);
    toolBar->SetCaption("Untitled");
    toolBar->SetParent(window);
    auto bmp = PaintOnly(toolBar);
    TColor caption = ColorToRGB(clHighlight);
    int w = toolBar->Width();
    EXPECT_EQ(bmp->Pixel(w - 30, 0), caption);
    TRect x = toolBar->CloseButtonRect();
    EXPECT_EQ(x, (TRect{w - 17, 1, w - 1, 15}));
    int l = x.Left + 4, t = x.Top + 4;
    EXPECT_EQ(bmp->Pixel(l, t + 7), clWhite);
    EXPECT_EQ(bmp->Pixel(l + 1, t + 7), clWhite);
    EXPECT_EQ(bmp->Pixel(l, t + 1), clWhite);
    EXPECT_EQ(bmp->Pixel(l + 7, t + 7), clWhite);
    EXPECT_EQ(bmp->Pixel(l + 4, t + 1), caption);
    TRect o = toolBar->OptionButtonRect();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bmp->Pixel(o.Left + 5 + i, o.Bottom - 10 + i), clWhite);
        EXPECT_EQ(bmp->Pixel(o.Left + 11 - i, o.Bottom - 10 + i), clWhite);
        EXPECT_EQ(bmp->Pixel(o.Left + 12 - i, o.Bottom - 10 + i), caption);
    }
    // No grip and no border while floating: the band below the caption starts at x 0.
    EXPECT_NE(bmp->Pixel(4, 20), kShadow);
}

TEST_F(ToolBarPaint, CaptionBarIndicatorFades) {
    TGlowButtonAppearance* g = styler->GlowButtonAppearance();
    constexpr TColor hot = RGB(255, 200, 0);
    for (auto set : {&TGlowButtonAppearance::SetColorHot, &TGlowButtonAppearance::SetColorHotTo,
                     &TGlowButtonAppearance::SetColorMirrorHot, &TGlowButtonAppearance::SetColorMirrorHotTo,
                     &TGlowButtonAppearance::SetBorderColorHot})
        (g->*set)(hot);
    toolBar->SetShowRightHandle(false);
    toolBar->SetShowCaption(true);
    form->Show();
    Pump();
    TRect r = toolBar->CaptionOptionIndicatorRect();
    ASSERT_GE(r.Left, 0);
    EXPECT_EQ(r, (TRect{toolBar->Width() - 15, 2, toolBar->Width() - 1, 15}));
    TColor base = ColorToRGB(clHighlight);
    TPoint mid{r.Left + r.Width() / 2, r.Top + 3};
    MoveTo(toolBar, mid.X, mid.Y);
    EXPECT_TRUE(toolBar->IndicatorFading());
    EXPECT_EQ(toolBar->IndicatorFade(), 0);
    EXPECT_EQ(PaintOnly(toolBar)->Pixel(mid.X, mid.Y), base);
    backend_->AdvanceTime(60);
    EXPECT_EQ(toolBar->IndicatorFade(), 40);
    EXPECT_EQ(PaintOnly(toolBar)->Pixel(mid.X, mid.Y), BlendColor(hot, base, 40));
    backend_->AdvanceTime(300);
    EXPECT_FALSE(toolBar->IndicatorFading());
    EXPECT_EQ(toolBar->IndicatorFade(), 120);
    EXPECT_EQ(PaintOnly(toolBar)->Pixel(mid.X, mid.Y), hot);
    // Leaving fades out and finally clears the hover look.
    MoveTo(form, 300, 150);
    backend_->AdvanceTime(300);
    EXPECT_FALSE(toolBar->IndicatorHot());
    EXPECT_EQ(toolBar->IndicatorFade(), -20);
}

class ButtonPaint : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        a = AddButton("确定");
        b = AddButton("退出");
        form->Show();
        Pump();
    }
    TAdvToolBarButton* a = nullptr;
    TAdvToolBarButton* b = nullptr;
};

TEST_F(ButtonPaint, NormalHotDownCheckedAndDisabledLooks) {
    auto normal = Snapshot(a);
    EXPECT_EQ(normal->Pixel(1, 20), BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 22));
    MoveTo(a, 1, 30);
    auto hot = Snapshot(a);
    EXPECT_EQ(hot->Pixel(0, 20), clNavy);
    EXPECT_EQ(hot->Pixel(1, 20), BandColor(13432063, 9556223, 40, 41, 20));
    EXPECT_EQ(hot->Pixel(1, 2), BandColor(13432063, 9556223, 40, 41, 2));
    Press(a, 1, 30);
    auto down = Snapshot(a);
    EXPECT_EQ(down->Pixel(1, 20), BandColor(5149182, 9556991, 40, 41, 20));
    Release(a, 1, 30);
    a->SetStyle(TAdvToolButtonStyle::tasCheck);
    a->SetDown(true);
    auto checked = Snapshot(a);
    EXPECT_EQ(checked->Pixel(1, 20), BandColor(9229823, 5812223, 40, 41, 20));
    EXPECT_EQ(checked->Pixel(33, 20), clNavy);
    a->SetDown(false);
    MoveTo(form, 300, 150);
    a->SetEnabled(false);
    auto disabled = Snapshot(a);
    EXPECT_EQ(disabled->Pixel(1, 20), BandColor(kFace, kFaceTo, styler->Color()->Steps(), 46, 22));
    // Embossed caption: grey shadow strokes and no dark text, where the enabled caption is black.
    auto darkest = [](const TBitmap& bmp) {
        int least = 255 * 3;
        for (int y = 24; y < 41; ++y)
            for (int x = 0; x < 34; ++x) {
                TColor c = bmp.Pixel(x, y);
                least = std::min(least, GetRValue(c) + GetGValue(c) + GetBValue(c));
            }
        return least;
    };
    EXPECT_LT(darkest(*normal), 150);
    EXPECT_GE(darkest(*disabled), 3 * 150);
    EXPECT_LE(darkest(*disabled), 3 * 200);
    // The generated disabled glyph: grey g = ((R + G + B) / 3) / 2 + 96 of each glyph pixel.
    EXPECT_EQ(a->GlyphDisabled()->Pixel(0, 0), RGB(223, 223, 223));
    int g = ((0 + 128 + 0) / 3) / 2 + 96;
    EXPECT_EQ(a->GlyphDisabled()->Pixel(8, 8), RGB(g, g, g));
    EXPECT_EQ(disabled->Pixel(9 + 8, 4 + 8), RGB(g, g, g));
}

TEST_F(ButtonPaint, SplitDropDownButtonWithArrow) {
    a->SetDropDownButton(true);
    EXPECT_EQ(a->Width(), 46);
    MoveTo(a, 5, 30);
    auto bmp = Snapshot(a);
    // Arrow at x = 34 + (12 - 5) / 2 = 37, y = (41 - 3) / 2 + 1 = 20.
    for (int x = 37; x < 42; ++x)
        EXPECT_EQ(bmp->Pixel(x, 20), clBlack);
    for (int x = 38; x < 41; ++x)
        EXPECT_EQ(bmp->Pixel(x, 21), clBlack);
    EXPECT_EQ(bmp->Pixel(39, 22), clBlack);
    EXPECT_NE(bmp->Pixel(37, 21), clBlack);
    // Split: frames around the main area and around the drop-down part.
    EXPECT_EQ(bmp->Pixel(33, 10), clNavy);
    EXPECT_EQ(bmp->Pixel(34, 10), clNavy);
    EXPECT_EQ(bmp->Pixel(45, 10), clNavy);
}

TEST_F(ButtonPaint, RotatedCaptionRunsDownward) {
    toolBar->SetPosition(TDockAlign::daLeft);
    a->SetGlyph(nullptr);
    TBitmap empty;
    a->SetGlyph(&empty);
    auto bmp = Snapshot(a);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x)
            if (TColor c = bmp->Pixel(x, y); GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_GT(maxY - minY, maxX - minX); // two ideographs stacked: taller than wide
    EXPECT_GE(maxY - minY + 1, 20);
}

TEST_F(ButtonPaint, SeparatorsInBothOrientations) {
    auto* sep = new TAdvToolBarSeparator(form);
    sep->AttachToToolBar(toolBar);
    EXPECT_EQ(sep->Width(), 10);
    EXPECT_EQ(sep->Height(), 41);
    auto h = Snapshot(sep);
    EXPECT_EQ(h->Pixel(5, 3), kShadow);
    EXPECT_EQ(h->Pixel(5, 37), kShadow);
    EXPECT_NE(h->Pixel(5, 38), kShadow);
    EXPECT_EQ(h->Pixel(6, 4), clWhite);
    EXPECT_EQ(h->Pixel(6, 38), clWhite);
    toolBar->SetPosition(TDockAlign::daTop == toolBar->Position() ? TDockAlign::daLeft : TDockAlign::daTop);
    sep->UpdateControlSize();
    EXPECT_EQ(sep->Height(), 10);
    auto v = Snapshot(sep);
    int w = sep->Width();
    EXPECT_EQ(v->Pixel(3, 5), kShadow);
    EXPECT_EQ(v->Pixel(w - 4, 5), kShadow);
    EXPECT_EQ(v->Pixel(4, 6), clWhite);
}

} // namespace
} // namespace emr::testing
