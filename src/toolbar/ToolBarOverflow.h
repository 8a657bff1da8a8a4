#pragma once

#include <vector>

namespace emr {

class TAdvCustomToolBar;
class TControl;

/// Decides which of a docked toolbar's controls fit its current length: the least
/// important ones (from the end of the priority list) are hidden into the overflow
/// list when the toolbar gets shorter and come back, newest first, when it grows.
/// Separators follow the groups they bound. The lists belong to the toolbar; this
/// class only keeps them by its rules.
class TToolBarOverflow {
public:
    TToolBarOverflow(TAdvCustomToolBar& toolBar, std::vector<TControl*>& positionList,
                     std::vector<TControl*>& priorityList, std::vector<TControl*>& overflowList);
    TToolBarOverflow(const TToolBarOverflow&) = delete;
    TToolBarOverflow& operator=(const TToolBarOverflow&) = delete;

    /// Hides or brings back controls to fit the current length, then arranges them.
    void Update();
    /// The first paint: brings back whatever fits, repeating while each round
    /// returns something (the toolbar may have reached its size only now).
    void FirstPaint();
    /// The control was used: it becomes the most important one and, when hidden,
    /// returns at once with its group's separator if that group showed nothing.
    void ControlUsed(TControl* control);
    /// Brings every hidden control back, onto the toolbar if it is elsewhere.
    void RevealAll();

private:
    bool Horizontal() const;
    int LengthOf(const TControl* c) const;
    int ShownEnd() const;
    int ToolBarLength() const;
    bool Hidden(const TControl* c) const;
    bool Showing(const TControl* c) const;
    int IndexOf(const TControl* c) const;
    void Hide(TControl* c);
    void Unhide(TControl* c);
    void ReturnToToolBar(TControl* c);

    /// The last visible entry of the position list not hidden by overflow, or null.
    TControl* LastShown(bool separatorsCount) const;
    void MakeConsistent();
    void Shrink(int excess);
    void Grow(int free);
    void RevealFromEmpty();
    /// After `victim` was hidden: hides the separator of its group when the group
    /// now shows nothing; returns the length that freed.
    int HideGroupSeparator(TControl* victim);
    /// The hidden separator that comes back with `c`, when c's group shows nothing.
    TControl* SeparatorReturningWith(const TControl* c) const;
    /// The last non-separator of the overflow list, or null.
    TControl* LastHiddenControl() const;

    TAdvCustomToolBar& toolBar_;
    std::vector<TControl*>& positionList_;
    std::vector<TControl*>& priorityList_;
    std::vector<TControl*>& overflowList_;
};

} // namespace emr
