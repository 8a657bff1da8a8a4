#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "framework/forms/Edit.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "framework/forms/Panel.h"

namespace emr::testing {
namespace {

// The main window's lower half: a client-aligned panel with a lowered inner
// bevel, a group box with labels and read-only edits, and an invisible group box.
constexpr const char* kLayout = R"(object Form1: TForm
  Left = 200
  Top = 100
  ClientWidth = 382
  ClientHeight = 151
  Caption = 'Panel test'
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 382
    Height = 151
    Align = alClient
    BevelInner = bvLowered
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = '宋体'
    Font.Style = []
    ParentFont = False
    TabOrder = 1
    object GroupBox1: TGroupBox
      Left = 69
      Top = 16
      Width = 233
      Height = 113
      Caption = '原时间格式'
      TabOrder = 0
      object Label4: TLabel
        Left = 8
        Top = 32
        Width = 52
        Height = 13
        Caption = '时间格式'
      end
      object Edit4: TEdit
        Left = 64
        Top = 24
        Width = 161
        Height = 21
        ImeName = '中文(简体) - 极品五笔'
        ReadOnly = True
        TabOrder = 2
        Text = 'Edit4'
      end
      object Edit3: TEdit
        Left = 64
        Top = 64
        Width = 49
        Height = 21
        ImeName = '中文(简体) - 极品五笔'
        ReadOnly = True
        TabOrder = 1
        Text = 'Edit3'
      end
    end
    object GroupBox2: TGroupBox
      Left = 10
      Top = 130
      Width = 100
      Height = 15
      Caption = 'hidden'
      Visible = False
    end
  end
end
)";

TEST(StdControlsLayout, LoadsShowsAndPaintsByTheBevelAndBorderRules) {
    FormsHarness h;
    TCustomForm* form = h.Show(kLayout);
    auto* panel = form->FindComponentAs<TPanel>("Panel1");
    auto* box = form->FindComponentAs<TGroupBox>("GroupBox1");
    auto* hidden = form->FindComponentAs<TGroupBox>("GroupBox2");
    auto* label = form->FindComponentAs<TLabel>("Label4");
    auto* edit = form->FindComponentAs<TEdit>("Edit4");
    ASSERT_TRUE(panel && box && hidden && label && edit);

    // Stored values reach the properties.
    EXPECT_EQ(panel->BevelInner(), bvLowered);
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    EXPECT_EQ(panel->Font()->Height(), -13);
    EXPECT_EQ(panel->Font()->Charset(), ANSI_CHARSET);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_EQ(edit->ImeName(), "中文(简体) - 极品五笔");
    EXPECT_EQ(edit->Text(), "Edit4");
    EXPECT_FALSE(hidden->Visible());
    EXPECT_EQ(label->Font()->Name(), "宋体") << "labels take the panel's font";

    // Geometry.
    EXPECT_EQ(panel->BoundsRect(), TRect::FromBounds(0, 0, 382, 151));
    EXPECT_EQ(box->BoundsRect(), TRect::FromBounds(69, 16, 233, 113));
    EXPECT_EQ(edit->BoundsRect(), TRect::FromBounds(64, 24, 161, 21));
    EXPECT_EQ(label->Left(), 8);
    EXPECT_EQ(label->Top(), 32);
    EXPECT_EQ(label->Width(), 52) << "four ideographs at 13 pixels each";

    // Outer bevel raised: highlight top-left, shadow bottom-right (which owns both odd corners).
    EXPECT_EQ(h.Pixel(panel, 0, 0), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 200, 0), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 0, 75), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 381, 0), kShadow);
    EXPECT_EQ(h.Pixel(panel, 381, 75), kShadow);
    EXPECT_EQ(h.Pixel(panel, 0, 150), kShadow);
    EXPECT_EQ(h.Pixel(panel, 200, 150), kShadow);
    // Inner bevel lowered, one pixel in.
    EXPECT_EQ(h.Pixel(panel, 1, 1), kShadow);
    EXPECT_EQ(h.Pixel(panel, 200, 1), kShadow);
    EXPECT_EQ(h.Pixel(panel, 380, 1), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 380, 75), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 1, 149), kHighlight);
    EXPECT_EQ(h.Pixel(panel, 2, 2), kFace);
    // The hidden group box paints nothing.
    for (int x = 10; x < 110; x += 9)
        EXPECT_EQ(h.Pixel(panel, x, 137), kFace) << x;

    // Edit: sunken two-pixel border, window-coloured inside.
    EXPECT_EQ(h.Pixel(edit, 0, 0), kShadow);
    EXPECT_EQ(h.Pixel(edit, 1, 1), kDkShadow);
    EXPECT_EQ(h.Pixel(edit, 160, 20), kHighlight);
    EXPECT_EQ(h.Pixel(edit, 159, 19), kLight);
    EXPECT_EQ(h.Pixel(edit, 150, 10), kWindow);
    EXPECT_EQ(h.Pixel(edit, 2, 18), kWindow);

    // Group box: etched frame (shadow line with a highlight line right of it).
    EXPECT_EQ(h.Pixel(box, 0, 60), kShadow);
    EXPECT_EQ(h.Pixel(box, 1, 60), kHighlight);
    EXPECT_EQ(h.Pixel(box, 231, 60), kShadow);
    EXPECT_EQ(h.Pixel(box, 232, 60), kHighlight);

    // Text is drawn: dark pixels inside the label and the group box caption.
    auto darkIn = [&](const TControl* c, TRect r) {
        int dark = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if ((h.Pixel(c, x, y) & 0xFF) < 0x60) ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(label, label->ClientRect()), 30);
    EXPECT_GT(darkIn(box, {8, 0, 60, 12}), 20);
    EXPECT_EQ(darkIn(box, {100, 30, 200, 50}), 0) << "nothing drawn in the box's empty middle";

    const std::string png = ::testing::TempDir() + "stdcontrols.png";
    h.Backend().RenderWindowToPng(form->NativeWindow(), png);
}

