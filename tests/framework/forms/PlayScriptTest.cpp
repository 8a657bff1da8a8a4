#include <gtest/gtest.h>

#include "formplay/PlayScript.h"
#include "framework/core/Exception.h"

namespace emr {
namespace {

using TKind = TPlayCommand::TKind;
using namespace platform;

TEST(PlayScript, ParsesEveryCommandWithLineNumbers) {
    auto cmds = ParsePlayScript("# a comment\n"
                                "move 10 20\r\n"
                                "\n"
                                "press 1 2 right\n"
                                "release 1 2\n"
                                "click -3 4\n"
                                "dblclick 5 6\n"
                                "key alt+shift+F4\n"
                                "key shift+a\n"
                                "key enter\n"
                                "wait 250\n"
                                "resize 300 200\n"
                                "dump\n"
                                "png out.png");
    ASSERT_EQ(cmds.size(), 12u);
    EXPECT_EQ(cmds[0].Kind, TKind::Move);
    EXPECT_EQ(cmds[0].Line, 2);
    EXPECT_EQ(cmds[0].X, 10);
    EXPECT_EQ(cmds[1].Button, TMouseButton::Right);
    EXPECT_EQ(cmds[1].Line, 4);
    EXPECT_EQ(cmds[2].Button, TMouseButton::Left);
    EXPECT_EQ(cmds[3].X, -3);
    EXPECT_EQ(cmds[4].Kind, TKind::DblClick);
    EXPECT_EQ(cmds[5].Key, VK_F1 + 3);
    EXPECT_EQ(cmds[5].Shift, ssAlt | ssShift);
    EXPECT_EQ(cmds[5].Text, "") << "function keys type nothing";
    EXPECT_EQ(cmds[6].Key, 'A');
    EXPECT_EQ(cmds[6].Text, "A");
    EXPECT_EQ(cmds[7].Key, VK_RETURN);
    EXPECT_EQ(cmds[8].X, 250);
    EXPECT_EQ(cmds[9].Y, 200);
    EXPECT_EQ(cmds[10].Kind, TKind::Dump);
    EXPECT_EQ(cmds[11].Text, "out.png");
}

TEST(PlayScript, BadLinesNameTheirLine) {
    struct Case {
        const char* Script;
        const char* Message;
    };
    for (const Case& c :
         {Case{"dump\nfly 1 2", "line 2: unknown command 'fly'"}, Case{"move 1", "line 1: usage: move X Y"},
          Case{"\n\nclick 1 y", "line 3: 'y' is not a number"},
          Case{"press 1 2 middle", "line 1: unknown mouse button 'middle'"},
          Case{"key hyper+x", "line 1: unknown key 'hyper+x'"}, Case{"key f25", "line 1: unknown key 'f25'"},
          Case{"wait -1", "line 1: wait needs a time of 0 or more"},
          Case{"resize 0 10", "line 1: resize needs a positive width and height"},
          Case{"dump now", "line 1: usage: dump"}, Case{"save all", "line 1: usage: save"},
          Case{"reload now", "line 1: usage: reload"}}) {
        try {
            ParsePlayScript(c.Script);
            ADD_FAILURE() << "accepted: " << c.Script;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
}

TEST(PlayScript, SaveAndReloadTakeNoArguments) {
    auto cmds = ParsePlayScript("save\nRELOAD\n");
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].Kind, TKind::Save);
    EXPECT_EQ(cmds[1].Kind, TKind::Reload);
    EXPECT_EQ(cmds[1].Line, 2);
}

TEST(PlayScript, CtrlKeysTypeNothingAltKeysTypeTheirAccelerator) {
    TPlayCommand c;
    ASSERT_TRUE(ParseKeyName("ctrl+c", c));
    EXPECT_EQ(c.Key, 'C');
    EXPECT_EQ(c.Text, "");
    ASSERT_TRUE(ParseKeyName("alt+f", c));
    EXPECT_EQ(c.Text, "f");
    EXPECT_EQ(c.Shift, ssAlt);
    ASSERT_TRUE(ParseKeyName("Space", c));
    EXPECT_EQ(c.Text, " ");
    ASSERT_TRUE(ParseKeyName("7", c));
    EXPECT_EQ(c.Text, "7");
}

} // namespace
} // namespace emr
