#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/platform/Backend.h"

namespace emr {

/// One command of a form-player script.
struct TPlayCommand {
    enum class TKind { Move, Press, Release, Click, DblClick, Key, Wait, Resize, Dump, Png, Save, Reload };
    TKind Kind = TKind::Dump;
    int Line = 0;
    int X = 0; // Move/Press/Release/Click/DblClick: screen point; Resize: width; Wait: milliseconds
    int Y = 0; // Resize: height
    platform::TMouseButton Button = platform::TMouseButton::Left;
    int Key = 0;                     // virtual-key code
    platform::TShiftState Shift = 0; // modifiers held with Key
    std::string Text;                // Key: the characters it types (empty for none); Png: file name
};

/// Parses a script, one command per line; blank lines and lines starting with
/// '#' are skipped. Throws Exception("line N: ...") on the first bad line.
std::vector<TPlayCommand> ParsePlayScript(std::string_view script);

/// Parses a key name with optional "alt+", "shift+", "ctrl+" prefixes into a
/// command (Key, Shift, Text); false when the name is unknown.
bool ParseKeyName(std::string_view name, TPlayCommand& command);

} // namespace emr
