// A right-to-left window shows the same layout as a left-to-right one reflected
// about its vertical centre line: every control and every part of a toolbar
// (grip, right handle, option indicator, caption, close button) lands on the
// mirror image of its left-to-right place, while the positions the program
// keeps stay the same.

#include <map>
#include <memory>
#include <string>

#include "ToolBarFixture.h"
#include "framework/forms/Menu.h"
#include "framework/forms/MenuItem.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/FloatingWindow.h"

namespace emr::testing {
namespace {

/// Rectangles by name, each with the window it is shown in.
using TRects = std::map<std::string, std::pair<TRect, const TControl*>>;

/// A screen rectangle reflected across the client area of the window it lies in.
TRect MirrorInWindow(const TRect& r, const TControl* window) {
    const int left = window->ClientOrigin().X;
    const int right = left + window->ClientWidth();
    return {left + right - r.Right, r.Top, left + right - r.Left, r.Bottom};
}

class MirroredLayout : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        dock = new TAdvDockPanel(form);
        dock->SetName("Dock");
        dock->SetParent(form);
        toolBar->SetName("First");
        toolBar->SetParent(dock);
    }

    TAdvToolBar* NewToolBar(const std::string& name) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        t->SetToolBarStyler(styler);
        t->SetParent(dock);
        return t;
    }
    void AddButtons(TAdvToolBar* t, int count) const {
        for (int i = 0; i < count; ++i) {
            auto* b = new TAdvToolBarButton(form);
            const std::string number = std::to_string(t->ControlCount());
            b->SetName(t->Name() + "Button" + number);
            b->SetCaption("B" + number);
            b->SetShowCaption(true);
            b->AttachToToolBar(t);
        }
    }
    void AddSeparator(TAdvToolBar* t) {
        auto* s = new TAdvToolBarSeparator(form);
        s->SetName(t->Name() + "Separator" + std::to_string(t->ControlCount()));
        s->AttachToToolBar(t);
    }

    /// Every visible control's rectangle on the screen, and each toolbar's parts.
    static void Collect(const TControl* c, TRects& out) {
        if (!c->Visible()) return;
        const std::string name = c->Name().empty() ? std::string(c->ClassName()) : c->Name();
        const TControl* window = c->TopLevel();
        out[name] = {c->ClientToScreenRect(c->ClientRect()), window};
        out[name + ".bounds"] = {c->BoundsRect(), nullptr};
        if (auto* t = dynamic_cast<const TAdvCustomToolBar*>(c)) {
            const std::pair<const char*, TRect> parts[] = {
                {"grip", t->GripHitRect()},
                {"handle", t->RightHandleHitRect()},
                {"indicator", t->CaptionOptionIndicatorRect()},
                {"caption", t->CaptionRect()},
                {"close", t->CloseButtonRect()},
                {"content", t->ContentRect()},
            };
            for (const auto& [part, r] : parts)
                if (!r.Empty() && r.Left >= 0) out[name + "." + part] = {t->ClientToScreenRect(r), window};
        }
        if (const TWinControl* win = c->AsWinControl())
            for (const TControl* child : win->ControlList())
                Collect(child, out);
    }
    TRects Snapshot(const std::vector<TCustomForm*>& windows) {
        Pump();
        TRects out;
        for (TCustomForm* w : windows)
            Collect(w, out);
        return out;
    }
    /// Lays the windows out left to right and right to left and compares.
    void ExpectMirrored(const std::vector<TCustomForm*>& windows) {
        for (TCustomForm* w : windows)
            w->SetBiDiMode(TBiDiMode::bdLeftToRight);
        const TRects ltr = Snapshot(windows);
        for (TCustomForm* w : windows)
            w->SetBiDiMode(TBiDiMode::bdRightToLeft);
        const TRects rtl = Snapshot(windows);
        ASSERT_EQ(rtl.size(), ltr.size());
        for (const auto& [name, placed] : ltr) {
            ASSERT_TRUE(rtl.count(name)) << name;
            const auto& [r, window] = placed;
            if (!window) {
                EXPECT_EQ(rtl.at(name).first, r) << name << " keeps its logical bounds";
                continue;
            }
            EXPECT_EQ(rtl.at(name).first, MirrorInWindow(r, window)) << name;
        }
    }

    TAdvDockPanel* dock = nullptr;
};

TEST_F(MirroredLayout, RowsOfToolBarsWithSeparatorsAndOverflow) {
    form->SetClientWidth(250);
    AddButtons(toolBar, 2);
    AddSeparator(toolBar);
    AddButtons(toolBar, 1);
    TAdvToolBar* second = NewToolBar("Second");
    AddButtons(second, 12);
    dock->MoveToRow(second, 0);
    TAdvToolBar* third = NewToolBar("Third");
    AddButtons(third, 3);
    form->Show();
    Pump();
    ASSERT_EQ(second->RowIndex(), 0);
    ASSERT_FALSE(second->OverflowList().empty()) << "the second toolbar is squeezed into overflow";
    ExpectMirrored({form});
}

