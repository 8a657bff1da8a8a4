#include "formplay/FormPlayer.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/ContextMenu.h"
#include "framework/forms/ControlDump.h"
#include "framework/forms/Form.h"
#include "framework/forms/FormsClasses.h"
#include "framework/forms/HintManager.h"
#include "framework/forms/LayoutSaving.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"

namespace emr {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Exception("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TFormPlayer::TFormPlayer(platform::HeadlessBackend& backend, TApplication& app, std::ostream& out)
    : backend_(backend), app_(app), out_(out) {}

TCustomForm* TFormPlayer::LoadForm(std::string_view layout) {
    TComponent* root = TLayoutReader::CreateFromText(layout, &app_);
    auto* form = dynamic_cast<TCustomForm*>(root);
    if (!form) {
        const std::string what = root->Name() + " is a " + std::string(root->ClassName());
        TObject::Free(root);
        throw Exception("the layout's root " + what + ", not a form");
    }
    layout_ = layout;
    form_.Reset(form);
    if (!app_.MainForm()) app_.SetMainForm(form);
    form->DoCreate();
    form->Show();
    app_.ProcessMessages();
    return form;
}

TCustomForm& TFormPlayer::PlayedForm() const {
    TCustomForm* form = form_.Get();
    if (!form) throw Exception("the form is gone");
    return *form;
}

void TFormPlayer::Play(const std::vector<TPlayCommand>& commands) {
    commands_ = &commands;
    next_ = 0;
    error_.clear();
    TNotifyEvent savedIdle = app_.OnIdle;
    app_.OnIdle = [this](TObject*) { Step(); };
    try {
        // The player's loop is the application's outermost one: it runs until the
        // script is spent and nothing more can happen, and a quit request that
        // reaches it (the main window closed, Terminate) ends the application and
        // the script with it. Modal loops opened by the input run inside it.
        while (next_ < commands.size() && error_.empty() && !app_.Terminated())
            app_.HandleMessage();
        app_.ProcessMessages();
    } catch (...) {
        app_.OnIdle = savedIdle;
        commands_ = nullptr;
        throw;
    }
    app_.OnIdle = savedIdle;
    commands_ = nullptr;
    if (!error_.empty()) throw Exception(error_);
}

void TFormPlayer::Step() {
    if (!commands_ || !error_.empty()) return;
    // Idle comes between any two events; a command waits until the input before it is all taken.
    if (backend_.PendingEvents() > 0) return;
    while (next_ < commands_->size()) {
        const TPlayCommand& command = (*commands_)[next_++];
        try {
            Execute(command);
        } catch (const std::exception& e) {
            error_ = "line " + std::to_string(command.Line) + ": " + e.what();
            return;
        }
        // Input waits for the loop that is running now (which may be a modal one).
        if (backend_.PendingEvents() > 0) return;
    }
}

void TFormPlayer::Execute(const TPlayCommand& c) {
    using TKind = TPlayCommand::TKind;
    switch (c.Kind) {
    case TKind::Move:
        backend_.MoveMouse(c.X, c.Y);
        break;
    case TKind::Press:
        backend_.Press(c.X, c.Y, c.Button);
        break;
    case TKind::Release:
        backend_.Release(c.X, c.Y, c.Button);
        break;
    case TKind::Click:
        backend_.Click(c.X, c.Y, c.Button);
        break;
    case TKind::DblClick:
        backend_.DoubleClick(c.X, c.Y, c.Button);
        break;
    case TKind::Key: {
        backend_.KeyDown(c.Key, c.Shift);
        if (!c.Text.empty()) {
            platform::TEvent e;
            e.Type = platform::TEventType::Char;
            e.Window = backend_.ActiveWindow();
            e.Text = c.Text;
            e.Shift = c.Shift;
            backend_.Inject(e);
        }
        backend_.KeyUp(c.Key, c.Shift);
        break;
    }
    case TKind::Wait:
        backend_.AdvanceTime(c.X);
        break;
    case TKind::Resize: {
        TCustomForm* form = app_.MainForm();
        if (!form) throw Exception("there is no main window to resize");
        form->SetBounds(form->Left(), form->Top(), c.X, c.Y);
        break;
    }
    case TKind::Dump:
        app_.PaintPending();
        out_ << DumpForms() << std::flush;
        break;
    case TKind::Png:
        app_.PaintPending();
        backend_.RenderScreenToPng(c.Text);
        break;
    case TKind::Save:
        SaveLayouts(PlayedForm());
        break;
    case TKind::Reload: {
        TObject::Free(&PlayedForm());
        // A copy: loading replaces the player's own.
        const std::string layout = layout_;
        LoadForm(layout);
        break;
    }
    }
}

int FormPlayMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    if (args.empty() || args.size() > 2) {
        err << "usage: formplay LAYOUT [SCRIPT]\n";
        return 2;
    }
    const std::string& layoutPath = args[0];
    const std::string scriptName = args.size() == 2 ? args[1] : std::string("<stdin>");
    std::string layout;
    std::string script;
    try {
        layout = ReadFile(layoutPath);
        script = args.size() == 2
                     ? ReadFile(args[1])
                     : std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::exception& e) {
        err << "formplay: " << e.what() << "\n";
        return 1;
    }
    std::vector<TPlayCommand> commands;
    try {
        commands = ParsePlayScript(script);
    } catch (const std::exception& e) {
        err << "formplay: " << scriptName << ": " << e.what() << "\n";
        return 1;
    }

    RegisterFormsClasses();
    auto owned = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend& backend = *owned;
    platform::Backend::Install(std::move(owned));
    int status = 0;
    {
        auto* app = new TApplication(nullptr);
        THintManager::Instance().Install(app);
        InstallContextMenus(app);
        TFormPlayer player(backend, *app, out);
        try {
            player.LoadForm(layout);
        } catch (const std::exception& e) {
            err << "formplay: " << layoutPath << ": " << e.what() << "\n";
            status = 1;
        }
        if (status == 0) {
            try {
                player.Play(commands);
            } catch (const std::exception& e) {
                err << "formplay: " << scriptName << ": " << e.what() << "\n";
                status = 1;
            }
        }
        UninstallContextMenus();
        THintManager::Instance().Uninstall();
        TObject::Free(app);
    }
    platform::Backend::Uninstall();
    return status;
}

} // namespace emr
