// The buttons a full-size menu toolbar shows for its form's active maximized
// document window: where they sit, what they look like and what they do.

#include "ToolBarFixture.h"
#include "framework/forms/MDIChild.h"
#include "framework/forms/Menu.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/Panel.h"
#include "toolbar/ToolBarMDIButtons.h"

namespace emr::testing {
namespace {

using TKind = TToolBarMDIButtons::TKind;

class MDIButtonsTest : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        form->SetFormStyle(fsMDIForm);
        menu = new TMainMenu(form);
        auto* file = new TMenuItem(form);
        file->SetCaption("&File");
        menu->Items()->Add(file);
        toolBar->SetAutoSize(false);
        toolBar->Constraints()->SetMaxWidth(0);
        toolBar->SetBounds(0, 0, 400, 26);
        toolBar->SetFullSize(true);
        toolBar->SetMenu(menu);
        toolBar->SetAutoMDIButtons(true);
        client = new TPanel(form);
        client->SetParent(form);
        client->SetBounds(0, 30, 400, 170);
        first = NewChild("First");
        second = NewChild("Second");
        form->Show();
        Pump();
    }
    TMDIChild* NewChild(const std::string& caption) {
        auto* child = new TMDIChild(form);
        child->SetCaption(caption);
        child->SetParent(client);
        child->SetBounds(10, 10, 200, 120);
        return child;
    }
    TToolBarMDIButtons& Buttons() { return *toolBar->MDIButtons(); }
    void ClickAt(TPoint p) {
        Press(toolBar, p.X, p.Y);
        Release(toolBar, p.X, p.Y);
    }
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

    TMainMenu* menu = nullptr;
    TPanel* client = nullptr;
    TMDIChild* first = nullptr;
    TMDIChild* second = nullptr;
};

TEST_F(MDIButtonsTest, OnlyAMaximizedActiveChildWithASystemMenuShowsThem) {
    EXPECT_EQ(ActiveMDIChildOf(form), second);
    EXPECT_FALSE(Buttons().Shown()) << "not maximized";
    second->SetWindowState(wsMaximized);
    EXPECT_TRUE(Buttons().Shown());
    second->SetBorderIcons(biMinimize | biMaximize);
    EXPECT_FALSE(Buttons().Shown()) << "no system menu";
    second->SetBorderIcons(biSystemMenu | biMaximize);
    toolBar->SetAutoMDIButtons(false);
    EXPECT_FALSE(Buttons().Shown());
}

TEST_F(MDIButtonsTest, ThreeButtonsOf18AtTheRightEndWithOnePixelGaps) {
    second->SetWindowState(wsMaximized);
    ASSERT_EQ(toolBar->Width(), 400);
    const int top = std::max(2, (toolBar->Height() - 18) / 2);
    EXPECT_EQ(Buttons().Rect(TKind::Close), (TRect{400 - 21, top, 400 - 3, top + 18}));
    EXPECT_EQ(Buttons().Rect(TKind::Restore), (TRect{400 - 21 - 19, top, 400 - 22, top + 18}));
    EXPECT_EQ(Buttons().Rect(TKind::Minimize), (TRect{400 - 21 - 38, top, 400 - 41, top + 18}));
}

TEST_F(MDIButtonsTest, InARightToLeftWindowTheyAppearAtTheLeftEndAndTakeClicksThere) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    second->SetWindowState(wsMaximized);
    Pump();
    const int top = std::max(2, (toolBar->Height() - 18) / 2);
    EXPECT_EQ(Buttons().Rect(TKind::Close), (TRect{400 - 21, top, 400 - 3, top + 18})) << "logical as ever";
    const TPoint o = form->ClientOrigin();
    EXPECT_EQ(toolBar->ClientToScreenRect(Buttons().Rect(TKind::Close)),
              (TRect{o.X + 3, o.Y + top, o.X + 21, o.Y + top + 18}));
    // A click at the left end of the screen closes the child.
    TComponentRef<TMDIChild> closing(second);
    const TPoint at{o.X + 12, o.Y + top + 9};
    backend_->MoveMouse(at.X, at.Y);
    backend_->Press(at.X, at.Y);
    backend_->Release(at.X, at.Y);
    Pump();
    Pump();
    EXPECT_FALSE(closing) << "the child is freed";
}

TEST_F(MDIButtonsTest, TheCloseGlyphIsABlackCrossAndAHotButtonGetsTheHotFace) {
    second->SetWindowState(wsMaximized);
    const TRect close = Buttons().Rect(TKind::Close);
    MoveTo(toolBar, close.Left + 1, close.Top + 1);
    EXPECT_EQ(Buttons().Hot(), TKind::Close);
    auto shot = Snapshot(toolBar);
    const int x = close.Left + (close.Width() - 8) / 2, y = close.Top + (close.Height() - 8) / 2;
    EXPECT_EQ(shot->Pixel(x, y), clBlack);
    EXPECT_EQ(shot->Pixel(x + 1, y), clBlack) << "two pixels wide";
    EXPECT_EQ(shot->Pixel(x + 7, y), clBlack);
    EXPECT_EQ(shot->Pixel(close.Left, close.Top), ColorToRGB(styler->ButtonAppearance()->BorderHotColor()));
}

TEST_F(MDIButtonsTest, CloseClosesTheChildRestoreAndMinimizeChangeItsState) {
    second->SetWindowState(wsMaximized);
    ClickAt(Centre(Buttons().Rect(TKind::Restore)));
    EXPECT_EQ(second->WindowState(), wsNormal);
    EXPECT_EQ(second->BoundsRect(), (TRect{10, 10, 210, 130})) << "back where it was";
    second->SetWindowState(wsMaximized);
    ClickAt(Centre(Buttons().Rect(TKind::Minimize)));
    EXPECT_EQ(second->WindowState(), wsMinimized);

    first->SetWindowState(wsMaximized);
    EXPECT_EQ(ActiveMDIChildOf(form), first);
    TComponentRef<TMDIChild> closing(first);
    ClickAt(Centre(Buttons().Rect(TKind::Close)));
    Pump();
    EXPECT_FALSE(closing) << "the child is freed";
    EXPECT_FALSE(Buttons().Shown());
}

TEST_F(MDIButtonsTest, AReleaseOffTheCloseButtonClosesNothing) {
    second->SetWindowState(wsMaximized);
    const TRect close = Buttons().Rect(TKind::Close);
    Press(toolBar, close.Left + 2, close.Top + 2);
    Release(toolBar, 5, 5);
    Pump();
    EXPECT_TRUE(second->Visible());
    EXPECT_EQ(second->WindowState(), wsMaximized);
}

TEST_F(MDIButtonsTest, RestoreWithoutBiMaximizeIsGreyAndDoesNothing) {
    second->SetWindowState(wsMaximized);
    second->SetBorderIcons(biSystemMenu | biMinimize);
    const TRect restore = Buttons().Rect(TKind::Restore);
    ClickAt(Centre(restore));
    EXPECT_EQ(second->WindowState(), wsMaximized);
    MoveTo(toolBar, 2, 2);
    auto shot = Snapshot(toolBar);
    int grey = 0, black = 0;
    for (int y = restore.Top; y < restore.Bottom; ++y)
        for (int x = restore.Left; x < restore.Right; ++x) {
            grey += shot->Pixel(x, y) == 0x808080 ? 1 : 0;
            black += shot->Pixel(x, y) == clBlack ? 1 : 0;
        }
    EXPECT_GT(grey, 10);
    EXPECT_EQ(black, 0);
}

} // namespace
} // namespace emr::testing
