#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/Button.h"
#include "framework/forms/Edit.h"

namespace emr::testing {
namespace {

struct ButtonFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 300, 150);
    TButton* button = Place<TButton>(form, 20, 20, 100, 30);
    TEdit* edit = Place<TEdit>(form, 20, 80, 100, 21);
    int clicks = 0;

    void SetUp() override {
        button->SetCaption("&Go");
        button->OnClick = [this](TObject*) { ++clicks; };
        form->Show();
        h.App().ProcessMessages();
    }
    TPoint At(int x, int y) { return button->ClientToScreen({x, y}); }
};

TEST_F(ButtonFixture, ClickNeedsPressAndReleaseOverTheButtonAndShowsThePressedFace) {
    TPoint in = At(50, 15);
    h.Backend().Press(in.X, in.Y);
    h.App().ProcessMessages();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(h.Pixel(button, 1, 1), kShadow) << "pressed face: shadow frame inside the dark outline";
    TPoint out = At(150, 15);
    h.Backend().MoveMouse(out.X, out.Y, ssLeft);
    h.App().ProcessMessages();
    EXPECT_FALSE(button->Down()) << "dragged off: raised again";
    h.Backend().Release(out.X, out.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 0);

    h.Backend().Click(in.X, in.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->Down());
    // Raised again, and focused: dark outline, highlight, light, then the face.
    EXPECT_EQ(h.Pixel(button, 50, 0), kDkShadow);
    EXPECT_EQ(h.Pixel(button, 50, 1), kHighlight);
    EXPECT_EQ(h.Pixel(button, 50, 2), kLight);
    EXPECT_EQ(h.Pixel(button, 50, 3), kFace);
}

TEST_F(ButtonFixture, DefaultAnswersEnterCancelAnswersEscAndModalResultReachesTheForm) {
    button->SetDefault(true);
    edit->SetFocus();
    h.Backend().Key(platform::VK_RETURN);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    h.Backend().Key(platform::VK_ESCAPE);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1) << "not a cancel button";
    button->SetDefault(false);
    button->SetCancel(true);
    button->SetModalResult(mrCancel);
    h.Backend().Key(platform::VK_ESCAPE);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // Space clicks the focused button on release.
    button->SetFocus();
    h.Backend().KeyDown(platform::VK_SPACE);
    h.App().ProcessMessages();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(clicks, 2);
    h.Backend().KeyUp(platform::VK_SPACE);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 3);
}

TEST_F(ButtonFixture, ClickHandlerMayFreeItsButton) {
    button->OnClick = [](TObject* sender) { TObject::Free(static_cast<TButton*>(sender)); };
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(form->FindComponent("Button"), nullptr);
    EXPECT_EQ(form->ControlCount(), 1);
}

TEST_F(ButtonFixture, ActionLinkKeepsTheButtonInStepAndRunsTheAction) {
    auto* list = new TActionList(form);
    auto* action = new TAction(form);
    action->SetActionList(list);
    action->SetCaption("Apply");
    action->SetHint("Apply the change");
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    button->OnClick = nullptr;
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Apply");
    EXPECT_EQ(button->Hint(), "Apply the change");

    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(executed, 1);

    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    action->SetVisible(false);
    EXPECT_FALSE(button->Visible());
    action->SetVisible(true);
    action->SetCaption("Apply now");
    EXPECT_EQ(button->Caption(), "Apply now");

    // An OnClick of the button's own wins over the action.
    int own = 0;
    button->OnClick = [&](TObject*) { ++own; };
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(executed, 1);

    TObject::Free(action);
    EXPECT_EQ(button->Action(), nullptr);
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(own, 2);
}

} // namespace
} // namespace emr::testing
