#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace emr::testing {

/// The colours of the gradient band that covers offset `pos` of a DrawGradient
/// call over `length` pixels (after the one-pixel reduction), with `steps` bands.
inline TColor BandColor(TColor from, TColor to, int steps, int length, int pos) {
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    double s = static_cast<double>(length - 1) / steps;
    int band = 0;
    for (int i = 0; i < steps; ++i) {
        int o = static_cast<int>(std::nearbyint(i * s));
        if (o <= pos) band = i;
    }
    auto channel = [&](int shift) {
        int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
        double d = static_cast<double>(t - f) / steps;
        return static_cast<TColor>(f + static_cast<int>(std::nearbyint(band * d))) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

/// Stored-layout text for `count` toolbars Bar1, Bar2, ... of a dock panel, one to
/// a row, each with two captioned buttons ("B1", "B2"), indented to sit inside
/// the panel's object.
inline std::string StoredToolBars(int count) {
    std::string text;
    for (int t = 1; t <= count; ++t) {
        const std::string n = std::to_string(t);
        text += "    object Bar" + n +
                ": TAdvToolBar\n      Left = 3\n      Top = " + std::to_string(1 + 28 * (t - 1)) +
                "\n      Width = 91\n      Height = 26\n";
        for (int b = 1; b <= 2; ++b)
            text += "      object Button" + n + std::to_string(b) +
                    ": TAdvToolBarButton\n        Caption = 'B" + std::to_string(b) +
                    "'\n        ShowCaption = True\n      end\n";
        text += "    end\n";
    }
    return text;
}

/// A headless application with a shown form and a standalone toolbar styled with
/// the main window's colours.
class ToolBarFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(50, 50, 100, 100);
        form->SetClientWidth(400);
        form->SetClientHeight(200);
        styler = new TAdvToolBarOfficeStyler(form);
        ApplyMainWindowColours(styler);
        toolBar = new TAdvToolBar(form);
        toolBar->SetParent(form);
        toolBar->SetToolBarStyler(styler);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    static void ApplyMainWindowColours(TCustomAdvToolBarStyler* s) {
        s->SetBorderColor(14731181);
        s->SetBorderColorHot(14731181);
        TButtonAppearance* b = s->ButtonAppearance();
        b->SetColor(16640730);
        b->SetColorTo(14986888);
        b->SetColorChecked(9229823);
        b->SetColorCheckedTo(5812223);
        b->SetColorDown(5149182);
        b->SetColorDownTo(9556991);
        b->SetColorHot(13432063);
        b->SetColorHotTo(9556223);
        b->SetBorderDownColor(clNavy);
        b->SetBorderHotColor(clNavy);
        b->SetBorderCheckedColor(clNavy);
        s->CaptionAppearance()->SetCaptionColor(clHighlight);
        s->CaptionAppearance()->SetCaptionColorTo(clHighlight);
        s->CaptionAppearance()->SetCaptionBorderColor(clHighlight);
        s->Color()->SetColor(16640730);
        s->Color()->SetColorTo(14986888);
        s->Color()->SetDirection(gdVertical);
        s->DockColor()->SetColor(16105376);
        s->DockColor()->SetColorTo(16440004);
        s->DockColor()->SetDirection(gdHorizontal);
        s->DockColor()->SetSteps(128);
        s->SetRightHandleColor(15836789);
        s->SetRightHandleColorTo(9516288);
        s->SetRightHandleColorHot(13891839);
        s->SetRightHandleColorHotTo(7782911);
        s->SetRightHandleColorDown(557032);
        s->SetRightHandleColorDownTo(8182519);
        s->ButtonAppearance()->CaptionFont()->SetName("Tahoma");
        s->ButtonAppearance()->CaptionFont()->SetHeight(-11);
    }

    /// A 16 x 16 glyph: a green square on a white ground.
    static std::unique_ptr<TBitmap> Glyph16() {
        auto g = std::make_unique<TBitmap>(16, 16);
        g->Canvas()->Brush()->SetColor(clWhite);
        g->Canvas()->FillRect({0, 0, 16, 16});
        g->Canvas()->Brush()->SetColor(clGreen);
        g->Canvas()->FillRect({4, 4, 12, 12});
        return g;
    }

    TAdvToolBarButton* AddButton(const std::string& caption, bool withGlyph = true) {
        auto* b = new TAdvToolBarButton(form);
        if (withGlyph) b->SetGlyph(Glyph16().get());
        b->SetGlyphPosition(TGlyphPosition::gpTop);
        b->SetShowCaption(true);
        b->SetCaption(caption);
        b->AttachToToolBar(toolBar);
        return b;
    }

    void Pump() { app->ProcessMessages(); }
    TPoint At(const TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }
    void MoveTo(const TControl* c, int x, int y) {
        TPoint p = At(c, x, y);
        backend_->MoveMouse(p.X, p.Y);
        Pump();
    }
    void Press(const TControl* c, int x, int y) {
        TPoint p = At(c, x, y);
        backend_->MoveMouse(p.X, p.Y);
        backend_->Press(p.X, p.Y);
        Pump();
    }
    void Release(const TControl* c, int x, int y) {
        TPoint p = At(c, x, y);
        backend_->MoveMouse(p.X, p.Y, platform::ssLeft);
        backend_->Release(p.X, p.Y);
        Pump();
    }

    /// Paints the toolbar and its children into a bitmap of its size.
    std::unique_ptr<TBitmap> Snapshot(TControl* control) {
        form->Show();
        Pump();
        form->Invalidate();
        form->PaintWindowNow();
        auto bmp = std::make_unique<TBitmap>(control->Width(), control->Height());
        TPoint origin = control->ClientToControl({0, 0}, form);
        for (int y = 0; y < control->Height(); ++y)
            for (int x = 0; x < control->Width(); ++x)
                bmp->ScanLine(y)[x] = backend_->PixelAt(form->NativeWindow(), origin.X + x, origin.Y + y);
        return bmp;
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvToolBarOfficeStyler* styler = nullptr;
    TAdvToolBar* toolBar = nullptr;
};

} // namespace emr::testing
