#include "framework/core/ClassRegistry.h"
#include "framework/forms/ControlDump.h"
#include "framework/forms/FormsClasses.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/StylingClasses.h"
#include "toolbar/AdvDockPanel.h"

namespace emr {

namespace {

const std::vector<std::string> kDockAlignNames = {"daLeft", "daTop", "daRight", "daBottom"};

/// Lists a dock panel's rows right after the panel's own line, one level deeper
/// than its children.
void DumpDockRows(const TControl& control, int depth, std::vector<std::string>& lines) {
    const auto* panel = dynamic_cast<const TAdvDockPanel*>(&control);
    if (!panel) return;
    const std::string own = DumpIndent(depth) + panel->Name() + ": " + std::string(panel->ClassName()) + " ";
    auto at = lines.end();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->starts_with(own)) {
            at = it.base();
            break;
        }
    std::vector<std::string> rows;
    for (const std::string& row : panel->DumpRows())
        rows.push_back(DumpIndent(depth + 2) + row);
    lines.insert(at, rows.begin(), rows.end());
}

} // namespace

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
        .String("Version", &TAdvDockPanel::Version, &TAdvDockPanel::SetVersion)
        .Boolean("ShowToolBarMenu", &TAdvDockPanel::ShowToolBarMenu, &TAdvDockPanel::SetShowToolBarMenu,
                 true);

    AddDumpExtension(&DumpDockRows);
}

} // namespace emr
