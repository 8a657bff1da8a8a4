// optiondemo [LAYOUT]: runs a stored layout (the demo's own when none is given)
// in a real X11 window, for trying a toolbar's overflow, its option window and
// the add-or-remove cascade by hand or from xdotool.
//
// Whenever the first toolbar's place or its hidden controls change, one line goes
// to standard output:
//   toolbar L T W H screen X Y overflow: Name1 Name2 ... off: Name3 ...
// (L T W H in its parent's client coordinates, X Y its top-left on the screen; the
// controls that overflowed, then those switched off in the add-or-remove cascade),
// so that a driver knows where the option indicator is without reading pixels.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "OptionDemoLayout.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Timer.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolbarClasses.h"

using namespace emr;

namespace {

TAdvCustomToolBar* FirstToolBar(const TComponent* root) {
    for (TComponent* c : root->Components())
        if (auto* bar = dynamic_cast<TAdvCustomToolBar*>(c)) return bar;
    return nullptr;
}

std::string Describe(const TAdvCustomToolBar& bar) {
    std::ostringstream out;
    const TPoint screen = bar.ClientToScreen({0, 0});
    out << "toolbar " << bar.Left() << ' ' << bar.Top() << ' ' << bar.Width() << ' ' << bar.Height()
        << " screen " << screen.X << ' ' << screen.Y << " overflow:";
    for (const TControl* c : bar.OverflowList())
        out << ' ' << c->Name();
    out << " off:";
    for (const TControl* c : bar.PositionList())
        if (!c->Visible()) out << ' ' << c->Name();
    return out.str();
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    platform::Backend::Install(std::move(backend));
    int status = 0;
    try {
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        const std::string layout = argc > 1 ? ReadFile(argv[1]) : std::string(OptionDemoLayout());
        auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(layout, app));
        if (!form) throw std::runtime_error("the layout's root is not a form");
        app->SetMainForm(form);

        // Polling keeps the report independent of which step (a resize, the first
        // paint, a click) changed the overflow.
        if (TAdvCustomToolBar* bar = FirstToolBar(form)) {
            auto* report = new TTimer(form);
            report->SetInterval(20);
            auto last = std::make_shared<std::string>();
            report->OnTimer = [bar, last](TObject*) {
                std::string now = Describe(*bar);
                if (now == *last) return;
                *last = std::move(now);
                std::cout << *last << std::endl;
            };
            report->SetEnabled(true);
        }
        app->Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "optiondemo: %s\n", e.what());
        status = 1;
    }
    if (Application) {
        TApplication* app = Application;
        TObject::Free(app);
        Application = nullptr;
    }
    platform::Backend::Uninstall();
    return status;
}
