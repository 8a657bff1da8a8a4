// The editor window of the guide as a program on the X11 backend, its layout
// compiled in: emr_embed_layout(docs_editor editor.layout) generates
// EditorLayout() from editor.layout at build time. Built from the guide's own
// listing of this file; not run by the tests, as it needs a display.
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>

#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/Backend.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
std::string_view EditorLayout();
}

int main() {
    using namespace emr;
    std::unique_ptr<platform::Backend> backend = platform::CreateX11Backend();
    if (!backend) { // no X server where DISPLAY points
        std::fprintf(stderr, "%s\n", platform::NoDisplayMessage().c_str());
        return 1;
    }
    platform::Backend::Install(std::move(backend));
    RegisterToolbarClasses(); // every class of the toolbar layer and below

    int status = 0;
    TApplication* app = EnsureApplication();
    try {
        app->Initialize();
        auto* form = dynamic_cast<TForm*>(TLayoutReader::CreateFromText(EditorLayout(), app));
        if (!form) throw Exception("the layout's root is not a form");
        app->SetMainForm(form);
        app->Run(); // shows the main form; returns when it closes
    } catch (const std::exception& e) {
        std::fprintf(stderr, "editor: %s\n", e.what());
        status = 1;
    }
    TObject::Free(app); // frees the forms (and saves toolbar layouts)
    platform::Backend::Uninstall();
    return status;
}
