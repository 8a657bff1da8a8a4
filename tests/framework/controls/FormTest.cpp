#include <gtest/gtest.h>

#include <limits>

#include "Harness.h"
#include "framework/core/ClassRegistry.h"

namespace emr::testing {
namespace {

/// A form class read from a stored layout, as the program's main window is.
class TLayoutForm : public TForm {
    EMR_CLASS(TLayoutForm)
public:
    using TForm::TForm;
    std::vector<std::string> Events;
    bool WindowVisibleAtShow = true;

    void FormCreate(TObject*) {
        Events.push_back("create " + Caption());
        SetBorderStyle(bsSingle);
        SetBorderIcons(biSystemMenu);
        SetWindowState(wsNormal);
        SetPosition(poMainFormCenter);
    }
    void FormShow(TObject*) {
        Events.push_back("show");
        auto& be = static_cast<platform::HeadlessBackend&>(platform::Backend::Current());
        const auto* w = be.FindWindow(NativeWindow());
        WindowVisibleAtShow = w && w->Visible;
    }
};

constexpr const char* kLayout = R"(object Form1: TLayoutForm
  Left = 389
  Top = 175
  Width = 398
  Height = 237
  Caption = '电子病历补丁'
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  OldCreateOrder = False
  Position = poDefaultPosOnly
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object P1: TCustomControl
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    TabOrder = 2
  end
  object P2: TCustomControl
    Left = 20
    TabOrder = 0
  end
  object P3: TCustomControl
    Left = 40
    TabOrder = 1
  end
end
)";

TEST(Forms, StoredLayoutThenCreateThenShowBeforeTheWindowAppears) {
    RegisterFormsClasses();
    TClassRegistrar<TLayoutForm>("TForm")
        .Method("FormCreate", &TLayoutForm::FormCreate)
        .Method("FormShow", &TLayoutForm::FormShow);
    Harness h;
    h.App().RegisterLayout("TLayoutForm", kLayout);
    TLayoutForm* form = nullptr;
    h.App().CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(h.App().MainForm(), form);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Events, (std::vector<std::string>{"create 电子病历补丁"}));
    EXPECT_EQ(form->ClientWidth(), 382);
    EXPECT_EQ(form->ClientHeight(), 198);
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    // Tab orders read before all siblings existed are sorted out after loading.
    ASSERT_EQ(form->ControlCount(), 3);
    EXPECT_EQ(static_cast<TWinControl*>(form->Controls(0))->TabOrder(), 2);
    EXPECT_EQ(static_cast<TWinControl*>(form->Controls(1))->TabOrder(), 0);
    EXPECT_EQ(static_cast<TWinControl*>(form->Controls(2))->TabOrder(), 1);

    h.App().Run(); // shows the main form, then finds nothing more to do
    EXPECT_EQ(form->Events.back(), "show");
    EXPECT_FALSE(form->WindowVisibleAtShow);
    const auto* w = h.Backend().FindWindow(form->NativeWindow());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible);
    EXPECT_EQ(w->Title, "电子病历补丁");
    // Centred on itself, the main form stays at its stored place.
    EXPECT_EQ(form->Left(), 389);
    EXPECT_EQ(form->Top(), 175);
    EXPECT_EQ(w->Bounds, TRect::FromBounds(397, 206, 382, 198));
    EXPECT_FALSE(w->Style.Resizable);
    EXPECT_FALSE(w->Style.MinimizeBox);
    EXPECT_FALSE(w->Style.MaximizeBox);
    EXPECT_TRUE(w->Style.SystemMenu);
}

TEST(Forms, PositionCentresOnScreenOrOnTheMainForm) {
    Harness h;
    h.Backend().SetWorkArea({0, 0, 1024, 728});
    TForm* main;
    h.App().CreateForm(main);
    main->SetBounds(100, 100, 400, 300);
    main->SetPosition(poScreenCenter);
    main->Show();
    EXPECT_EQ(main->Left(), (1024 - 400) / 2);
    EXPECT_EQ(main->Top(), (728 - 300) / 2);
    TForm* second = h.App().NewForm<TForm>(&h.App());
    second->SetBounds(0, 0, 101, 51);
    second->SetPosition(poMainFormCenter);
    second->Show();
    EXPECT_EQ(second->Left(), main->Left() + (400 - 101) / 2);
    EXPECT_EQ(second->Top(), main->Top() + (300 - 51) / 2);
}

TEST(Forms, ShowModalDisablesOtherFormsUntilAResultIsSet) {
    Harness h;
    TForm* main;
    h.App().CreateForm(main);
    main->Show();
    auto* dialog = new TForm(&h.App());
    bool mainEnabledDuring = true;
    TModalResult result = mrNone;
    h.App().StartTimer(1, [&] {
        if (dialog->Visible() || result != mrNone) return;
        result = dialog->ShowModal();
    });
    h.App().StartTimer(5, [&] {
        if (!dialog->Visible()) return;
        mainEnabledDuring = main->Enabled();
        dialog->SetModalResult(mrOk);
    });
    h.Backend().AdvanceTime(10);
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(main->Enabled());
    EXPECT_FALSE(dialog->Visible());
}