TEST_F(MirroredLayout, AMenuBarAndAFloatingToolBarWithItsCaption) {
    auto* menu = new TMainMenu(form);
    for (const char* caption : {"&File", "&Edit", "&View"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    toolBar->SetMenu(menu);
    TAdvToolBar* floating = NewToolBar("Floating");
    AddButtons(floating, 3);
    AddSeparator(floating);
    AddButtons(floating, 2);
    form->Show();
    Pump();
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(floating, 200, 260, true);
    ASSERT_NE(window, nullptr);
    window->Show();
    ExpectMirrored({form, window});
}

/// A 16 x 16 glyph whose left half is red and right half blue, on a white ground.
std::unique_ptr<TBitmap> Arrow() {
    auto g = std::make_unique<TBitmap>(16, 16);
    g->Canvas()->Brush()->SetColor(clWhite);
    g->Canvas()->FillRect({0, 0, 16, 16});
    g->Canvas()->Brush()->SetColor(clRed);
    g->Canvas()->FillRect({2, 4, 8, 12});
    g->Canvas()->Brush()->SetColor(clBlue);
    g->Canvas()->FillRect({8, 4, 14, 12});
    return g;
}

TEST_F(MirroredLayout, GlyphsKeepTheirOrientationUnlessTheyPointAWay) {
    auto* plain = new TAdvToolBarButton(form);
    plain->SetGlyph(Arrow().get());
    plain->AttachToToolBar(toolBar);
    auto* back = new TAdvToolBarButton(form);
    back->SetGlyph(Arrow().get());
    back->SetDirectionalGlyph(true);
    back->AttachToToolBar(toolBar);
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    form->Show();
    Pump();
    form->Invalidate();
    form->PaintWindowNow();
    // Wherever each glyph lands, its red half is on the left unless it points a way.
    const auto redLeftOfBlue = [&](const TControl* button) {
        const TRect r = button->ClientToScreenRect(button->ClientRect());
        const TPoint o = form->ClientOrigin();
        int red = -1, blue = -1;
        for (int y = r.Top; y < r.Bottom && (red < 0 || blue < 0); ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const std::uint32_t p = backend_->PixelAt(form->NativeWindow(), x - o.X, y - o.Y);
                if (p == 0xFF0000 && red < 0) red = x;
                if (p == 0x0000FF && blue < 0) blue = x;
            }
        EXPECT_GE(red, 0) << button->Name();
        EXPECT_GE(blue, 0) << button->Name();
        return red < blue;
    };
    EXPECT_TRUE(redLeftOfBlue(plain)) << "a picture keeps its orientation";
    EXPECT_FALSE(redLeftOfBlue(back)) << "a glyph that points a way is mirrored";
    // Pixel for pixel: the picture on the screen is its source, or the source's
    // mirror image for the glyph that points a way. The coloured block's top-left
    // corner on the screen fixes where the glyph's cell lies.
    const auto expectGlyph = [&](const TControl* button, bool mirrored) {
        const std::unique_ptr<TBitmap> source = Arrow();
        const TRect r = button->ClientToScreenRect(button->ClientRect());
        const TPoint o = form->ClientOrigin();
        const auto screen = [&](int x, int y) {
            return backend_->PixelAt(form->NativeWindow(), x - o.X, y - o.Y);
        };
        TPoint block{-1, -1};
        for (int y = r.Top; y < r.Bottom && block.X < 0; ++y)
            for (int x = r.Left; x < r.Right && block.X < 0; ++x)
                if (screen(x, y) == 0xFF0000 || screen(x, y) == 0x0000FF) block = {x, y};
        ASSERT_GE(block.X, 0) << button->Name();
        const TPoint cell{block.X - 2, block.Y - 4}; // the block starts at (2, 4) either way
        int compared = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const TColor c = source->Pixel(mirrored ? 15 - x : x, y);
                if (c == clWhite) continue; // the transparent colour shows the button
                EXPECT_EQ(screen(cell.X + x, cell.Y + y), ColorToPixel(c))
                    << button->Name() << " at " << x << "," << y;
                ++compared;
            }
        EXPECT_EQ(compared, 2 * 6 * 8);
    };
    expectGlyph(plain, false);
    expectGlyph(back, true);
    form->SetBiDiMode(TBiDiMode::bdLeftToRight);
    Pump();
    EXPECT_TRUE(redLeftOfBlue(back)) << "left to right it is shown as drawn";
}

} // namespace
} // namespace emr::testing
