#pragma once

#include <string>

namespace emr {

class TCustomForm;

/// What a driver of the workbench needs to follow it without reading pixels, one
/// line each, closed by "end":
///   panel NAME X Y W H
///   toolbar NAME docked|floating|standalone PARENT row R screen X Y W H visible 0|1 overflow: NAME...
///   button X Y W H CAPTION             (the menu bar's buttons, after their toolbar)
///   popup X Y W H                      (each open menu, bottom to top,
///   item X Y W H CAPTION                followed by its items)
///   option TOOLBAR X Y W H shows: NAME...    (an open option window and its controls)
///   style IDENTIFIER
/// Positions are on the screen.
std::string DescribeWorkbench(const TCustomForm& workbench);

} // namespace emr
