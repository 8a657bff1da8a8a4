#pragma once

namespace emr {

/// Makes control dumps list each toolbar's hidden controls after its subtree:
/// "overflow: Name1 Name2 ..." one level deeper than the toolbar. Idempotent.
void RegisterToolBarOverflowDump();

} // namespace emr
