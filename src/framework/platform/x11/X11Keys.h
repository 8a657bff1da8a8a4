#pragma once

#include "framework/platform/Backend.h"

namespace emr::platform::x11 {

/// The virtual-key code for an unshifted X keysym (level 0 of the key), or 0
/// when the key has none. Letters and digits map to their upper-case ASCII
/// codes, whatever the modifiers, as the framework's key handlers expect.
int VirtualKeyFromKeysym(unsigned long keysym);

/// The framework's shift state for an X modifier and button mask.
TShiftState ShiftFromXState(unsigned int state);

/// The shift state while a modifier key goes down or up: X reports the state
/// before the event, the framework wants the state the event leaves behind.
TShiftState ShiftAfterKey(TShiftState before, int virtualKey, bool pressed);

} // namespace emr::platform::x11
