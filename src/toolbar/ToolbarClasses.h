#pragma once

namespace emr {

/// Registers the toolbar classes and their published properties after the menus. Idempotent.
void RegisterToolbarClasses();

} // namespace emr
