// Bad layouts: each raises one located message and leaves nothing of itself behind.
#include <gtest/gtest.h>

#include <string>

#include "LayoutTestClasses.h"
#include "framework/core/Exception.h"
#include "framework/streaming/LayoutReader.h"

using namespace emr;
using namespace emr::test;

namespace {

struct TBadCase {
    const char* What;
    /// Replaces line 6 of the frame below (may span several lines).
    std::string Line6;
    std::string Message;
};

std::string Frame(const std::string& line6) {
    return "object Form1: TTestForm\n"       // 1
           "  object Widget1: TTestWidget\n" // 2
           "    Left = 1\n"                  // 3
           "  end\n"                         // 4
           "  object Widget2: TTestWidget\n" // 5
           + line6 + "\n" +                  // 6
           "  end\n"                         // 7
           "  object Styler2: TTestStyler\n" // 8
           "  end\n"                         // 9
           "end\n";                          // 10
}

std::string ErrorReadingInto(TTestForm& form, const std::string& text) {
    try {
        TLayoutReader::ReadRootFromText(text, &form);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

const std::string kNoSuchProperty = "    Colr = 1";

const TBadCase kBadCases[] = {
    {"unknown property", kNoSuchProperty, "line 6, column 5: unknown property 'Colr' of TTestWidget"},
    {"unknown nested property", "    Appearance.Font.Colr = 1",
     "line 6, column 21: unknown property 'Colr' of TTestFont"},
    {"path through a non-object", "    Left.X = 1",
     "line 6, column 5: property 'Left' of TTestWidget is not an object, so it has no property 'X'"},
    {"object given a value", "    Font = 1",
     "line 6, column 5: property 'Font' of TTestWidget is an object: set its properties one by one (Font.X = "
     "...)"},
    {"string for an integer", "    Left = 'abc'",
     "line 6, column 12: expected an integer for property 'Left' of TTestWidget but found string 'abc'"},
    {"integer for a boolean", "    Visible = 1",
     "line 6, column 15: expected True or False for property 'Visible' of TTestWidget but found integer 1"},
    {"integer for a reference", "    Buddy = 5",
     "line 6, column 13: expected a component name for property 'Buddy' of TTestWidget but found integer 5"},
    {"unknown colour name", "    Color = clPuce",
     "line 6, column 13: unknown constant 'clPuce' for property 'Color' of TTestWidget"},
    {"integer wider than 32 bits", "    Left = 4294967296",
     "line 6, column 12: integer 4294967296 is out of the 32-bit range of property 'Left' of TTestWidget"},
    {"integer beyond 64 bits", "    Left = 99999999999999999999",
     "line 6, column 12: number 99999999999999999999 is out of range"},
    {"letters after a number", "    Left = 12px",
     "line 6, column 14: unexpected character 'p' after the number 12"},
    {"unknown enumeration value", "    Align = alMiddle",
     "line 6, column 13: unknown value 'alMiddle' for property 'Align' of TTestWidget; expected one of "
     "alNone, "
     "alTop, alBottom, alClient"},
    {"unknown set element", "    Anchors = [akLeft, akFront]",
     "line 6, column 24: unknown element 'akFront' in the set for property 'Anchors' of TTestWidget; "
     "expected one "
     "of akLeft, akTop, akRight, akBottom"},
    {"unclosed set", "    Anchors = [akLeft akTop]",
     "line 6, column 23: expected ',' or ']' but found 'akTop'"},
    {"unknown component", "    Buddy = Nobody",
     "line 6, column 13: unknown component 'Nobody' for property 'Buddy'"},
    {"reference of the wrong class", "    Buddy = Styler2",
     "line 6, column 13: cannot set property 'Buddy' to 'Styler2': Property Buddy needs a TTestWidget, not a "
     "TTestStyler"},
    {"unknown reference in a collection item", "    Rows = < item Link = Nobody end >",
     "line 6, column 26: unknown component 'Nobody' for property 'Link'"},
    {"wrong kind in a collection item", "    Rows = < item Top = 'x' end >",
     "line 6, column 25: expected an integer for property 'Top' of TTestRow but found string 'x'"},
    {"collection item not closed", "    Rows = < item Top = 1 >",
     "line 6, column 27: expected a property name or 'end' but found '>'"},
    {"unknown method", "    OnClick = NoSuchMethod",
     "line 6, column 15: unknown method 'NoSuchMethod' of TTestForm for event 'OnClick'"},
    {"read-only property", "    Version = '2.0'",
     "line 6, column 5: property 'Version' of TTestWidget is read-only"},
    {"setter refuses the value", "    Strict = -1",
     "line 6, column 5: cannot set property 'Strict' of TTestWidget: Strict must not be negative"},
    {"Loaded fails", "    FailOnLoad = True",
     "line 5, column 3: loading Widget2 failed: refused to finish loading"},
    {"missing '='", "    Left 5", "line 6, column 10: expected '=' but found '5'"},
    {"missing value", "    Left =", "line 7, column 3: expected a value but found 'end'"},
    {"unterminated string", "    Caption = 'abc", "line 6, column 15: unterminated string"},
    {"'+' without a string", "    Caption = 'abc' + 5",
     "line 6, column 23: expected a string after '+' but found '5'"},
    {"invalid UTF-8", "    Caption = 'a\xFF'", "line 6, column 17: invalid UTF-8 inside a string"},
    {"surrogate character code", "    Caption = #55296",
     "line 6, column 15: character code is not a Unicode code point"},
    {"odd number of hex digits", "    Data = {0A1}",
     "line 6, column 16: binary data has an odd number of hex digits"},
    {"non-hex digit", "    Data = {0A 1G}",
     "line 6, column 17: expected hex digits or '}' in binary data but found character 'G'"},
    {"garbage character", "    Left = 5 @", "line 6, column 14: unexpected character '@'"},
    {"single slash", "    Left = 5 / 2", "line 6, column 14: unexpected character '/'"},
    {"control character", "    Left = 5 \x01", "line 6, column 14: unexpected character #1"},
    {"unknown class", "    object X: TNoSuch\n    end", "line 6, column 15: unknown class 'TNoSuch'"},
    {"class that is not a component", "    object X: TTestFont\n    end",
     "line 6, column 15: class TTestFont cannot be created from a layout"},
    {"duplicate name", "    object Widget1: TTestWidget\n    end",
     "line 6, column 12: cannot name the TTestWidget 'Widget1': A component named Widget1 already exists"},
    {"field of another class", "    object Styler1: TTestWidget\n    end",
     "line 6, column 12: cannot store Styler1 in TTestForm: Field Styler1 needs a TTestStyler, not a "
     "TTestWidget"},
    {"property after a child", "    object Inner: TTestWidget\n    end\n    Left = 3",
     "line 8, column 5: expected 'object' or 'end' but found 'Left'"},
    {"inherited object", "    inherited X: TTestWidget\n    end",
     "line 6, column 5: 'inherited' objects are not supported: write the whole layout with 'object' blocks"},
    {"missing 'end'", "    object Inner: TTestWidget",
     "line 11, column 1: expected 'object' or 'end' but found end of text"},
    {"extra 'end'", "    end",
     "line 8, column 3: expected end of text after the root object's 'end' but found 'object'"},
};

void PrintTo(const TBadCase& bad, std::ostream* out) {
    *out << bad.What;
}

class BadLayout : public ::testing::TestWithParam<TBadCase> {
protected:
    void SetUp() override { RegisterLayoutTestClasses(); }
};

} // namespace

TEST_P(BadLayout, FailsAtItsPlaceAndFreesWhatItMade) {
    const TBadCase& bad = GetParam();
    int before = gLiveComponents;
    {
        TTestForm form(nullptr);
        EXPECT_EQ(ErrorReadingInto(form, Frame(bad.Line6)), bad.Message) << bad.What;
        // Only the caller's root is left, with no components and no fields pointing anywhere.
        EXPECT_EQ(gLiveComponents, before + 1) << bad.What;
        EXPECT_EQ(form.ComponentCount(), 0) << bad.What;
        EXPECT_EQ(form.Widget1, nullptr) << bad.What;
        EXPECT_EQ(form.Widget2, nullptr) << bad.What;
        EXPECT_EQ(form.Styler1, nullptr) << bad.What;
    }
    // A root the reader created goes too.
    TComponent owner(nullptr);
    EXPECT_THROW(TLayoutReader::CreateFromText(Frame(bad.Line6), &owner), Exception) << bad.What;
    EXPECT_EQ(owner.ComponentCount(), 0) << bad.What;
    EXPECT_EQ(gLiveComponents, before) << bad.What;
}

INSTANTIATE_TEST_SUITE_P(Layouts, BadLayout, ::testing::ValuesIn(kBadCases));

TEST(BadLayoutText, TruncatedAndMalformedWholeTexts) {
    RegisterLayoutTestClasses();
    struct {
        std::string Text;
        std::string Message;
    } cases[] = {
        {"", "line 1, column 1: expected 'object' but found end of text"},
        {"object F: TTestForm\n  Caption = ", "line 2, column 13: expected a value but found end of text"},
        {"object F: TTestForm\n  object W: TTestWidget\n    Data = {0A0B",
         "line 3, column 12: binary data is not closed: expected '}' before end of text"},
        {"object F: TNoSuchForm\nend", "line 1, column 11: unknown class 'TNoSuchForm'"},
        // Without a colon the name is taken for the class and the class for a property.
        {"object F TTestForm\nend", "line 2, column 1: expected '=' but found 'end'"},
        {"inline F: TTestForm\nend",
         "line 1, column 1: 'inline' objects are not supported: write the whole layout with 'object' blocks"},
        {"object F: TTestForm\n  Caption = '中文' + '\x80'\nend",
         "line 2, column 21: invalid UTF-8 inside a string"},
    };
    TComponent owner(nullptr);
    for (const auto& c : cases) {
        try {
            TLayoutReader::CreateFromText(c.Text, &owner);
            ADD_FAILURE() << "no error for: " << c.Text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(owner.ComponentCount(), 0);
    }
}

TEST(BadLayoutText, NestingIsLimitedInsteadOfExhaustingTheStack) {
    RegisterLayoutTestClasses();
    int before = gLiveComponents;
    std::string objects = "object F: TTestForm\n";
    for (int i = 0; i < 300; ++i)
        objects += "object W" + std::to_string(i) + ": TTestWidget\n";
    for (int i = 0; i <= 300; ++i)
        objects += "end\n";
    TComponent owner(nullptr);
    try {
        TLayoutReader::CreateFromText(objects, &owner);
        ADD_FAILURE() << "300 nested objects were accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "line 257, column 1: objects and collections nest deeper than 256 levels");
    }

    std::string rows = "object F: TTestForm\nobject W: TTestWidget\nRows = ";
    for (int i = 0; i < 300; ++i)
        rows += "<item Rows = ";
    rows += "<>";
    for (int i = 0; i < 300; ++i)
        rows += " end>";
    rows += "\nend\nend\n";
    EXPECT_THROW(TLayoutReader::CreateFromText(rows, &owner), Exception);
    EXPECT_EQ(gLiveComponents, before);

    // Right at the limit still loads.
    std::string deep = "object F: TTestForm\n";
    for (int i = 1; i < 256; ++i)
        deep += "object W" + std::to_string(i) + ": TTestWidget\n";
    for (int i = 0; i < 256; ++i)
        deep += "end\n";
    TComponent* made = TLayoutReader::CreateFromText(deep, &owner);
    EXPECT_EQ(made->ComponentCount(), 255);
    TObject::Free(made);
    EXPECT_EQ(gLiveComponents, before);
}
