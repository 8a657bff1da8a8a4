#include "menus/PopupMenuDump.h"

#include "framework/forms/ControlDump.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/PopupMenuWindow.h"

namespace emr {

namespace {

void DumpPopupItems(const TControl& control, int depth, std::vector<std::string>& lines) {
    const auto* window = dynamic_cast<const TPopupMenuWindow*>(&control);
    if (!window || !window->Visible()) return;
    const auto& items = window->ShownItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TMenuItem* item = items[i];
        std::string line = DumpIndent(depth + 1) + "item " + std::to_string(i) + ": " + item->Caption();
        if (static_cast<int>(i) == window->HotIndex()) line += " hot";
        if (item->Checked()) line += " checked";
        if (!item->Enabled()) line += " disabled";
        if (item->VisibleCount() > 0) line += " sub";
        lines.push_back(line);
    }
}

} // namespace

void RegisterPopupMenuDump() {
    static bool done = false;
    if (done) return;
    done = true;
    AddDumpExtension(&DumpPopupItems);
}

} // namespace emr
