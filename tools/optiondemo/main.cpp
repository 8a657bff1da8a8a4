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
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "DemoHost.h"
#include "OptionDemoLayout.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvCustomToolBar.h"

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
    const std::string path = argc > 1 ? argv[1] : "";
    return RunDemoOnX11("optiondemo", [&path](TApplication* app) {
        const std::string layout = path.empty() ? std::string(OptionDemoLayout()) : ReadFile(path.c_str());
        auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(layout, app));
        if (!form) throw std::runtime_error("the layout's root is not a form");
        if (TAdvCustomToolBar* bar = FirstToolBar(form))
            ReportChanges(form, [bar] { return Describe(*bar); });
        return form;
    });
}