TEST(Forms, ClosingAModalFormCancelsIt) {
    Harness h;
    auto* dialog = new TForm(&h.App());
    TModalResult result = mrNone;
    h.App().StartTimer(10, [&] {
        if (result == mrNone && !dialog->Visible()) result = dialog->ShowModal();
    });
    h.App().StartTimer(30, [&] {
        if (dialog->Visible()) h.Backend().RequestClose(dialog->NativeWindow());
    });
    h.Backend().AdvanceTime(50);
    EXPECT_EQ(result, mrCancel);
}

TEST(Forms, TabMovesFocusAndKeyPreviewSeesKeysFirst) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 200, 100);
    auto* a = Place<Probe>(form, 0, 0, 10, 10);
    auto* b = Place<Probe>(form, 20, 0, 10, 10);
    auto* c = Place<Probe>(form, 40, 0, 10, 10);
    for (Probe* p : {a, b, c})
        p->SetTabStop(true);
    c->SetTabOrder(0);
    form->Show();
    h.App().ProcessMessages();
    std::vector<std::string> focus;
    for (Probe* p : {a, b, c}) {
        p->OnEnter = [&focus, p](TObject*) { focus.push_back("enter " + std::to_string(p->Left())); };
        p->OnExit = [&focus, p](TObject*) { focus.push_back("exit " + std::to_string(p->Left())); };
    }
    // Tab order is c, a, b.
    a->SetFocus();
    h.Backend().Key(platform::VK_TAB);
    h.Backend().Key(platform::VK_TAB);
    h.App().ProcessMessages();
    EXPECT_TRUE(c->Focused());
    h.Backend().Key(platform::VK_TAB, ssShift);
    h.App().ProcessMessages();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(focus, (std::vector<std::string>{"enter 0", "exit 0", "enter 20", "exit 20", "enter 40",
                                               "exit 40", "enter 20"}));

    int formKeys = 0, controlKeys = 0;
    form->OnKeyDown = [&](TObject*, int& key, TShiftState) {
        ++formKeys;
        if (key == 'X') key = 0;
    };
    b->OnKeyDown = [&](TObject*, int&, TShiftState) { ++controlKeys; };
    h.Backend().Key('Y');
    h.App().ProcessMessages();
    EXPECT_EQ(formKeys, 0);
    EXPECT_EQ(controlKeys, 1);
    form->SetKeyPreview(true);
    h.Backend().Key('X');
    h.Backend().Key('Y');
    h.App().ProcessMessages();
    EXPECT_EQ(formKeys, 2);
    EXPECT_EQ(controlKeys, 2);

    // A tab order given before the parent exists applies when the control is inserted.
    auto* d = new Probe(form);
    d->SetTabOrder(1);
    EXPECT_EQ(d->TabOrder(), 1);
    d->SetParent(form);
    EXPECT_EQ(d->TabOrder(), 1);
    EXPECT_EQ(a->TabOrder(), 2);

    // A hidden control cannot take the focus.
    a->Hide();
    EXPECT_THROW(a->SetFocus(), Exception);
}

TEST(Forms, ReleaseFreesTheFormAfterPendingMessages) {
    Harness h;
    auto* form = new TForm(&h.App());
    form->Show();
    TComponentRef<TForm> ref(form);
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->Close();
    EXPECT_TRUE(ref);
    h.App().ProcessMessages();
    EXPECT_FALSE(ref);
    EXPECT_EQ(Screen().FormCount(), 0);
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

TEST(Forms, PointersFarOffTheScreenAndWindowsLargerThanItAreClampedToIt) {
    Harness h;
    TForm* form = h.NewForm(10, 10, 200, 100);
    auto* probe = new Probe(form);
    probe->SetParent(form);
    probe->SetBounds(0, 0, 50, 50);
    form->Show();
    h.App().ProcessMessages();
    // INT_MIN once overflowed converting to client coordinates.
    h.Backend().MoveMouse(std::numeric_limits<int>::min(), std::numeric_limits<int>::min());
    h.Backend().Click(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    h.App().ProcessMessages();
    EXPECT_EQ(h.Backend().PointerPosition(),
              (TPoint{h.Backend().ScreenRect().Right - 1, h.Backend().ScreenRect().Bottom - 1}));

    // A 30000 x 30000 window once took gigabytes of back buffer.
    form->SetBounds(0, 0, 30000, 30000);
    const TRect screen = h.Backend().ScreenRect();
    const TRect frame = form->FrameExtents();
    EXPECT_EQ(form->Width(), screen.Width() + frame.Left + frame.Right);
    EXPECT_EQ(form->Height(), screen.Height() + frame.Top + frame.Bottom);
    EXPECT_EQ(form->ClientWidth(), screen.Width());
    form->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(form->Width(), 300) << "sizes that fit are kept";
}

} // namespace
} // namespace emr::testing
