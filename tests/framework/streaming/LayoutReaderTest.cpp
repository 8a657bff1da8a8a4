#include <gtest/gtest.h>

#include <string>

#include "LayoutTestClasses.h"
#include "framework/core/Exception.h"
#include "framework/streaming/LayoutReader.h"

using namespace emr;
using namespace emr::test;

namespace {

class LayoutReader : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterLayoutTestClasses();
        gLoadedOrder.clear();
        gCompletedOrder.clear();
        baseline_ = gLiveComponents;
    }
    void TearDown() override { EXPECT_EQ(gLiveComponents, baseline_) << "a component leaked"; }

    /// The message of the Exception `load` throws, or "" when it throws none.
    template <class F> static std::string ErrorOf(F load) {
        try {
            load();
        } catch (const Exception& e) {
            return e.Message();
        }
        return "";
    }

    int baseline_ = 0;
};

const char* kFullLayout = R"(object Form1: TTestForm
  Caption = '电子病历补丁'
  OnCreate = FormCreate
  object Widget1: TTestWidget
    Left = -12
    Visible = false
    Caption = 'It''s'#13#10'ok' +
      ' '#$4E2D#20013
    Ratio = 1.5E2
    Align = ALTOP
    Anchors = [akLeft, akBottom]
    Color = clHighlight
    Wide = $FFFFFFFF
    Font.Name = 'Tahoma'
    Font.Style = []
    Font.Charset = ANSI_CHARSET
    Appearance.Color = 16640730
    Appearance.Font.Height = -$D
    Appearance.Font.Style = [fsBold, fsItalic]
    Data = {
      424D
      00ff}
    Buddy = Widget2
    OnClick = WidgetClick
    Rows = <
      item
        Top = 5
        Link = Form1.Widget2
      end
      item
        Rows = <
          item
            Top = 7
          end>
      end>
    object Inner: TTestWidget
      Buddy = Widget1
    end
  end
  object Widget2: TTestWidget
    Buddy = nil
  end
  object Styler1: TTestStyler
    Tone = 3
  end
end
)";

} // namespace

TEST_F(LayoutReader, ReadsEveryKindOfValueIntoAnExistingRoot) {
    TTestForm form(nullptr);
    TLayoutReader::ReadRootFromText(kFullLayout, &form);

    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Caption(), "电子病历补丁");
    ASSERT_EQ(form.ComponentCount(), 4);
    TTestWidget* w = form.Widget1;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w, form.FindComponent("Widget1"));
    EXPECT_EQ(w->Owner(), &form);
    EXPECT_EQ(w->ParentWidget(), &form);
    EXPECT_EQ(w->Left(), -12);
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(w->Caption(), "It's\r\nok 中中");
    EXPECT_DOUBLE_EQ(w->Ratio(), 150.0);
    EXPECT_EQ(w->Align(), TTestAlign::alTop);
    EXPECT_EQ(w->Anchors(), 1u | 8u);
    EXPECT_EQ(w->Color(), 0xFF00000Du);
    EXPECT_EQ(w->Wide(), 0xFFFFFFFFll);
    EXPECT_EQ(w->Font()->Name(), "Tahoma");
    EXPECT_EQ(w->Font()->Charset(), 0);
    EXPECT_EQ(w->Appearance()->Color(), 16640730u);
    EXPECT_EQ(w->Appearance()->Font()->Height(), -13);
    EXPECT_EQ(w->Appearance()->Font()->Style(), fsBold | fsItalic);
    EXPECT_EQ(w->Data(), (std::vector<std::uint8_t>{0x42, 0x4D, 0x00, 0xFF}));

    // References resolve whether their target comes before or after them.
    TTestWidget* w2 = form.Widget2;
    ASSERT_NE(w2, nullptr);
    EXPECT_EQ(w->Buddy(), w2);
    EXPECT_EQ(w2->Buddy(), nullptr);
    auto* inner = form.FindComponentAs<TTestWidget>("Inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Owner(), &form);
    EXPECT_EQ(inner->ParentWidget(), w);
    EXPECT_EQ(inner->Buddy(), w);
    EXPECT_EQ(form.Styler1->Tone(), 3);

    ASSERT_EQ(w->Rows()->Count(), 2);
    auto* row0 = w->Rows()->ItemAs<TTestRow>(0);
    auto* row1 = w->Rows()->ItemAs<TTestRow>(1);
    EXPECT_EQ(row0->Top(), 5);
    EXPECT_EQ(row0->Link(), w2);
    ASSERT_EQ(row1->Rows()->Count(), 1);
    EXPECT_EQ(row1->Rows()->ItemAs<TTestRow>(0)->Top(), 7);

    // Events are bound to the root's methods.
    ASSERT_TRUE(w->OnClick);
    w->OnClick(w);
    EXPECT_EQ(form.clicks, std::vector<TObject*>{w});
    ASSERT_TRUE(form.OnCreate);
    form.OnCreate(&form);
    EXPECT_EQ(form.created, std::vector<TObject*>{&form});

    // Setters ran in the loading state, and Loaded ran in creation order, root first.
    EXPECT_TRUE(w->SetWhileLoading());
    EXPECT_FALSE(w->HasState(csLoading));
    EXPECT_FALSE(form.HasState(csLoading));
    EXPECT_EQ(gLoadedOrder, (std::vector<std::string>{"Form1", "Widget1", "Inner", "Widget2", "Styler1"}));
}

