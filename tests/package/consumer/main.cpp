// A window with a dock panel, a styled toolbar and two buttons on the headless
// backend: lays out, paints, takes a click, and says what it saw.
#include <cstdio>
#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

int main() {
    using namespace emr;
    auto owned = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend& backend = *owned;
    platform::Backend::Install(std::move(owned));
    auto* app = new TApplication(nullptr);

    auto* form = new TForm(app);
    form->SetBounds(100, 100, 400, 240);
    auto* styler = new TAdvToolBarOfficeStyler(form);
    styler->SetStyle(bsOffice2007Luna);
    auto* dock = new TAdvDockPanel(form);
    dock->SetParent(form);
    dock->SetToolBarStyler(styler);
    auto* bar = new TAdvToolBar(form);
    int clicks = 0;
    for (const char* caption : {"Open", "Save"}) {
        auto* button = new TAdvToolBarButton(form);
        button->SetCaption(caption);
        button->SetShowCaption(true);
        button->OnClick = [&](TObject*) { ++clicks; };
        button->SetParent(bar);
    }
    bar->SetParent(dock);
    app->SetMainForm(form);
    form->Show();
    app->ProcessMessages();

    auto* first = dynamic_cast<TControl*>(bar->PositionList().front());
    const TPoint at = first->ClientToScreen({first->Width() / 2, first->Height() / 2});
    backend.Click(at.X, at.Y);
    app->ProcessMessages();

    const bool ok = dock->Height() > 0 && bar->Width() > first->Width() && clicks == 1 &&
                    backend.PixelAt(form->NativeWindow(), at.X - form->ClientOrigin().X,
                                    at.Y - form->ClientOrigin().Y) != 0;
    std::printf("toolbar %dx%d on a %d-high dock panel, %d click(s): %s\n", bar->Width(), bar->Height(),
                dock->Height(), clicks, ok ? "ok" : "wrong");
    TObject::Free(app);
    platform::Backend::Uninstall();
    return ok ? 0 : 1;
}
