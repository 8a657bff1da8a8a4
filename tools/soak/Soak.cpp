#include "soak/Soak.h"

#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <sstream>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/LinuxLocalePlatform.h"
#include "app/Program.h"
#include "app/RegionalSettingsStore.h"
#include "app/StartupFormats.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/PosixFileSystem.h"

namespace emr {

namespace {

namespace fs = std::filesystem;
using platform::TMouseButton;

/// Generates and injects one random event at a time, remembering the last few.
class TInputGenerator {
public:
    TInputGenerator(std::uint64_t seed, platform::HeadlessBackend& backend)
        : random_(seed), backend_(backend) {}

    /// Injects the next event; `resize` is asked to resize the main window.
    void Next(const std::function<void(int, int)>& resize) {
        const int kind = Pick(100);
        std::ostringstream line;
        if (kind < 35) {
            const TPoint p = Point();
            backend_.MoveMouse(p.X, p.Y, Shift());
            line << "move " << p.X << " " << p.Y;
        } else if (kind < 50) {
            const TPoint p = Point();
            const TMouseButton button = Button();
            const unsigned bit = Bit(button);
            if (down_ & bit) {
                backend_.Release(p.X, p.Y, button, Shift());
                down_ &= ~bit;
                line << "release ";
            } else {
                backend_.Press(p.X, p.Y, button, Shift());
                down_ |= bit;
                line << "press ";
            }
            line << static_cast<int>(button) << " " << p.X << " " << p.Y;
        } else if (kind < 65) {
            const TPoint p = Point();
            const TMouseButton button = Pick(4) == 0 ? Button() : TMouseButton::Left;
            if (down_ & Bit(button)) {
                backend_.Release(p.X, p.Y, button);
                down_ &= ~Bit(button);
            }
            if (Pick(5) == 0) {
                backend_.DoubleClick(p.X, p.Y, button, Shift());
                line << "dblclick ";
            } else {
                backend_.Click(p.X, p.Y, button, Shift());
                line << "click ";
            }
            line << static_cast<int>(button) << " " << p.X << " " << p.Y;
        } else if (kind < 78) {
            static const int keys[] = {platform::VK_RETURN,
                                       platform::VK_ESCAPE,
                                       platform::VK_TAB,
                                       platform::VK_SPACE,
                                       platform::VK_LEFT,
                                       platform::VK_RIGHT,
                                       platform::VK_UP,
                                       platform::VK_DOWN,
                                       platform::VK_MENU,
                                       platform::VK_F10,
                                       'A',
                                       'X'};
            const int key = keys[Pick(static_cast<int>(std::size(keys)))];
            const platform::TShiftState shift = Shift();
            backend_.Key(key, shift);
            line << "key " << key << " shift " << shift;
        } else if (kind < 82) {
            static const char* const texts[] = {"a", "确", " ", "&", "\t"};
            const char* text = texts[Pick(static_cast<int>(std::size(texts)))];
            backend_.TypeText(text);
            line << "type '" << text << "'";
        } else if (kind < 96) {
            const int ms = Pick(4) == 0 ? Pick(1000) : Pick(40);
            backend_.AdvanceTime(ms);
            line << "wait " << ms;
        } else {
            static const int extremes[] = {INT_MIN, -100, 0, 1, 5, 30000, INT_MAX};
            auto size = [&](int usual) {
                return Pick(3) == 0 ? extremes[Pick(static_cast<int>(std::size(extremes)))]
                                    : usual + Pick(400) - 200;
            };
            const int width = size(398), height = size(237);
            resize(width, height);
            line << "resize " << width << " " << height;
        }
        Remember(line.str());
    }

