// A window that goes saves the layouts of all its panels and floating toolbars
// with one replacement of their file: killed or failing at any step, the file
// holds the whole old layout or the whole new one.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/IniFileStore.h"
#include "framework/storage/StepFileSystem.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

namespace fs = std::filesystem;
using test::TStepCounter;
using test::TStepFileSystem;

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

/// A dock panel saving to `ini` under its own section, with toolbars of one button each.
std::string StoredPanel(const std::string& name, const std::string& align, const std::string& ini,
                        const std::vector<std::string>& toolBars) {
    std::string text = "  object " + name + ": TAdvDockPanel\n    Align = " + align +
                       "\n    Persistence.Location = plIniFile\n    Persistence.Key = '" + ini +
                       "'\n    Persistence.Section = '" + name + "'\n    Persistence.Enabled = True\n";
    int top = 1;
    for (const std::string& t : toolBars) {
        text += "    object " + t + ": TAdvToolBar\n      Left = 3\n      Top = " + std::to_string(top) +
                "\n      Width = 91\n      Height = 26\n      object " + t +
                "Button: TAdvToolBarButton\n        Caption = 'B'\n        ShowCaption = True\n      end\n"
                "    end\n";
        top += 28;
    }
    return text + "  end\n";
}

class WindowSaveSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/emr-window-save-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ini_ = dir_ + "/layout.ini";
        auto backend = std::make_unique<platform::HeadlessBackend>();
        platform::Backend::Install(std::move(backend));
        app_ = new TApplication(nullptr);
        RegisterToolbarClasses();
        app_->OnException = [this](const std::exception& e) { reported_.push_back(e.what()); };
    }
    void TearDown() override {
        TLayoutStore::SetFactory(nullptr);
        TObject::Free(app_);
        platform::Backend::Uninstall();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    /// Stores go through `files` from now on.
    static void UseFiles(TFileSystem& files) {
        TLayoutStore::SetFactory([&files](const TPersistence& p) -> std::unique_ptr<TSettingsStore> {
            return std::make_unique<TIniFileStore>(p.Key(), &files);
        });
    }

    TForm* CreateWindow() {
        const std::string text = "object SavedForm: TForm\n  ClientWidth = 500\n  ClientHeight = 400\n" +
                                 StoredPanel("TopDock", "daTop", ini_, {"Bar1", "Bar2", "Bar3"}) +
                                 StoredPanel("BottomDock", "daBottom", ini_, {"Bar4"}) +
                                 StoredPanel("LeftDock", "daLeft", ini_, {}) + "end\n";
        return static_cast<TForm*>(TLayoutReader::CreateFromText(text, app_));
    }

    /// What a user does before ending the program: a toolbar moves to another
    /// panel, another one floats.
    static void Rearrange(TForm* window) {
        auto* bottom = window->FindComponentAs<TAdvDockPanel>("BottomDock");
        auto* bar3 = window->FindComponentAs<TAdvToolBar>("Bar3");
        auto* bar2 = window->FindComponentAs<TAdvToolBar>("Bar2");
        ASSERT_TRUE(bottom && bar3 && bar2);
        bar3->SetParent(bottom);
        ASSERT_EQ(bar3->DockPanel(), static_cast<TToolBarDockSite*>(bottom));
        ASSERT_NE(TFloatingWindow::FloatToolBar(bar2, 300, 200, true), nullptr);
    }

    /// The layout file as the window saved with nothing changed, and as it saved
    /// after Rearrange.
    void SaveOldAndNew() {
        TObject::Free(CreateWindow());
        old_ = ReadFile(ini_).value_or("");
        ASSERT_NE(old_.find("Bar3"), std::string::npos) << old_;
        TForm* window = CreateWindow();
        Rearrange(window);
        TObject::Free(window);
        new_ = ReadFile(ini_).value_or("");
        ASSERT_NE(old_, new_);
        ASSERT_NE(new_.find("Bar2.State=1"), std::string::npos) << new_;
        WriteFile(ini_, old_);
    }

    /// Loads and rearranges the window, then frees it with `counter` set to act at
    /// its save's step `at`; returns the steps the save took.
    int FreeRearrangedWindow(TStepCounter& counter, TStepCounter::TAction action, int at) {
        TStepFileSystem files(counter);
        UseFiles(files);
        TForm* window = CreateWindow();
        Rearrange(window);
        const int start = counter.Steps;
        counter.Action = action;
        counter.At = at < 0 ? -1 : start + at;
        TObject::Free(window);
        TLayoutStore::SetFactory(nullptr);
        return counter.Steps - start;
    }

    std::string dir_;
    std::string ini_;
    std::string old_;
    std::string new_;
    TApplication* app_ = nullptr;
    std::vector<std::string> reported_;
};

