#pragma once

#include <array>

#include "framework/platform/ProgramIdentity.h"

namespace emr {

/// The sizes the program's icon is drawn at: a task bar's, a title bar's and a
/// launcher's.
inline constexpr std::array<int, 3> kProgramIconSizes = {16, 32, 48};

/// The program's icon, a page with a green check mark, drawn at `size` pixels
/// square with anti-aliased edges. The same picture at every size, so that the
/// installed files, the Windows resource and the X11 property agree.
platform::TIconImage DrawProgramIcon(int size);

/// What the desktop knows the program by: its executable's name, its
/// application title and its icon in every size above.
platform::TProgramIdentity ProgramIdentity();

} // namespace emr
