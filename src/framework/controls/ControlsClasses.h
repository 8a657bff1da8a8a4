#pragma once

namespace emr {

/// Registers the control classes (TControl, TWinControl, TGraphicControl,
/// TCustomControl, TSizeConstraints) and their published properties, after the
/// graphics ones. Idempotent.
void RegisterControlsClasses();

} // namespace emr
