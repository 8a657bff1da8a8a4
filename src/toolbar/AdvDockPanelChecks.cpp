// What must hold of a dock panel's rows between layout operations.
#include <algorithm>
#include <exception>

#include "framework/core/Verify.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"

namespace emr {

TAdvDockPanel::TLayoutPass::~TLayoutPass() {
    // An operation left by an exception is checked by whoever handles it; a panel
    // going with its window only forgets its toolbars, and arranges nothing more.
    if (--panel_->layoutPassDepth_ == 0 && kind_ == Operation && std::uncaught_exceptions() == 0 &&
        !panel_->Destroying())
        EMR_VERIFY_INVARIANTS(*panel_);
}

int TAdvDockPanel::RowThickness(int rowIndex) const {
    const TRect& r = RowAt(rowIndex)->Rect();
    return Vertical() ? r.Right - r.Left : r.Bottom - r.Top;
}

std::string TAdvDockPanel::CheckInvariants() const {
    std::string broken = BrokenRule();
    if (broken.empty()) return broken;
    // The rows as they stand, to see what led there.
    for (const std::string& row : DumpRows())
        broken += "; " + row;
    return broken;
}

std::string TAdvDockPanel::BrokenRule() const {
    std::string broken = rows_->CheckInvariants();
    if (!broken.empty()) return broken;
    const TDockLayout layout = ReadLayout();
    const bool vertical = Vertical();
    auto crossEnd = [vertical](const TRect& r) { return vertical ? r.Right : r.Bottom; };
    for (int i = 0; i < RowCount(); ++i) {
        for (const TAdvCustomToolBar* t : RowAt(i)->ToolBars()) {
            // A toolbar has one parent, so this also keeps it out of every other panel's rows.
            if (t->Parent() != this ||
                std::find(dockedToolBars_.begin(), dockedToolBars_.end(), t) == dockedToolBars_.end())
                return t->Name() + " is in row " + std::to_string(i) + " but not docked in this panel";
        }
        if (RowThickness(i) != layout.RowSize(i) + TRowCollection::RowGap)
            return "row " + std::to_string(i) + " is " + std::to_string(RowThickness(i)) +
                   " thick for toolbars " + std::to_string(layout.RowSize(i)) + " thick";
    }
    // Rows are built once the window has loaded; until then a toolbar has none.
    if (!Building() && RowsMayChange()) {
        for (const TAdvCustomToolBar* t : dockedToolBars_)
            if (t->Visible() && rows_->RowOf(t) < 0) return t->Name() + " is docked and shown but in no row";
        const int thickness = vertical ? Width() : Height();
        if (RowCount() > 0 && crossEnd(RowAt(RowCount() - 1)->Rect()) > thickness)
            return "the rows reach past the panel's thickness " + std::to_string(thickness);
    }
    return {};
}

} // namespace emr