TEST_F(LayoutReader, CreatesTheRootByClassName) {
    TComponent owner(nullptr);
    TComponent* made = TLayoutReader::CreateFromText("object Made: TTestForm2\n"
                                                     "  object Widget1: TTestWidget\n"
                                                     "  end\n"
                                                     "end",
                                                     &owner);
    auto* form = dynamic_cast<TTestForm2*>(made);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Owner(), &owner);
    EXPECT_EQ(owner.FindComponent("Made"), form);
    // Fields and methods registered on the base class serve the descendant.
    ASSERT_NE(form->Widget1, nullptr);
    EXPECT_EQ(form->Widget1->Owner(), form);
    EXPECT_EQ(gLoadedOrder, (std::vector<std::string>{"Made", "Widget1"}));
}

TEST_F(LayoutReader, WorkThatNeedsTheWholeLayoutLoadedRunsAfterEveryLoaded) {
    TComponent owner(nullptr);
    TLayoutReader::CreateFromText("object Made: TTestForm2\n"
                                  "  object Widget1: TTestWidget\n"
                                  "  end\n"
                                  "  object Widget2: TTestWidget\n"
                                  "  end\n"
                                  "end",
                                  &owner);
    EXPECT_EQ(gCompletedOrder, (std::vector<std::string>{"Widget1:3", "Widget2:3"}));
}

TEST_F(LayoutReader, RootClassMustMatchTheRootOrOneOfItsBases) {
    TTestForm2 derived(nullptr);
    TLayoutReader::ReadRootFromText("object F: TTestForm\nend", &derived);
    EXPECT_EQ(derived.Name(), "F");

    TTestForm base(nullptr);
    EXPECT_EQ(ErrorOf([&] { TLayoutReader::ReadRootFromText("object F: TTestForm2\nend", &base); }),
              "line 1, column 11: the layout describes a TTestForm2 but is read into a TTestForm");
}

// A collection read twice keeps only the second list; references pending in the
// dropped items must not be resolved into freed memory (nor fail as unknown).
TEST_F(LayoutReader, ReadingACollectionAgainDropsReferencesOfClearedItems) {
    TTestForm form(nullptr);
    TLayoutReader::ReadRootFromText("object F: TTestForm\n"
                                    "  object W: TTestWidget\n"
                                    "    Rows = <\n"
                                    "      item\n"
                                    "        Link = Ghost\n"
                                    "        Rows = < item Link = Ghost end >\n"
                                    "      end>\n"
                                    "    Rows = <\n"
                                    "      item\n"
                                    "        Top = 1\n"
                                    "        Link = W\n"
                                    "      end>\n"
                                    "  end\n"
                                    "end",
                                    &form);
    auto* w = form.FindComponentAs<TTestWidget>("W");
    ASSERT_EQ(w->Rows()->Count(), 1);
    EXPECT_EQ(w->Rows()->ItemAs<TTestRow>(0)->Top(), 1);
    EXPECT_EQ(w->Rows()->ItemAs<TTestRow>(0)->Link(), w);
}

TEST_F(LayoutReader, NumbersStringsNamesAndCommentsInTheirWrittenForms) {
    TTestForm form(nullptr);
    TLayoutReader::ReadRootFromText("\xEF\xBB\xBF"
                                    "object F: TTestForm\r\n"
                                    "  // comments run to the end of the line\r\n"
                                    "  object W: TTestWidget // like this one\r\n"
                                    "    left = -$10//and this\r\n"
                                    "    Font.Name = 'http://not.a/comment'\r\n"
                                    "    Ratio = -0.25\r\n"
                                    "    Color = -16777203\r\n"
                                    "    Caption = #$1F600'a'#0'b'\r\n"
                                    "    Font.Charset = 7\r\n"
                                    "    Visible = TRUE\r\n"
                                    "    Data = {}\r\n"
                                    "  end\r\n"
                                    "  object TTestStyler\r\n"
                                    "  end\r\n"
                                    "end\r\n",
                                    &form);
    auto* w = form.FindComponentAs<TTestWidget>("W");
    EXPECT_EQ(w->Left(), -16);
    EXPECT_DOUBLE_EQ(w->Ratio(), -0.25);
    EXPECT_EQ(w->Color(), 0xFF00000Du); // the same 32-bit pattern as clHighlight
    EXPECT_EQ(w->Caption(), std::string("\xF0\x9F\x98\x80"
                                        "a\0b",
                                        7));
    EXPECT_EQ(w->Font()->Charset(), 7);
    EXPECT_EQ(w->Font()->Name(), "http://not.a/comment");
    EXPECT_TRUE(w->Visible());
    EXPECT_TRUE(w->Data().empty());
    // An unnamed object is created all the same.
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Component(1)->ClassName(), "TTestStyler");
}
