#include "framework/core/ClassRegistry.h"
#include "framework/forms/FormsClasses.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/StylingClasses.h"
#include "toolbar/AdvDockPanel.h"

namespace emr {

namespace {
const std::vector<std::string> kDockAlignNames = {"daLeft", "daTop", "daRight", "daBottom"};
}

void RegisterDockPanelClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFormsClasses();
    RegisterStylingClasses();

    TClassRegistrar<TPersistence>("TPersistent")
        .Enum<TPersistenceLocation>("Location", {"plRegistry", "plIniFile"}, &TPersistence::Location,
                                    &TPersistence::SetLocation, TPersistenceLocation::plRegistry)
        .String("Key", &TPersistence::Key, &TPersistence::SetKey)
        .String("Section", &TPersistence::Section, &TPersistence::SetSection)
        .Boolean("Enabled", &TPersistence::Enabled, &TPersistence::SetEnabled, false);

    TClassRegistrar<TAdvDockPanel>("TCustomControl")
        .Enum<TDockAlign>("Align", kDockAlignNames, &TAdvDockPanel::Align, &TAdvDockPanel::SetAlign,
                          TDockAlign::daTop)
        .Integer("MinimumSize", &TAdvDockPanel::MinimumSize, &TAdvDockPanel::SetMinimumSize, 3)
        .Boolean("LockHeight", &TAdvDockPanel::LockHeight, &TAdvDockPanel::SetLockHeight, false)
        .Boolean("UseRunTimeHeight", &TAdvDockPanel::UseRunTimeHeight, &TAdvDockPanel::SetUseRunTimeHeight,
                 false)
        .Object("Persistence", &TAdvDockPanel::Persistence)
        .ComponentRef<TCustomAdvToolBarStyler>("ToolBarStyler", &TAdvDockPanel::ToolBarStyler,
                                               &TAdvDockPanel::SetToolBarStyler)
        .String("Version", &TAdvDockPanel::Version, &TAdvDockPanel::SetVersion);
}

} // namespace emr
