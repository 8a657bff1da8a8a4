#include "WorkbenchReport.h"

#include <sstream>

#include "WorkbenchPresets.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "styling/AdvToolBarOfficeStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr {

namespace {

void Place(std::ostream& out, const TControl& control) {
    // The screen's top-left corner, which under a right-to-left layout is the control's logical right end.
    const TRect at = control.ClientToScreenRect(TRect::FromBounds(0, 0, control.Width(), control.Height()));
    out << at.Left << ' ' << at.Top << ' ' << control.Width() << ' ' << control.Height();
}

const char* StateName(const TAdvCustomToolBar& toolBar) {
    if (toolBar.Docked()) return "docked";
    return toolBar.Floating() ? "floating" : "standalone";
}

void DescribeToolBar(std::ostream& out, const TAdvCustomToolBar& toolBar) {
    const TWinControl* parent = toolBar.Parent();
    out << "toolbar " << toolBar.Name() << ' ' << StateName(toolBar) << ' '
        << (parent && !parent->Name().empty() ? parent->Name() : "-") << " row " << toolBar.RowIndex()
        << " screen ";
    Place(out, toolBar);
    out << " visible " << (toolBar.Visible() ? 1 : 0) << " overflow:";
    for (const TControl* c : toolBar.OverflowList())
        out << ' ' << c->Name();
    out << '\n';
    if (toolBar.Menu()) {
        for (const TControl* c : toolBar.PositionList())
            if (const auto* b = dynamic_cast<const TAdvCustomToolBarButton*>(c)) {
                out << "button ";
                Place(out, *b);
                out << ' ' << b->Caption() << '\n';
            }
    }
    const TToolBarOptionWindow* option = toolBar.OptionWindow();
    if (option && option->Visible() && option->Panel()) {
        out << "option " << toolBar.Name() << ' ';
        Place(out, *option->Window());
        out << " shows:";
        for (const TControl* c : option->Panel()->ListedControls())
            if (c->Parent() == option->Panel()) out << ' ' << c->Name();
        out << '\n';
    }
}

void DescribePopups(std::ostream& out) {
    for (TCustomForm* f : Screen().FormList()) {
        const auto* popup = dynamic_cast<const TPopupMenuWindow*>(f);
        if (!popup || !popup->Visible()) continue;
        out << "popup ";
        Place(out, *popup);
        out << '\n';
        const std::vector<TMenuItem*>& items = popup->ShownItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            const TRect r = popup->ItemRect(static_cast<int>(i));
            const TRect at = popup->ClientToScreenRect(r);
            out << "item " << at.Left << ' ' << at.Top << ' ' << r.Width() << ' ' << r.Height() << ' '
                << items[i]->Caption() << '\n';
        }
    }
}

} // namespace

std::string DescribeWorkbench(const TCustomForm& workbench) {
    std::ostringstream out;
    for (const TComponent* c : workbench.Components())
        if (const auto* panel = dynamic_cast<const TAdvDockPanel*>(c)) {
            out << "panel " << panel->Name() << ' ';
            Place(out, *panel);
            out << '\n';
        }
    for (const TComponent* c : workbench.Components())
        if (const auto* toolBar = dynamic_cast<const TAdvCustomToolBar*>(c)) DescribeToolBar(out, *toolBar);
    DescribePopups(out);
    if (const auto* styler = workbench.FindComponentAs<TAdvToolBarOfficeStyler>("Styler"))
        out << "style " << WorkbenchPresetOf(styler->Style()).Name << '\n';
    out << "end\n";
    return out.str();
}

} // namespace emr
