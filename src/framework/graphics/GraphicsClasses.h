#pragma once

namespace emr {

/// Registers the graphics classes and their published properties (TFont, TPen,
/// TBrush, TBitmap, TPicture, TImageList) after the core ones. Idempotent.
void RegisterGraphicsClasses();

} // namespace emr
