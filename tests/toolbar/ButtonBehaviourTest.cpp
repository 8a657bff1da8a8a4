#include "ToolBarFixture.h"

#include "framework/forms/ActnList.h"
#include "framework/forms/MenuItem.h"
#include "framework/graphics/ImageList.h"
#include "menus/AdvPopupMenu.h"

namespace emr::testing {
namespace {

class ButtonBehaviour : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        a = AddButton("确定");
        b = AddButton("退出");
        a->OnClick = [this](TObject*) { ++clicksA; };
        form->Show();
        Pump();
    }
    TAdvToolBarButton* a = nullptr;
    TAdvToolBarButton* b = nullptr;
    int clicksA = 0;
};

TEST_F(ButtonBehaviour, PressDragOutAndBackReleaseInsideAndOutside) {
    MoveTo(a, 10, 10);
    EXPECT_TRUE(a->Hot());
    Press(a, 10, 10);
    EXPECT_EQ(a->State(), TToolButtonState::tbsDown);
    Release(a, 50, 10); // drag outside first
    EXPECT_EQ(clicksA, 0);
    EXPECT_EQ(a->State(), TToolButtonState::tbsUp);

    Press(a, 10, 10);
    MoveTo(a, 60, 10);
    EXPECT_EQ(a->State(), TToolButtonState::tbsUp);
    MoveTo(a, 12, 12);
    EXPECT_EQ(a->State(), TToolButtonState::tbsDown);
    Release(a, 12, 12);
    EXPECT_EQ(clicksA, 1);
    EXPECT_EQ(a->State(), TToolButtonState::tbsUp);
    EXPECT_FALSE(a->Down()); // an ungrouped push button never stays down
    a->SetDown(true);
    EXPECT_FALSE(a->Down());
}

TEST_F(ButtonBehaviour, GroupsLatchOneButtonAndHonourAllowAllUp) {
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), TToolButtonState::tbsExclusive);
    // Clicking the latched button keeps it latched and still clicks.
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicksA, 2);
    // Latching the peer releases the first.
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), TToolButtonState::tbsUp);
    // AllowAllUp is copied to the peers and lets a click release the latched one.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_FALSE(b->Down());
    // A latched button dragged outside and released stays latched.
    b->SetDown(true);
    Press(b, 5, 5);
    Release(b, 100, 5);
    EXPECT_TRUE(b->Down());
}

TEST_F(ButtonBehaviour, LatchingUnchecksThePeersAction) {
    auto* action = new TAction(form);
    a->SetGroupIndex(2);
    b->SetGroupIndex(2);
    a->SetAction(action);
    action->SetChecked(true);
    EXPECT_TRUE(a->Down()); // Down follows the linked action's Checked
    action->SetChecked(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(action->Checked());
}

TEST_F(ButtonBehaviour, CheckButtonTogglesOnEveryClickInside) {
    a->SetStyle(TAdvToolButtonStyle::tasCheck);
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_TRUE(a->Down());
    Press(a, 5, 5);
    Release(a, 5, 50);
    EXPECT_TRUE(a->Down());
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(clicksA, 2);
}

TEST_F(ButtonBehaviour, DisabledButtonIgnoresPresses) {
    a->SetEnabled(false);
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_EQ(clicksA, 0);
}

TEST_F(ButtonBehaviour, ClickHandlerMayFreeItsButton) {
    bool freed = false;
    b->OnClick = [&](TObject* sender) {
        freed = true;
        TObject::Free(sender); // last: the handler itself goes with the button
    };
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_TRUE(freed);
    EXPECT_EQ(toolBar->PositionList().size(), 1u);
    EXPECT_EQ(toolBar->Width(), 9 + 34 + 14);
}

TEST_F(ButtonBehaviour, DropDownMenuOpensOnThePressAndRunsAnItem) {
    auto* menu = new TAdvPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    int itemClicks = 0, dropDowns = 0;
    item->OnClick = [&](TObject*) { ++itemClicks; };
    a->SetDropDownButton(true);
    EXPECT_EQ(a->Width(), 34 + 12);
    a->SetDropDownMenu(menu);
    a->OnDropDown = [&](TObject*) { ++dropDowns; };
    TPoint anchor = form->ClientToScreen({a->Left(), a->Top() + a->Height()});
    TPoint shownAt;
    menu->OnPopup = [&](TObject*) {
        shownAt = menu->PopupPoint();
        EXPECT_TRUE(a->MenuShown());
        menu->CloseMenu();
        item->Click();
    };
    Press(a, a->Width() - 5, 5);
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(itemClicks, 1);
    EXPECT_EQ(shownAt, anchor);
    EXPECT_FALSE(a->MenuShown());
    Release(a, a->Width() - 5, 5);
    EXPECT_EQ(clicksA, 0); // the drop-down part fires no click
    // A press elsewhere on a split button is a normal press.
    Press(a, 5, 5);
    Release(a, 5, 5);
    EXPECT_EQ(clicksA, 1);
    EXPECT_EQ(dropDowns, 1);
}

TEST_F(ButtonBehaviour, DownIsReappliedAfterLoading) {
    auto* c = new TAdvToolBarButton(form);
    c->BeginLoading();
    c->SetDown(true);
    c->SetStyle(TAdvToolButtonStyle::tasCheck);
    c->Loaded();
    EXPECT_TRUE(c->Down());
}

TEST_F(ButtonBehaviour, AttachingToAToolBarThatDoesNotTakeTheControl) {
    class RefusingToolBar : public TAdvToolBar {
    public:
        using TAdvToolBar::TAdvToolBar;
    };
    auto* c = new TAdvToolBarButton(form);
    c->AttachToToolBar(toolBar);
    EXPECT_EQ(c->ToolBar(), toolBar);
    EXPECT_EQ(c->PositionInToolBar(), 2);
}

TEST_F(ButtonBehaviour, StylerFallsBackToTheInternalOneWhenFreed) {
    EXPECT_EQ(toolBar->CurrentStyler(), styler);
    TObject::Free(styler);
    styler = nullptr;
    EXPECT_EQ(toolBar->ToolBarStyler(), nullptr);
    EXPECT_EQ(toolBar->CurrentStyler(), toolBar->InternalStyler());
    form->Invalidate();
    form->PaintWindowNow();
    // Switching ParentStyler off keeps the internal styler until one is assigned.
    auto* other = new TAdvToolBarOfficeStyler(form);
    EXPECT_FALSE(toolBar->ParentStyler()); // standalone toolbars do not follow a panel
    toolBar->SetParentStyler(true);
    toolBar->SetToolBarStyler(other);
    EXPECT_EQ(toolBar->CurrentStyler(), other);
    toolBar->SetParentStyler(false);
    EXPECT_EQ(toolBar->CurrentStyler(), toolBar->InternalStyler());
}

TEST_F(ButtonBehaviour, FreeingTheToolBarsImageListClearsTheButtonsImageIndexes) {
    auto* images = new TImageList(form);
    toolBar->SetImages(images);
    a->SetImageIndex(2);
    b->SetImageIndex(0);
    // A button of another toolbar keeps its index: the list was not its toolbar's.
    auto* other = new TAdvToolBar(form);
    other->SetParent(form);
    auto* elsewhere = new TAdvToolBarButton(form);
    elsewhere->AttachToToolBar(other);
    elsewhere->SetImageIndex(1);
    TObject::Free(images);
    EXPECT_EQ(toolBar->Images(), nullptr);
    EXPECT_EQ(a->ImageIndex(), -1);
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_EQ(elsewhere->ImageIndex(), 1);
}

} // namespace
} // namespace emr::testing
