#pragma once

#include <string_view>

#include "styling/StylingTypes.h"

namespace emr {

class TComponent;
class TCustomForm;

/// The stored layout of the workbench window, compiled into the program.
std::string_view WorkbenchLayout();

/// Creates the workbench window from its stored layout: dock panels on the four
/// edges that save and restore where their toolbars are, a menu bar, toolbars of
/// every kind, two document windows, and the look chosen last time. The toolbar
/// classes must be registered (RegisterToolbarClasses). With `rightToLeft` the
/// window is laid out right to left from the start, so the toolbars it restores
/// floating read that way too.
TCustomForm* CreateWorkbench(TComponent* owner, bool rightToLeft = false);

/// Gives the workbench's styler the look, ticks its item under View > Style and
/// keeps it in the layout file for the next start.
void SetWorkbenchStyle(TCustomForm* workbench, TToolBarStyle style);

} // namespace emr
