#include <gtest/gtest.h>

#include <string>

#include "LayoutTestClasses.h"
#include "framework/streaming/LayoutLexer.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"

using namespace emr;
using namespace emr::test;

namespace {

// What every TTestWidget writes for its font and other properties that have no declared default.
std::string FontLines(const std::string& indent, const std::string& prefix, const std::string& style = "") {
    return indent + prefix + "Font.Name = 'MS Sans Serif'\n" + indent + prefix + "Font.Height = -11\n" +
           (style.empty() ? "" : indent + prefix + "Font.Style = " + style + "\n") + indent + prefix +
           "Font.Color = 0\n" + indent + prefix + "Font.Charset = 1\n";
}

} // namespace

TEST(LayoutWriter, WritesNonDefaultValuesAndReadsBackTheSame) {
    RegisterLayoutTestClasses();
    TTestForm form(nullptr);
    form.SetName("F");
    form.SetCaption("Form");
    auto* w = new TTestWidget(&form);
    w->SetName("W");
    w->SetParentComponent(&form);
    auto* w2 = new TTestWidget(&form);
    w2->SetName("W2");
    w2->SetParentComponent(w);
    (new TTestStyler(&form))->SetName("S");
    w->SetLeft(5);
    w->SetVisible(false);
    w->SetCaption("a'b");
    w->SetRatio(0.5);
    w->SetAlign(TTestAlign::alClient);
    w->SetAnchors(1 | 2);
    w->SetColor(0xFF00000D);
    w->Font()->SetStyle(fsBold);
    w->SetData({0x01, 0x02});
    auto* row = static_cast<TTestRow*>(w->Rows()->Add());
    row->SetTop(3);
    row->SetLink(w2);
    w->SetBuddy(w2);
    w->OnClick = [](TObject*) {};

    const std::string expected =
        "object F: TTestForm\n"
        "  Caption = 'Form'\n"
        "  object W: TTestWidget\n"
        "    Left = 5\n"
        "    Visible = False\n"
        "    Caption = 'a''b'\n"
        "    Ratio = 0.5\n"
        "    Align = alClient\n"
        "    Anchors = [akLeft, akTop]\n"
        "    Color = 4278190093\n"
        "    Wide = 0\n" +
        FontLines("    ", "", "[fsBold]") + "    Appearance.Color = 0\n" + FontLines("    ", "Appearance.") +
        "    Data = {\n"
        "      0102}\n"
        "    Rows = <\n"
        "      item\n"
        "        Top = 3\n"
        "        Link = W2\n"
        "        Rows = <>\n"
        "      end>\n"
        "    Buddy = W2\n"
        "    Strict = 0\n"
        "    FailOnLoad = False\n"
        "    object W2: TTestWidget\n"
        "      Ratio = 0\n"
        "      Color = 0\n"
        "      Wide = 0\n" +
        FontLines("      ", "") + "      Appearance.Color = 0\n" + FontLines("      ", "Appearance.") +
        "      Rows = <>\n"
        "      Strict = 0\n"
        "      FailOnLoad = False\n"
        "    end\n"
        "  end\n"
        "  object S: TTestStyler\n"
        "    Tone = 0\n"
        "  end\n"
        "end\n";
    std::string written = TLayoutWriter::WriteRootToText(&form);
    EXPECT_EQ(written, expected);

    TTestForm copy(nullptr);
    TLayoutReader::ReadRootFromText(written, &copy);
    EXPECT_EQ(TLayoutWriter::WriteRootToText(&copy), written);
    auto* w2Copy = copy.FindComponentAs<TTestWidget>("W2");
    auto* wCopy = copy.FindComponentAs<TTestWidget>("W");
    ASSERT_TRUE(wCopy && w2Copy);
    EXPECT_EQ(w2Copy->ParentWidget(), wCopy);
    EXPECT_EQ(wCopy->Buddy(), w2Copy);
    EXPECT_EQ(wCopy->Rows()->ItemAs<TTestRow>(0)->Link(), w2Copy);
}

// Every string survives quoting and reading back, whatever characters it holds.
TEST(LayoutWriter, QuotedStringsReadBackUnchanged) {
    const std::string samples[] = {
        "",   "plain",        "It's", "''",  "line\r\nbreak", std::string("nul\0inside", 10),
        "\t", "电子病历补丁", "'#'",  "\x7F"};
    for (const std::string& s : samples) {
        std::string quoted = TLayoutWriter::QuoteString(s);
        TLayoutLexer lexer(quoted);
        TLayoutToken token = lexer.Next();
        EXPECT_EQ(token.Kind, TLayoutTokenKind::String) << quoted;
        EXPECT_EQ(token.Text, s) << quoted;
        EXPECT_EQ(lexer.Next().Kind, TLayoutTokenKind::EndOfText) << quoted;
    }
    EXPECT_EQ(TLayoutWriter::QuoteString("It's\r\nok"), "'It''s'#13#10'ok'");
}
