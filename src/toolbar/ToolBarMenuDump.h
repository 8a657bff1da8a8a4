#pragma once

namespace emr {

/// Adds a toolbar's hot button (and its keyboard menu mode) to form dumps. Idempotent.
void RegisterToolBarMenuDump();

} // namespace emr
