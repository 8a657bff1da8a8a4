#pragma once

namespace emr {

/// Registers the program's classes (TForm1 with its published fields and
/// handlers) and, first, every layer below. Idempotent.
void RegisterAppClasses();

} // namespace emr
