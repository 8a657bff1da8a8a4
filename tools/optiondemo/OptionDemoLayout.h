#pragma once

#include <string_view>

namespace emr {

/// The demo's own layout: a resizable form whose dock panel holds one toolbar of
/// eight captioned buttons in three groups (New Open Save | Cut Copy Paste |
/// Undo Redo), with the add-or-remove item and an option menu of two entries.
std::string_view OptionDemoLayout();

} // namespace emr
