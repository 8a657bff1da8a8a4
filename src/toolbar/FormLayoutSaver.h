#pragma once

namespace emr {

/// Lets SaveLayouts (and so the form player's `save`) save a window's dock panels
/// and toolbars as destroying the window would. Idempotent.
void RegisterFormLayoutSaver();

} // namespace emr
