#include "toolbar/ToolBarMenuDump.h"

#include "framework/forms/ControlDump.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarKeyboardMode.h"

namespace emr {

namespace {

void DumpHotButton(const TControl& control, int depth, std::vector<std::string>& lines) {
    const auto* toolBar = dynamic_cast<const TAdvCustomToolBar*>(&control);
    if (!toolBar || !toolBar->HotButton()) return;
    std::string line = DumpIndent(depth + 2) + "hot: " + toolBar->HotButton()->Caption();
    if (toolBar->KeyboardModeHandler()->MenuMode()) line += " menu mode";
    lines.push_back(line);
}

} // namespace

void RegisterToolBarMenuDump() {
    static bool done = false;
    if (done) return;
    done = true;
    AddDumpExtension(&DumpHotButton);
}

} // namespace emr
