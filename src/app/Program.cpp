#include "app/Program.h"

#include <string>

#include "app/AppClasses.h"
#include "app/LinuxLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/controls/Messages.h"
#include "framework/forms/Application.h"
#include "framework/storage/SettingsFile.h"
#include "framework/streaming/LayoutReader.h"

namespace emr {

TForm1* StartApplication() {
    RegisterWindowMessage(kCompactWindowHideMessage);
    RegisterAppClasses();
    TApplication* application = EnsureApplication();
    application->Initialize();
    // The window keeps repainting while a save waits for a folder another program holds.
    TSettingsFile::SetWhileWaiting([] {
        if (Application) Application->RepaintWhileWaiting();
    });
    application->SetLayoutLoader(
        [](TComponent* root, std::string_view layout) { TLayoutReader::ReadRootFromText(layout, root); });
    application->RegisterLayout(TForm1::StaticClassName, std::string(Unit1Layout()));
    TForm1* form = nullptr;
    application->CreateForm(form);
    return form;
}

void ConnectLocalePlatform(TLinuxLocalePlatform& platform) {
    // Every form runs on this thread, so a send completes before the next one
    // starts; there is no hung window to give up on.
    platform.SetMessageSender([](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT /*flags*/,
                                 UINT /*timeoutMs*/) -> LRESULT {
        if (!Application) return 0;
        if (window == HWND_BROADCAST) {
            Application->BroadcastMessage(msg, static_cast<std::intptr_t>(wParam), lParam, false);
            return 1;
        }
        TCustomForm* form = Application->FormOfWindow(static_cast<platform::WindowId>(window));
        if (!form) return 0;
        Application->SendMessage(form, msg, static_cast<std::intptr_t>(wParam), lParam);
        return 1;
    });
    platform.SetMessageBoxShower(
        [](HWND /*owner*/, const std::string& text, const std::string& caption, UINT flags) {
            return Application ? Application->MessageBox(text, caption, flags) : 0;
        });
}

void ShutDownApplication() {
    if (!Application) return;
    TApplication* application = Application;
    TObject::Free(application);
    Application = nullptr;
}

} // namespace emr
