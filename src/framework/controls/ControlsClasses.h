#pragma once

namespace emr {

/// Registers the control, form and timer classes (TControl, TWinControl,
/// TGraphicControl, TCustomControl, TCustomForm, TForm, TTimer, TSizeConstraints)
/// and their published properties, after the graphics ones. Idempotent.
void RegisterControlsClasses();

} // namespace emr
