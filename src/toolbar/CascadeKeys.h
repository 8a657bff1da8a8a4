#pragma once

namespace emr {

class TATBPopupPanel;
class TControlSelectorPanel;

/// The keys of the "Add or Remove Buttons" cascade: the deepest open level takes
/// them. Up and Down move the highlight (wrapping), Enter, Space or Right open an
/// entry's next level with its first entry highlighted or toggle a button's
/// visibility as a click does, and Left or Esc close the level.
class TCascadeKeys {
public:
    /// The deepest open level under `selector`, or null when the cascade is closed.
    static TATBPopupPanel* DeepestLevel(const TControlSelectorPanel& selector);
    /// Opens the cascade from `selector` with its first entry highlighted.
    static void Open(TControlSelectorPanel& selector);
    /// A key for `level`; true when it was used.
    static bool KeyDown(TControlSelectorPanel& selector, TATBPopupPanel& level, int key);

private:
    static void Move(TATBPopupPanel& level, int step);
    static void Enter(TATBPopupPanel& level, bool toggles);
    static void Back(TControlSelectorPanel& selector, TATBPopupPanel& level);
};

} // namespace emr
