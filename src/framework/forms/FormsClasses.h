#pragma once

namespace emr {

/// Registers the standard controls, menus and actions of the forms layer (and
/// the controls layer below it). Idempotent.
void RegisterFormsClasses();

} // namespace emr