// Ending the program once replaced the file once per dock panel and floating
// toolbar: a kill in between left a file in which the moved toolbar was in no panel.
TEST_F(WindowSaveSafetyTest, WindowSaveReplacesItsFileOnce) {
    SaveOldAndNew();
    TStepCounter counter;
    const int steps = FreeRearrangedWindow(counter, TStepCounter::TAction::None, -1);
    const std::vector<std::string> save(counter.Names.end() - steps, counter.Names.end());
    const auto count = [&](const char* step) {
        return std::count(save.begin(), save.end(), std::string(step));
    };
    EXPECT_EQ(count("Rename"), 1);
    EXPECT_EQ(count("CreateTemporary"), 1);
    // Read once for the values the save consults, and once more under the lock.
    EXPECT_LE(count("ReadFile"), 2);
    EXPECT_EQ(ReadFile(ini_), new_);
    EXPECT_TRUE(reported_.empty());
}

// At the end of a session the window's layout was saved when the session ended
// and again when the window was destroyed: the file was replaced twice.
TEST_F(WindowSaveSafetyTest, SessionEndSavedTheLayoutTwice) {
    SaveOldAndNew();
    TStepCounter counter;
    TStepFileSystem files(counter);
    UseFiles(files);
    TForm* window = CreateWindow();
    app_->SetMainForm(window);
    window->Show();
    Rearrange(window);
    const int start = counter.Steps;
    platform::TEvent sessionEnd;
    sessionEnd.Type = platform::TEventType::SessionEnd;
    app_->InjectInput(sessionEnd);
    app_->ProcessMessages();
    ASSERT_TRUE(app_->Terminated());
    EXPECT_EQ(ReadFile(ini_), new_) << "saved before the window goes";
    TObject::Free(window);
    TLayoutStore::SetFactory(nullptr);
    const std::vector<std::string> save(counter.Names.begin() + start, counter.Names.end());
    EXPECT_EQ(std::count(save.begin(), save.end(), std::string("Rename")), 1);
    EXPECT_EQ(ReadFile(ini_), new_);
    EXPECT_TRUE(reported_.empty());
}

TEST_F(WindowSaveSafetyTest, KillAtEveryStepOfAWindowSaveLeavesTheOldOrTheNewLayout) {
    SaveOldAndNew();
    int kills = 0;
    for (int at = 0; at < 200; ++at) {
        SCOPED_TRACE("killed at step " + std::to_string(at));
        WriteFile(ini_, old_);
        const pid_t child = ::fork();
        if (child == 0) {
            TStepCounter counter;
            FreeRearrangedWindow(counter, TStepCounter::TAction::Kill, at);
            ::_exit(0);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::optional<std::string> now = ReadFile(ini_);
        EXPECT_TRUE(now == old_ || now == new_) << "the file holds a mix: " << now.value_or("(no file)");
        if (!WIFSIGNALED(status)) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_EQ(now, new_) << "a save that was not killed saves";
            break;
        }
        ++kills;
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GE(kills, 8) << "the save takes more steps than were tried";
}

TEST_F(WindowSaveSafetyTest, FailureAtEveryStepOfAWindowSaveKeepsTheOldLayoutAndIsReported) {
    SaveOldAndNew();
    TStepCounter counting;
    const int steps = FreeRearrangedWindow(counting, TStepCounter::TAction::None, -1);
    const std::vector<std::string> names(counting.Names.end() - steps, counting.Names.end());
    int refused = 0;
    for (int at = 0; at < steps; ++at) {
        SCOPED_TRACE("step " + std::to_string(at) + " (" + names[static_cast<std::size_t>(at)] + ") fails");
        WriteFile(ini_, old_);
        reported_.clear();
        TStepCounter counter;
        FreeRearrangedWindow(counter, TStepCounter::TAction::Fail, at);
        if (reported_.empty()) {
            EXPECT_EQ(ReadFile(ini_), new_);
        } else {
            ++refused;
            EXPECT_EQ(ReadFile(ini_), old_) << "byte for byte as before";
            EXPECT_EQ(reported_.size(), 1u) << "one save, told once";
        }
        if (::testing::Test::HasFailure()) break;
    }
    EXPECT_GE(refused, 5);
}

} // namespace
} // namespace emr

#endif
