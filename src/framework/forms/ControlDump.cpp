#include "framework/forms/ControlDump.h"

#include <sstream>
#include <utility>

#include "framework/controls/WinControl.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"

namespace emr {

namespace {

std::vector<std::pair<int, TDumpExtension>>& Extensions() {
    static std::vector<std::pair<int, TDumpExtension>> extensions;
    return extensions;
}

} // namespace

int AddDumpExtension(TDumpExtension extension) {
    static int nextId = 0;
    Extensions().emplace_back(++nextId, std::move(extension));
    return nextId;
}

void RemoveDumpExtension(int id) {
    std::erase_if(Extensions(), [id](const auto& e) { return e.first == id; });
}

std::string DumpIndent(int depth) {
    return std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

void DumpControl(const TControl& control, int depth, std::vector<std::string>& lines) {
    std::ostringstream line;
    line << DumpIndent(depth) << control.Name() << ": " << control.ClassName() << ' ' << control.Left() << ','
         << control.Top() << ',' << control.Width() << ',' << control.Height();
    if (!control.Visible()) line << " hidden";
    lines.push_back(line.str());
    if (const auto* parent = dynamic_cast<const TWinControl*>(&control))
        for (TControl* child : parent->ControlList())
            DumpControl(*child, depth + 1, lines);
    for (const auto& [id, extension] : Extensions())
        extension(control, depth, lines);
}

std::string DumpForms() {
    std::vector<std::string> lines;
    for (TCustomForm* form : Screen().FormList())
        DumpControl(*form, 0, lines);
    std::string out;
    for (const std::string& l : lines)
        out += l + "\n";
    return out;
}

} // namespace emr
