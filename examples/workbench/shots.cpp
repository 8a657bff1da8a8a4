// workbenchshot [FOLDER]: draws the workbench on the headless backend, with the
// program's own fonts, in three looks and writes each as a PNG into FOLDER
// (docs/images when none is given):
//   workbench-office2007luna.png, workbench-office2003blue.png, workbench-windows7.png
// The window starts from its stored layout: no saved layout is read or written.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "Workbench.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/SettingsStore.h"
#include "toolbar/LayoutStore.h"
#include "toolbar/ToolbarClasses.h"

using namespace emr;

namespace {

struct TShot {
    TToolBarStyle Style;
    const char* File;
};

constexpr TShot kShots[] = {
    {bsOffice2007Luna, "workbench-office2007luna.png"},
    {bsOffice2003Blue, "workbench-office2003blue.png"},
    {bsWindows7, "workbench-windows7.png"},
};

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "docs/images";
    auto backend = std::make_unique<platform::HeadlessBackend>();
    platform::HeadlessBackend* headless = backend.get();
    platform::Backend::Install(std::move(backend));
    // The pictures never depend on a layout someone saved.
    TLayoutStore::SetFactory([](const TPersistence&) { return std::make_unique<TEmptySettingsStore>(); });
    int status = 0;
    try {
        std::filesystem::create_directories(folder);
        RegisterToolbarClasses();
        TApplication* app = EnsureApplication();
        app->Initialize();
        TCustomForm* form = CreateWorkbench(app);
        app->SetMainForm(form);
        form->Show();
        for (const TShot& shot : kShots) {
            SetWorkbenchStyle(form, shot.Style);
            app->ProcessMessages();
            form->Invalidate();
            form->PaintWindowNow();
            const std::string path = (folder / shot.File).string();
            headless->RenderWindowToPng(form->NativeWindow(), path);
            std::printf("wrote %s\n", path.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workbenchshot: %s\n", e.what());
        status = 1;
    }
    if (Application) {
        TApplication* app = Application;
        TObject::Free(app);
        Application = nullptr;
    }
    TLayoutStore::SetFactory(nullptr);
    platform::Backend::Uninstall();
    return status;
}
