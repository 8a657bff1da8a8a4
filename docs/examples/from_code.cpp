// The window of the guide (docs/guide.md) built twice on the headless backend:
// once from code, once from its stored layout (editor.layout, named on the
// command line). The program checks what the guide says of it: both ways give
// the same toolbar, the toolbar is as long as its grip, controls and right
// handle, switching the preset repaints the panel, and a narrow window pushes
// buttons into the overflow. It prints one line and exits 0 when all hold.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "menus/AdvPopupMenu.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ToolbarClasses.h"

using namespace emr;

namespace {

// [build-window]
/// The editor window of docs/examples/editor.layout, built from code.
TForm* BuildEditor(TComponent* owner) {
    auto* form = new TForm(owner);
    form->SetName("Editor");
    form->SetCaption("Editor");
    form->SetLeft(100);
    form->SetTop(100);
    form->SetClientWidth(420);
    form->SetClientHeight(240);

    // One styler paints the panel and, through it, every toolbar docked there.
    auto* styler = new TAdvToolBarOfficeStyler(form);
    styler->SetName("Styler");
    styler->SetStyle(bsOffice2007Luna);

    auto* dock = new TAdvDockPanel(form); // aligned to the top of the form
    dock->SetName("Dock");
    dock->SetParent(form);
    dock->SetToolBarStyler(styler);

    auto* bar = new TAdvToolBar(form);
    bar->SetName("Standard");
    bar->SetCaption("Standard");
    bar->SetParent(dock); // docks it: a new row at the end of the panel

    auto addButton = [form, bar](const std::string& name, const std::string& caption) {
        auto* button = new TAdvToolBarButton(form);
        button->SetName(name);
        button->SetCaption(caption);
        button->SetShowCaption(true);
        button->SetParent(bar);
        return button;
    };
    addButton("NewButton", "New");
    addButton("OpenButton", "Open");
    addButton("SaveButton", "Save");
    auto* separator = new TAdvToolBarSeparator(form);
    separator->SetName("FileSeparator");
    separator->SetParent(bar);
    addButton("BoldButton", "Bold")->SetStyle(TAdvToolButtonStyle::tasCheck);

    auto* menu = new TAdvPopupMenu(form);
    menu->SetName("ExportMenu");
    for (const char* caption : {"As PDF", "As HTML"}) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    TAdvToolBarButton* exportButton = addButton("ExportButton", "Export");
    exportButton->SetDropDownButton(true);
    exportButton->SetDropDownMenu(menu);
    return form;
}
// [end]

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "from_code: %s\n", what.c_str());
    ++failures;
}

std::string Bounds(const TControl* c) {
    return std::to_string(c->Left()) + "," + std::to_string(c->Top()) + " " + std::to_string(c->Width()) +
           "x" + std::to_string(c->Height());
}

/// The length a docked horizontal toolbar takes to show all its controls: the
/// start offset (2, or 9 when the styler draws a grip), the controls end to
/// end, the right handle.
int ExpectedLength(const TAdvCustomToolBar* bar) {
    int length = bar->StartOffset() + bar->RightHandleLength();
    for (const TControl* c : bar->PositionList())
        length += c->Width();
    return length;
}

/// A button's height and 4, at least the default thickness.
int ExpectedThickness(const TAdvCustomToolBar* bar) {
    int thickness = TAdvCustomToolBar::DefaultThickness;
    for (const TControl* c : bar->PositionList())
        if (!dynamic_cast<const TAdvToolBarSeparator*>(c)) thickness = std::max(thickness, c->Height() + 4);
    return thickness;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: from_code EDITOR_LAYOUT\n");
        return 2;
    }
    const std::string layout = ReadFile(argv[1]);
    if (layout.empty()) {
        std::fprintf(stderr, "from_code: cannot read %s\n", argv[1]);
        return 2;
    }

    // [headless]
    RegisterToolbarClasses();
    auto owned = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend& backend = *owned; // for input, time and pixels
    platform::Backend::Install(std::move(owned));
    auto* app = new TApplication(nullptr);
    // [end]

    try {
        TForm* coded = BuildEditor(app);
        // Names are unique among an owner's components: the second Editor has an owner of its own.
        auto* storedOwner = new TComponent(app);
        auto* stored = dynamic_cast<TForm*>(TLayoutReader::CreateFromText(layout, storedOwner));
        Check(stored != nullptr, "the layout's root is not a form");
        if (!stored) throw std::runtime_error("no stored form");
        coded->Show();
        stored->Show();
        app->ProcessMessages();

        auto* bar = coded->FindComponentAs<TAdvToolBar>("Standard");
        auto* storedBar = stored->FindComponentAs<TAdvToolBar>("Standard");
        auto* dock = coded->FindComponentAs<TAdvDockPanel>("Dock");
        Check(bar->Docked() && bar->DockPanel() == dock, "the toolbar is not docked on the panel");
        Check(bar->PositionList().size() == 6, "the toolbar does not list its six controls");
        Check(bar->Width() == ExpectedLength(bar) && bar->Height() == ExpectedThickness(bar),
              "toolbar " + Bounds(bar) + ", expected " + std::to_string(ExpectedLength(bar)) + "x" +
                  std::to_string(ExpectedThickness(bar)));
        Check(Bounds(bar) == Bounds(storedBar),
              "built from code " + Bounds(bar) + ", from the layout " + Bounds(storedBar));
        for (const char* name : {"NewButton", "FileSeparator", "ExportButton"})
            Check(Bounds(coded->FindComponentAs<TControl>(name)) ==
                      Bounds(stored->FindComponentAs<TControl>(name)),
                  std::string(name) + " differs between code and layout");
        Check(dock->Height() >= bar->Top() + bar->Height(), "the panel does not hold its row");

        // Another preset, at run time: the panel beside the toolbar is painted anew.
        const TPoint beside{dock->Width() - 3, dock->Height() / 2};
        const std::uint32_t luna = backend.PixelAt(coded->NativeWindow(), beside.X, beside.Y);
        // [switch-preset]
        auto* styler = coded->FindComponentAs<TAdvToolBarOfficeStyler>("Styler");
        styler->SetStyle(bsWindows7); // the panel and its toolbars repaint in the new look
        app->ProcessMessages();
        // [end]
        const std::uint32_t windows7 = backend.PixelAt(coded->NativeWindow(), beside.X, beside.Y);
        Check(bar->CurrentStyler() == styler, "the toolbar does not paint from the panel's styler");
        Check(luna != windows7, "switching the preset left the panel's pixels as they were");

        // A narrow window: the last buttons go into the overflow, the rest still fits.
        coded->SetClientWidth(120);
        app->ProcessMessages();
        Check(!bar->OverflowList().empty(), "nothing overflowed in a 120-pixel window");
        Check(bar->Left() + bar->Width() <= dock->Width(), "the toolbar reaches past its panel");

        std::printf(
            "toolbar %dx%d from code and from the layout; %zu control(s) overflow at 120 pixels: %s\n",
            storedBar->Width(), storedBar->Height(), bar->OverflowList().size(),
            failures == 0 ? "ok" : "wrong");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "from_code: %s\n", e.what());
        ++failures;
    }
    TObject::Free(app);
    platform::Backend::Uninstall();
    return failures == 0 ? 0 : 1;
}