    /// A new main window starts with no button held (the backend's state goes too).
    void ReleaseAll() {
        for (TMouseButton button : {TMouseButton::Left, TMouseButton::Right, TMouseButton::Middle})
            if (down_ & Bit(button)) {
                const TPoint p = backend_.PointerPosition();
                backend_.Release(p.X, p.Y, button);
            }
        down_ = 0;
    }
    std::string Recent() const {
        std::string out;
        for (const std::string& line : recent_)
            out += "\n  " + line;
        return out;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    static unsigned Bit(TMouseButton b) { return 1u << static_cast<int>(b); }
    TMouseButton Button() {
        static const TMouseButton buttons[] = {TMouseButton::Left, TMouseButton::Right, TMouseButton::Middle};
        return buttons[Pick(3)];
    }
    platform::TShiftState Shift() {
        if (Pick(4) != 0) return 0;
        static const platform::TShiftState shifts[] = {platform::ssShift, platform::ssCtrl, platform::ssAlt};
        return shifts[Pick(3)];
    }
    /// Mostly over the main window's command bar and client area, sometimes
    /// anywhere on the screen, now and then far outside it.
    TPoint Point() {
        const int where = Pick(20);
        if (where == 0) return {Pick(2) ? INT_MIN : INT_MAX, Pick(2) ? INT_MIN : INT_MAX};
        if (where < 4) return {Pick(1024), Pick(768)};
        TRect area{380, 190, 800, 420};
        if (TCustomForm* form = Application ? Application->MainForm() : nullptr)
            area = TRect::FromBounds(form->Left() - 10, form->Top() - 10,
                                     std::clamp(form->Width(), 0, 1200) + 20,
                                     std::clamp(form->Height(), 0, 900) + 20);
        if (where < 12) { // the command bar
            const TPoint client = Application && Application->MainForm()
                                      ? Application->MainForm()->ClientOrigin()
                                      : TPoint{area.Left, area.Top};
            return {client.X + Pick(120), client.Y + Pick(50)};
        }
        return {area.Left + Pick(std::max(1, area.Width())), area.Top + Pick(std::max(1, area.Height()))};
    }
    void Remember(std::string line) {
        recent_.push_back(std::move(line));
        if (recent_.size() > 25) recent_.pop_front();
    }

    std::mt19937_64 random_;
    platform::HeadlessBackend& backend_;
    unsigned down_ = 0;
    std::deque<std::string> recent_;
};

/// A temporary folder that goes with the run.
class TTemporaryFolder {
public:
    TTemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "emr-soak-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TTemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

TSoakResult RunSoak(const TSoakOptions& options, std::ostream& progress) {
    TSoakResult result;
    TTemporaryFolder temporary;
    const fs::path folder = options.ConfigFolder.empty() ? temporary.Path() : fs::path(options.ConfigFolder);
    if (folder.empty()) {
        result.Failure = "cannot make a temporary folder";
        return result;
    }

    auto owned = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend& backend = *owned;
    platform::Backend::Install(std::move(owned));
    TPosixFileSystem files;
    TRegionalSettingsStore store((folder / "regional-settings.ini").string(), files);
    TLinuxLocalePlatform localePlatform(store);
    TAppEnvironment& environment = AppEnvironment();
    environment.Platform = &localePlatform;
    environment.Formats = TStartupFormats::Read(store);
    ConnectLocalePlatform(localePlatform);

    TInputGenerator input(options.Seed, backend);
    auto step = [&] {
        if (!result.Failure.empty() || backend.PendingEvents() > 0) return;
        ++result.Checks;
        // The dock panels, the toolbars and the mouse capture, as each of them describes itself.
        const std::string broken = Application->CheckInvariants();
        if (!broken.empty()) {
            result.Failure = "after event " + std::to_string(result.Events) + ": " + broken +
                             "\nthe last events:" + input.Recent();
            return;
        }
        if (result.Events >= options.Events) return;
        ++result.Events;
        input.Next([&](int width, int height) {
            if (TCustomForm* form = Application ? Application->MainForm() : nullptr)
                form->SetBounds(form->Left(), form->Top(), width, height);
        });
        if (result.Events % 100000 == 0) progress << "soak: " << result.Events << " events\n";
    };

    try {
        while (result.Events < options.Events && result.Failure.empty()) {
            StartApplication();
            Application->OnIdle = [&](TObject*) { step(); };
            Application->Run();
            // The window ended (a patch, 退出, a close) or nothing more could arrive.
            if (Application->Terminated()) ++result.Restarts;
            Application->OnIdle = nullptr;
            ShutDownApplication();
            input.ReleaseAll();
            while (backend.PendingEvents() > 0)
                backend.NextEvent(std::nullopt);
        }
    } catch (const std::exception& e) {
        result.Failure = "after event " + std::to_string(result.Events) + ": uncaught " + e.what() +
                         "\nthe last events:" + input.Recent();
        if (Application) ShutDownApplication();
    }
    environment.Platform = nullptr;
    platform::Backend::Uninstall();
    return result;
}

} // namespace emr
