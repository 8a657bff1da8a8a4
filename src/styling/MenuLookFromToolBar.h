#pragma once

namespace emr {

class TCustomAdvMenuStyler;
class TCustomAdvToolBarStyler;

/// Gives a menu styler the look of a toolbar styler's buttons and background:
/// the selected item takes the hot button face and border, its check box the
/// down face, the icon bar the toolbar's gradient and its check boxes the
/// checked face. Colours the toolbar styler leaves at clNone keep the menu's own.
/// The presets set no menu colours of their own, so without this every preset's
/// menus (and the toolbar's add-or-remove cascade) would keep the blue-and-orange
/// defaults beside buttons of another look.
void MatchMenuLookToToolBar(TCustomAdvMenuStyler& menu, const TCustomAdvToolBarStyler& styler);

} // namespace emr
