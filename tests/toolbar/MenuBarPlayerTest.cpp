// What the form player shows of a menu bar: the hot button, keyboard menu mode
// and the items of an open menu, driven by the keys a script names.

#include <gtest/gtest.h>

#include <sstream>

#include "formplay/FormPlayer.h"
#include "formplay/PlayScript.h"
#include "framework/forms/Application.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

constexpr const char* kMenuForm = R"(object Form1: TForm
  Left = 100
  Top = 80
  Width = 320
  Height = 200
  object MainMenu1: TAdvMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
      end
      object Sep1: TMenuItem
        Caption = '-'
      end
      object Recent1: TMenuItem
        Caption = '&Recent'
        object One1: TMenuItem
          Caption = 'One'
        end
      end
    end
    object Edit1: TMenuItem
      Caption = '&Edit'
      object Undo1: TMenuItem
        Caption = '&Undo'
        Enabled = False
      end
      object Wrap1: TMenuItem
        Caption = '&Wrap'
        Checked = True
      end
    end
  end
  object AdvToolBar1: TAdvToolBar
    Left = 0
    Top = 0
    Width = 200
    Height = 26
    Menu = MainMenu1
  end
end
)";

class MenuBarPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterToolbarClasses();
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    /// The dump lines that mention the menu bar (hot button and open items).
    static std::string MenuLines(const std::string& dump) {
        std::istringstream in(dump);
        std::string line, kept;
        while (std::getline(in, line))
            if (line.find("hot: ") != std::string::npos || line.find("item ") != std::string::npos)
                kept += line.substr(line.find_first_not_of(' ')) + "\n";
            else if (line.find("Form1") == 0)
                kept += "--\n";
        return kept;
    }
    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
};

TEST_F(MenuBarPlayer, F10DownEscEscShowsTheHotButtonTheOpenItemsAndLeaves) {
    std::ostringstream out;
    TFormPlayer player(*backend_, *app, out);
    player.LoadForm(kMenuForm);
    player.Play(
        ParsePlayScript("key f10\ndump\nkey right\nkey down\ndump\nkey escape\ndump\nkey escape\ndump\n"));
    const std::string lines = MenuLines(out.str());
    EXPECT_NE(lines.find("--\nhot: &File menu mode\n--\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find("item 0: &Undo disabled\nitem 1: &Wrap hot checked\n"), std::string::npos) << lines;
    // Esc closes the menu and keeps the mode; the second Esc leaves it, and no hot line is left.
    EXPECT_EQ(lines.substr(lines.size() - 27), "--\nhot: &Edit menu mode\n--\n") << lines;
}

TEST_F(MenuBarPlayer, AltPlusAcceleratorOpensThatMenuWithItsFirstItemHot) {
    std::ostringstream out;
    TFormPlayer player(*backend_, *app, out);
    player.LoadForm(kMenuForm);
    player.Play(ParsePlayScript("key alt+f\ndump\nkey escape\n"));
    const std::string lines = MenuLines(out.str());
    EXPECT_NE(lines.find("item 0: &New hot\nitem 1: -\nitem 2: &Recent sub\n"), std::string::npos) << lines;
}

} // namespace
} // namespace emr::testing