struct EditFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 300, 100);
    TEdit* edit = Place<TEdit>(form, 10, 10, 150, 21);
    TEdit* other = Place<TEdit>(form, 10, 50, 150, 21);
    int changes = 0;

    void SetUp() override {
        edit->SetName("Edit1");
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        h.App().ProcessMessages();
        h.ClickOn(edit);
        h.App().ProcessMessages();
    }
    void Type(const std::string& text) {
        h.Backend().TypeText(text);
        h.App().ProcessMessages();
    }
    void Key(int key, TShiftState shift = 0) {
        h.Backend().Key(key, shift);
        h.App().ProcessMessages();
    }
};

TEST_F(EditFixture, TypingEditsAtTheCaretWithBackspaceDeleteAndArrows) {
    ASSERT_TRUE(edit->Focused());
    Type("abc");
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(changes, 3);
    Key(platform::VK_LEFT);
    Key(platform::VK_BACK); // removes 'b'
    EXPECT_EQ(edit->Text(), "ac");
    Type("日本");
    EXPECT_EQ(edit->Text(), "a日本c");
    EXPECT_EQ(edit->CaretPos(), 3) << "positions count characters";
    Key(platform::VK_HOME);
    Key(platform::VK_DELETE);
    EXPECT_EQ(edit->Text(), "日本c");
    Key(platform::VK_END);
    Key(platform::VK_LEFT, ssShift);
    Key(platform::VK_LEFT, ssShift);
    EXPECT_EQ(edit->SelText(), "本c");
    Type("x");
    EXPECT_EQ(edit->Text(), "日x");
    // Backspace at the start and Delete at the end change nothing.
    Key(platform::VK_END);
    Key(platform::VK_DELETE);
    Key(platform::VK_HOME);
    Key(platform::VK_BACK);
    EXPECT_EQ(edit->Text(), "日x");
    // Keys went to the focused edit only.
    EXPECT_EQ(other->Text(), "");
}

TEST_F(EditFixture, ReadOnlyEditIgnoresTypingButMovesTheCaret) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    changes = 0;
    Type("zz");
    Key(platform::VK_BACK);
    Key(platform::VK_END);
    Key(platform::VK_DELETE);
    Key(platform::VK_LEFT);
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_EQ(edit->CaretPos(), 4);
    EXPECT_EQ(changes, 0);
}

