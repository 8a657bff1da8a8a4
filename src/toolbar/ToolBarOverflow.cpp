#include "toolbar/ToolBarOverflow.h"

#include <algorithm>

#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarListHelpers.h"

namespace emr {

using namespace toolbar_detail;

TToolBarOverflow::TToolBarOverflow(TAdvCustomToolBar& toolBar, std::vector<TControl*>& positionList,
                                   std::vector<TControl*>& priorityList, std::vector<TControl*>& overflowList)
    : toolBar_(toolBar), positionList_(positionList), priorityList_(priorityList),
      overflowList_(overflowList) {}

// ---- Small helpers ---------------------------------------------------------------------------

bool TToolBarOverflow::Horizontal() const {
    return toolBar_.Horizontal();
}

// An invisible control takes no room, so it neither frees nor needs any.
int TToolBarOverflow::LengthOf(const TControl* c) const {
    if (!c->Visible()) return 0;
    return Horizontal() ? c->Width() : c->Height();
}

// Where the last shown control ends once arranged. Worked out from the lengths
// rather than read from its Left or Top: a control that has just come back (or
// been hidden) still stands where it stood before, and measuring that stale place
// hides or returns the wrong controls.
int TToolBarOverflow::ShownEnd() const {
    int end = toolBar_.StartOffset();
    for (const TControl* c : positionList_)
        if (Showing(c)) end += LengthOf(c);
    return end;
}

int TToolBarOverflow::ToolBarLength() const {
    return Horizontal() ? toolBar_.Width() : toolBar_.Height();
}

// What the separator walks step over: overflow entries, and controls that are not
// shown at all, which bound nothing.
bool TToolBarOverflow::Hidden(const TControl* c) const {
    return !c->Visible() || Contains(overflowList_, c);
}

bool TToolBarOverflow::Showing(const TControl* c) const {
    return !Hidden(c);
}

int TToolBarOverflow::IndexOf(const TControl* c) const {
    auto it = std::find(positionList_.begin(), positionList_.end(), c);
    return it == positionList_.end() ? -1 : static_cast<int>(it - positionList_.begin());
}

void TToolBarOverflow::Hide(TControl* c) {
    if (!Contains(overflowList_, c)) overflowList_.push_back(c);
}

void TToolBarOverflow::Unhide(TControl* c) {
    if (c->Parent() != &toolBar_) ReturnToToolBar(c);
    Remove(overflowList_, c);
}

void TToolBarOverflow::ReturnToToolBar(TControl* c) {
    // The move is ours: the toolbar must neither re-list the control nor recompute
    // overflow while it happens.
    bool was = toolBar_.Reparenting();
    toolBar_.SetReparenting(true);
    c->SetParent(&toolBar_);
    toolBar_.SetReparenting(was);
}

TControl* TToolBarOverflow::LastShown(bool separatorsCount) const {
    for (auto it = positionList_.rbegin(); it != positionList_.rend(); ++it)
        if (Showing(*it) && (separatorsCount || !IsSeparator(*it))) return *it;
    return nullptr;
}

TControl* TToolBarOverflow::LastHiddenControl() const {
    for (auto it = overflowList_.rbegin(); it != overflowList_.rend(); ++it)
        if (!IsSeparator(*it)) return *it;
    return nullptr;
}

// ---- Overflow --------------------------------------------------------------------------------

void TToolBarOverflow::Update() {
    if (!toolBar_.Docked() || !toolBar_.DockPanel() || toolBar_.Reparenting()) return;
    if (!toolBar_.AutoArrangeButtons() && priorityList_ != positionList_) priorityList_ = positionList_;
    if (toolBar_.FullSize()) {
        RevealAll();
        toolBar_.ArrangeControls(false);
        return;
    }
    MakeConsistent();
    const int length = ToolBarLength();
    const int handle = toolBar_.RightHandleLength();
    const int end = ShownEnd();
    if (!LastShown(true))
        RevealFromEmpty();
    else if (end >= length - handle)
        Shrink(end + handle - length);
    else if (!overflowList_.empty())
        Grow(length - handle - end);
    toolBar_.ArrangeControls(false);
}

void TToolBarOverflow::FirstPaint() {
    Update();
    // Each round must return something, so this ends after at most one round per
    // hidden control.
    while (TControl* candidate = LastHiddenControl()) {
        if (!LastShown(true)) break;
        int free = ToolBarLength() - toolBar_.RightHandleLength() - ShownEnd();
        if (free < LengthOf(candidate)) break;
        std::size_t before = overflowList_.size();
        Update();
        if (overflowList_.size() >= before) break;
    }
}

void TToolBarOverflow::RevealAll() {
    for (TControl* c : std::vector<TControl*>(overflowList_))
        if (c->Parent() != &toolBar_) ReturnToToolBar(c);
    overflowList_.clear();
}

// The room starts where the first control would stand (after the grip and its
// margin, or the margin alone), as the shown end does when growing: counting the
// grip alone returns a control that then overlaps the right handle, and the next
// update hides it again.
void TToolBarOverflow::RevealFromEmpty() {
    if (overflowList_.empty()) return;
    int room = ToolBarLength() - toolBar_.RightHandleLength() - toolBar_.StartOffset();
    while (!overflowList_.empty() && LengthOf(overflowList_.back()) <= room) {
        TControl* c = overflowList_.back();
        room -= LengthOf(c);
        Unhide(c);
    }
}

// A group whose last shown control is hidden by hand (it became visible again while
// its separator was hidden) would sit against the group before it with no separator
// between them: it is hidden too. A group that is the first to show after hidden
// groups needs no separator before it, so it stays.
void TToolBarOverflow::MakeConsistent() {
    TControl* last = LastShown(false);
    if (!last) return;
    int i = IndexOf(last) - 1;
    while (i >= 0 && !IsSeparator(positionList_[static_cast<std::size_t>(i)]))
        --i;
    if (i < 0 || !Contains(overflowList_, positionList_[static_cast<std::size_t>(i)])) return;
    for (--i; i >= 0; --i) {
        TControl* c = positionList_[static_cast<std::size_t>(i)];
        if (Hidden(c)) continue;
        if (!IsSeparator(c)) Hide(last);
        return;
    }
}

void TToolBarOverflow::Shrink(int excess) {
    while (excess > 0) {
        TControl* victim = nullptr;
        for (auto it = priorityList_.rbegin(); it != priorityList_.rend(); ++it)
            if (!Contains(overflowList_, *it) && !IsSeparator(*it) && (*it)->Visible()) {
                victim = *it;
                break;
            }
        if (!victim) return;
        Hide(victim);
        excess -= LengthOf(victim);
        excess -= HideGroupSeparator(victim);
    }
}

int TToolBarOverflow::HideGroupSeparator(TControl* victim) {
    const int at = IndexOf(victim);
    if (at < 0) return 0;
    TControl* before = nullptr;
    bool reachedStart = true;
    for (int i = at - 1; i >= 0; --i) {
        TControl* c = positionList_[static_cast<std::size_t>(i)];
        if (Hidden(c)) continue;
        if (!IsSeparator(c)) return 0;
        before = c;
        reachedStart = false;
        break;
    }
    TControl* after = nullptr;
    for (std::size_t i = static_cast<std::size_t>(at) + 1; i < positionList_.size(); ++i) {
        TControl* c = positionList_[i];
        if (Hidden(c)) continue;
        if (!IsSeparator(c)) return 0;
        after = c;
        break;
    }
    TControl* separator = reachedStart ? after : before;
    if (!separator) return 0;
    Hide(separator);
    return LengthOf(separator);
}

TControl* TToolBarOverflow::SeparatorReturningWith(const TControl* c) const {
    const int at = IndexOf(c);
    if (at < 0) return nullptr;
    // Unlike the walks that hide, these stop at the group's own separators: a
    // hidden separator bounds this group, whatever lies beyond it.
    TControl* before = nullptr;
    for (int i = at - 1; i >= 0; --i) {
        TControl* e = positionList_[static_cast<std::size_t>(i)];
        if (IsSeparator(e)) {
            before = e;
            break;
        }
        if (Showing(e)) return nullptr;
    }
    TControl* after = nullptr;
    for (std::size_t i = static_cast<std::size_t>(at) + 1; i < positionList_.size(); ++i) {
        TControl* e = positionList_[i];
        if (IsSeparator(e)) {
            after = e;
            break;
        }
        if (Showing(e)) return nullptr;
    }
    if (before && Contains(overflowList_, before)) return before;
    if (after && Contains(overflowList_, after)) return after;
    return nullptr;
}

// A control comes back only when it fits whole, and what comes back takes up the
// room it fits in: the free room shrinks with every return.
void TToolBarOverflow::Grow(int free) {
    while (TControl* c = LastHiddenControl()) {
        int need = LengthOf(c);
        if (free < need) return;
        TControl* separator = SeparatorReturningWith(c);
        if (separator) need += LengthOf(separator);
        if (free < need) return;
        Unhide(c);
        if (separator) Unhide(separator);
        free -= need;
    }
}

// ---- Use ---------------------------------------------------------------------------------------

void TToolBarOverflow::ControlUsed(TControl* control) {
    if (!Contains(positionList_, control)) return;
    if (toolBar_.AutoArrangeButtons()) {
        Remove(priorityList_, control);
        priorityList_.insert(priorityList_.begin(), control);
        if (Contains(overflowList_, control)) {
            if (!IsSeparator(control))
                if (TControl* separator = SeparatorReturningWith(control)) Unhide(separator);
            Unhide(control);
        }
    }
    if (toolBar_.OptionWindowVisible()) toolBar_.CloseOptionWindow();
    Update();
}

} // namespace emr
