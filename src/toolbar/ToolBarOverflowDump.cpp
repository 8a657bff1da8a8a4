#include "toolbar/ToolBarOverflowDump.h"

#include "framework/forms/ControlDump.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

namespace {

void DumpOverflow(const TControl& control, int depth, std::vector<std::string>& lines) {
    const auto* toolBar = dynamic_cast<const TAdvCustomToolBar*>(&control);
    if (!toolBar || toolBar->OverflowList().empty()) return;
    std::string line = DumpIndent(depth + 1) + "overflow:";
    for (const TControl* c : toolBar->OverflowList())
        line += " " + c->Name();
    lines.push_back(line);
}

} // namespace

void RegisterToolBarOverflowDump() {
    static bool done = false;
    if (done) return;
    done = true;
    AddDumpExtension(&DumpOverflow);
}

} // namespace emr
