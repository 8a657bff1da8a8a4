#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace emr::platform::x11 {

/// Reads the settings a desktop's settings manager publishes in the
/// `_XSETTINGS_SETTINGS` property of the owner of `_XSETTINGS_S<screen>`.
///
/// The property is a byte-order byte (0: least significant byte first, 1: most
/// significant first) and three unused bytes, a CARD32 serial and a CARD32 count,
/// then that many settings: a type byte (0 integer, 1 string, 2 colour), an unused
/// byte, a CARD16 name length, the name padded to four bytes, a CARD32 serial of
/// its last change, and the value (an INT32; a CARD32 length and the bytes padded
/// to four; four CARD16 channels). The property comes from another program, so
/// any byte of it may be wrong: every length is checked against what is there.
class XSettings {
public:
    enum class TType : std::uint8_t { Integer = 0, String = 1, Color = 2 };

    /// The integer setting `name`, or nullopt when the data hold no integer of
    /// that name or are malformed before it.
    static std::optional<std::int32_t> Integer(std::span<const std::uint8_t> data, std::string_view name);
};

} // namespace emr::platform::x11
