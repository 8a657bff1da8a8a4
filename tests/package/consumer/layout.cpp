// A program whose window comes from a stored layout compiled in with the
// installed emr_embed_layout, read on the headless backend.
#include <cstdio>
#include <memory>
#include <string_view>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
std::string_view NoteLayout();
}

int main() {
    using namespace emr;
    platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
    RegisterToolbarClasses();
    auto* app = new TApplication(nullptr);
    auto* form = dynamic_cast<TForm*>(TLayoutReader::CreateFromText(NoteLayout(), app));
    const auto* bar = form ? form->FindComponentAs<TAdvToolBar>("Bar") : nullptr;
    const bool ok = form && form->Caption() == "Note" && bar && bar->Caption() == "Bar";
    std::printf("embedded layout: %s\n", ok ? "read" : "NOT READ");
    TObject::Free(app);
    platform::Backend::Uninstall();
    return ok ? 0 : 1;
}
