#pragma once

namespace emr {

/// Registers the styling classes and their published properties (records, menu
/// stylers, toolbar stylers) after the graphics ones. Idempotent.
void RegisterStylingClasses();

} // namespace emr
