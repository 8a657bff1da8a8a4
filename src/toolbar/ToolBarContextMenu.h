#pragma once

#include <string>
#include <vector>

#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TAdvDockPanel;
class TComponent;
class TControl;
class TCustomAdvToolBarStyler;
class TCustomForm;

/// The menu a right click on the toolbar area of a window opens: one item per
/// toolbar of the window, checked while it shows; choosing one hides a shown
/// toolbar and shows a hidden one. A floating toolbar whose window was closed
/// comes back in its window, so no toolbar is ever lost until the next start.
///
/// A dock panel decides for itself and for the toolbars that belong to it
/// (ShowToolBarMenu); a window without dock panels has no such menu. A control
/// that names its own popup menu keeps it.
class TToolBarContextMenu {
public:
    /// The window's toolbars, docked, floating and standalone, in the order the
    /// menu lists them (creation order, so toggling never reorders the menu).
    static std::vector<TAdvCustomToolBar*> ToolBarsOf(const TCustomForm* form);
    /// What the menu calls the toolbar: its Caption, else its Name.
    static std::string ItemCaption(const TAdvCustomToolBar* toolBar);
    /// Whether the toolbar shows: a floating one only together with its window.
    static bool Showing(const TAdvCustomToolBar* toolBar);
    /// Hides a shown toolbar, shows a hidden one (with its floating window).
    static void Toggle(TAdvCustomToolBar* toolBar);
    /// The dock panel whose ShowToolBarMenu decides for the toolbar: the one it
    /// docks in, else the one it last docked in, else the first of its window.
    static TAdvDockPanel* PanelFor(const TAdvCustomToolBar* toolBar);

    /// Opens the menu for the toolbar at screen point `at` and returns when it
    /// closed; false when no menu was shown (switched off, or another menu is
    /// the control's own).
    static bool Open(TAdvCustomToolBar* toolBar, TPoint at);
    /// The same for a click on the dock panel itself.
    static bool Open(TAdvDockPanel* panel, TPoint at);

private:
    static bool Run(TCustomForm* form, TControl* source, const TCustomAdvToolBarStyler* styler, TPoint at);
    /// Whether the control or one of its parents names a popup menu that a
    /// right click shows instead.
    static bool HasOwnContextMenu(const TControl* control);
};

} // namespace emr
