#pragma once

namespace emr {

/// Lets SaveLayouts (and so a window going, and the form player's `save`) save a
/// window's dock panels and toolbars together, with one replacement of each file.
/// Idempotent.
void RegisterFormLayoutSaver();

} // namespace emr
