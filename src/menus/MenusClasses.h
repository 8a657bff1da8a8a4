#pragma once

namespace emr {

/// Registers the styled menus after the styling classes. Idempotent.
void RegisterMenusClasses();

} // namespace emr
