#include "ToolBarFixture.h"

#include "toolbar/AdvToolBarSeparator.h"

namespace emr::testing {
namespace {

using ToolBarLayout = ToolBarFixture;

TEST_F(ToolBarLayout, MainWindowButtonsAndToolBarSizeThemselves) {
    auto* ok = AddButton("确定");
    auto* quit = AddButton("退出");
    EXPECT_EQ(ok->Width(), 34);
    EXPECT_EQ(ok->Height(), 41);
    EXPECT_EQ(quit->Width(), 34);
    EXPECT_EQ(quit->Height(), 41);
    EXPECT_EQ(ok->Left(), 9);
    EXPECT_EQ(quit->Left(), 43);
    EXPECT_EQ(ok->Top(), 2);
    EXPECT_EQ(quit->Top(), 2);
    EXPECT_EQ(toolBar->Width(), 91);
    EXPECT_EQ(toolBar->Height(), 45);
    EXPECT_EQ(toolBar->Constraints()->MinWidth(), 60);
    EXPECT_EQ(toolBar->Constraints()->MaxWidth(), 91);
    EXPECT_EQ(toolBar->FullLength(), 91);
}

TEST_F(ToolBarLayout, EmptyToolBarAndGripStyles) {
    toolBar->ArrangeControls(true);
    EXPECT_EQ(toolBar->Width(), 60);
    EXPECT_EQ(toolBar->Height(), 26);
    auto* b = AddButton("确定");
    EXPECT_EQ(b->Left(), 9);
    styler->SetDragGripStyle(dsNone);
    EXPECT_EQ(b->Left(), 2);
    EXPECT_TRUE(toolBar->GripHitRect().Empty());
    toolBar->SetShowRightHandle(false);
    EXPECT_EQ(toolBar->Width(), 2 + 34 + 4);
}

TEST_F(ToolBarLayout, ShowCaptionAddsItsHeightAndMovesControlsDown) {
    auto* b = AddButton("确定");
    toolBar->SetShowCaption(true);
    EXPECT_EQ(toolBar->Height(), 45 + 16);
    EXPECT_EQ(b->Top(), 16 + 2);
    toolBar->SetCaptionPosition(TCaptionPosition::cpBottom);
    EXPECT_EQ(b->Top(), 2);
}

TEST_F(ToolBarLayout, SetPositionRotatesEveryControl) {
    auto* a = AddButton("确定");
    auto* sep = new TAdvToolBarSeparator(form);
    sep->AttachToToolBar(toolBar);
    auto* c = AddButton("退出");
    toolBar->SetPosition(TDockAlign::daLeft);
    for (TControl* ctl : {static_cast<TControl*>(a), static_cast<TControl*>(sep), static_cast<TControl*>(c)})
        EXPECT_EQ(dynamic_cast<TAdvCustomToolBarControl*>(ctl)->Position(), TDockAlign::daLeft);
    EXPECT_TRUE(a->Rotated());
    // Rotated gpTop: width = line height + image + spacing + margins, height = max(image, caption) + margins.
    EXPECT_EQ(a->Height(), 34);
    EXPECT_EQ(a->Width(), 13 + 16 + 4 + 8);
    EXPECT_EQ(sep->Height(), 10);
    EXPECT_EQ(a->Top(), 9);
    EXPECT_EQ(sep->Top(), 9 + 34);
    EXPECT_EQ(c->Top(), 9 + 34 + 10);
    EXPECT_EQ(toolBar->Height(), 9 + 34 + 10 + 34 + 14);
    a->SetCanRotate(false);
    EXPECT_FALSE(a->Rotated());
}

TEST_F(ToolBarLayout, RefusedProperties) {
    // Standalone toolbars may stop sizing themselves.
    toolBar->SetAutoSize(false);
    EXPECT_FALSE(toolBar->AutoSize());
    EXPECT_EQ(toolBar->Constraints()->MaxWidth(), 0);
    toolBar->SetAutoSize(true);
    toolBar->SetAutoPositionControls(false);
    EXPECT_FALSE(toolBar->AutoPositionControls());
    EXPECT_FALSE(toolBar->AutoSize());
    EXPECT_EQ(toolBar->Version(), "5.0.3.0");
    toolBar->SetVersion("1");
    EXPECT_EQ(toolBar->Version(), "5.0.3.0");
}

/// A stand-in floating window: a toolbar whose parent implements the floating seam floats.
class FakeFloatingWindow : public TCustomControl, public TToolBarFloatingSite {
    EMR_CLASS(FakeFloatingWindow)
public:
    explicit FakeFloatingWindow(TComponent* owner) : TCustomControl(owner) {}
    void FitToToolBar() override { ++fits; }
    bool WindowShowing() const override { return true; }
    void HideWindow() override { hidden = true; }
    void StopFollowing() override {}
    void Release() override {}
    int fits = 0;
    bool hidden = false;
};

TEST_F(ToolBarLayout, FloatingRefusalsRowsAndClose) {
    AddButton("确定");
    AddButton("退出");
    auto* window = new FakeFloatingWindow(form);
    window->SetParent(form);
    window->SetBounds(0, 100, 300, 100);
    int undocked = 0;
    toolBar->OnUnDocked = [&](TObject*) { ++undocked; };
    toolBar->SetParent(window);
    EXPECT_TRUE(toolBar->Floating());
    EXPECT_EQ(undocked, 1);
    toolBar->SetLocked(true);
    EXPECT_FALSE(toolBar->Locked());
    toolBar->SetAllowFloating(false);
    EXPECT_TRUE(toolBar->AllowFloating());
    // One row: controls from x 2 below the caption; width = last right + 2, at least 60.
    EXPECT_EQ(toolBar->Width(), 2 + 34 + 34 + 2);
    EXPECT_EQ(toolBar->Height(), toolBar->DockedThickness() + 16);
    EXPECT_EQ(toolBar->MaxFloatingRows(), 2);
    toolBar->SetDockedThickness(45);
    toolBar->SetFloatingRows(2);
    EXPECT_EQ(toolBar->FloatingRows(), 2);
    EXPECT_EQ(toolBar->Height(), 2 * 45 + 16);
    toolBar->SetFloatingRows(3);
    EXPECT_EQ(toolBar->FloatingRows(), 2);
    // Geometry of the caption buttons.
    EXPECT_EQ(toolBar->CloseButtonRect(), (TRect{toolBar->Width() - 17, 1, toolBar->Width() - 1, 15}));
    EXPECT_EQ(toolBar->OptionButtonRect().Right, toolBar->CloseButtonRect().Left - 2);
    toolBar->SetShowClose(false);
    EXPECT_EQ(toolBar->OptionButtonRect(), (TRect{toolBar->Width() - 17, 1, toolBar->Width() - 1, 15}));
    toolBar->SetShowClose(true);
    // Releasing anywhere after pressing the close button closes the toolbar.
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    form->Show();
    Pump();
    TRect x = toolBar->CloseButtonRect();
    Press(toolBar, x.Left + 3, x.Top + 3);
    EXPECT_TRUE(toolBar->CloseButtonDown());
    Release(form, 390, 190);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(window->hidden);
    EXPECT_FALSE(toolBar->Visible());
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

TEST_F(ToolBarLayout, OptionHintOnTheRightHandleOnly) {
    AddButton("确定");
    AddButton("退出");
    toolBar->SetHint("Bar");
    toolBar->SetHintOptionButton("Options");
    auto hintAt = [&](TPoint p) {
        THintInfo info;
        info.HintStr = "Bar";
        info.CursorPos = p;
        toolBar->Perform(CM_HINTSHOW, 0, reinterpret_cast<std::intptr_t>(&info));
        return info.HintStr;
    };
    EXPECT_EQ(hintAt({85, 20}), "Options");
    EXPECT_EQ(hintAt({30, 20}), "Bar");
    toolBar->SetShowRightHandle(false);
    EXPECT_EQ(hintAt({toolBar->Width() - 2, 20}), "Bar");
}

} // namespace
} // namespace emr::testing
