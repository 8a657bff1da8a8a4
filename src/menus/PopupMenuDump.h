#pragma once

namespace emr {

/// Adds the shown items of every open popup menu window to form dumps. Idempotent.
void RegisterPopupMenuDump();

} // namespace emr