TEST_F(EditFixture, MaxLengthLimitsTypingNotCode) {
    edit->SetMaxLength(3);
    Type("abcdef");
    EXPECT_EQ(edit->Text(), "abc");
    edit->SelectAll();
    Type("xy"); // replacing a selection makes room
    EXPECT_EQ(edit->Text(), "xy");
    edit->SetText("longer than three");
    EXPECT_EQ(edit->Text(), "longer than three");
}

TEST_F(EditFixture, FocusedEditDrawsCaretAndTypedText) {
    Type("W");
    h.App().ProcessMessages();
    // Dark text pixels appear where the text starts, and the caret follows it.
    int dark = 0;
    for (int y = 3; y < 18; ++y)
        for (int x = 3; x < 16; ++x)
            if ((h.Pixel(edit, x, y) & 0xFF) < 0x60) ++dark;
    EXPECT_GT(dark, 8);
    h.App().ProcessMessages();
    edit->SetText("");
    h.App().ProcessMessages();
    EXPECT_EQ(h.Pixel(edit, 3, 8), 0x000000u) << "caret at the start of an empty edit";
}

TEST(StdControls, PanelCaptionBevelWidthAndBorderWidthShrinkTheAlignArea) {
    FormsHarness h;
    TForm* form = h.NewForm(0, 0, 200, 100);
    auto* panel = Place<TPanel>(form, 0, 0, 120, 80);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetBevelInner(bvRaised);
    auto* child = Place<TPanel>(panel, 0, 0, 10, 10);
    child->SetAlign(alClient);
    // 2 (outer) + 3 (border) + 2 (inner) on every side.
    EXPECT_EQ(child->BoundsRect(), TRect(7, 7, 113, 73));
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(child->BoundsRect(), TRect(5, 5, 115, 75));
    panel->SetBevelWidth(0);
    EXPECT_EQ(panel->BevelWidth(), 1) << "bevel width below 1 is taken as 1";
}

TEST(StdControls, LabelAutoSizeFollowsTheTextAndKeepsItsAnchoredEdge) {
    FormsHarness h;
    TForm* form = h.NewForm(0, 0, 300, 100);
    auto* label = Place<TLabel>(form, 100, 10, 50, 20);
    label->SetCaption("ab");
    const int narrow = label->Width();
    label->SetCaption("abcdef");
    EXPECT_GT(label->Width(), narrow);
    EXPECT_EQ(label->Left(), 100);
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("a");
    EXPECT_EQ(label->Left() + label->Width(), right) << "right-aligned labels keep their right edge";
    label->SetCaption("");
    EXPECT_GT(label->Height(), 0) << "an empty caption still takes one line";
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 5, 5);
    label->SetCaption("long text that would not fit");
    EXPECT_EQ(label->Width(), 5);
}

TEST(StdControls, LabelAcceleratorFocusesItsFocusControl) {
    FormsHarness h;
    TForm* form = h.NewForm(50, 50, 300, 100);
    auto* first = Place<TEdit>(form, 10, 10, 100, 21);
    auto* second = Place<TEdit>(form, 10, 40, 100, 21);
    auto* label = Place<TLabel>(form, 120, 40, 60, 20);
    label->SetCaption("&Name");
    label->SetFocusControl(second);
    form->Show();
    h.App().ProcessMessages();
    first->SetFocus();
    h.Backend().KeyDown('N', ssAlt);
    platform::TEvent ch;
    ch.Type = platform::TEventType::Char;
    ch.Window = form->NativeWindow();
    ch.Text = "n";
    ch.Shift = ssAlt;
    h.Backend().Inject(ch);
    h.Backend().KeyUp('N', ssAlt);
    h.App().ProcessMessages();
    EXPECT_TRUE(second->Focused());
    // The focus control going away leaves the label without one.
    TObject::Free(second);
    EXPECT_EQ(label->FocusControl(), nullptr);
}

} // namespace
} // namespace emr::testing
