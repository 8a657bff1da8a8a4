#include "framework/platform/x11/XSettings.h"

#include <cstddef>

namespace emr::platform::x11 {

namespace {

constexpr std::uint8_t kLeastSignificantFirst = 0;
constexpr std::uint8_t kMostSignificantFirst = 1;
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kSettingHeaderSize = 4;
constexpr std::size_t kColorSize = 8;

// A cursor over the property that refuses to read past its end; after the first
// refusal every read fails, so a parse never has to check twice.
class Reader {
public:
    Reader(std::span<const std::uint8_t> data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}

    bool Ok() const { return ok_; }
    std::size_t Left() const { return ok_ ? data_.size() - at_ : 0; }

    bool Skip(std::uint64_t count) {
        if (!ok_ || count > Left()) return ok_ = false;
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    std::uint8_t Card8() {
        if (!Has(1)) return 0;
        return data_[at_++];
    }
    std::uint16_t Card16() { return static_cast<std::uint16_t>(Unsigned(2)); }
    std::uint32_t Card32() { return static_cast<std::uint32_t>(Unsigned(4)); }
    std::string_view Text(std::size_t length) {
        if (!Has(length)) return {};
        std::string_view text(reinterpret_cast<const char*>(data_.data() + at_), length);
        at_ += length;
        return text;
    }

private:
    bool Has(std::size_t count) {
        if (!ok_ || count > Left()) ok_ = false;
        return ok_;
    }
    std::uint64_t Unsigned(std::size_t bytes) {
        if (!Has(bytes)) return 0;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const std::size_t index = bigEndian_ ? i : bytes - 1 - i;
            value = (value << 8) | data_[at_ + index];
        }
        at_ += bytes;
        return value;
    }

    std::span<const std::uint8_t> data_;
    bool bigEndian_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

constexpr std::uint64_t PaddedToFour(std::uint64_t length) {
    return (length + 3) & ~std::uint64_t{3};
}

} // namespace

std::optional<std::int32_t> XSettings::Integer(std::span<const std::uint8_t> data, std::string_view name) {
    if (data.size() < kHeaderSize) return std::nullopt;
    const std::uint8_t order = data[0];
    if (order != kLeastSignificantFirst && order != kMostSignificantFirst) return std::nullopt;
    Reader in(data, order == kMostSignificantFirst);
    in.Skip(4);
    in.Card32(); // the manager's serial
    const std::uint32_t count = in.Card32();
    // A count larger than the data could hold ends at the data's end, not later.
    for (std::uint32_t i = 0; i < count && in.Left() >= kSettingHeaderSize; ++i) {
        const auto type = static_cast<TType>(in.Card8());
        in.Skip(1);
        const std::uint16_t nameLength = in.Card16();
        const std::string_view settingName = in.Text(nameLength);
        in.Skip(PaddedToFour(nameLength) - nameLength);
        in.Card32(); // serial of the setting's last change
        switch (type) {
        case TType::Integer: {
            const auto value = static_cast<std::int32_t>(in.Card32());
            if (in.Ok() && settingName == name) return value;
            break;
        }
        case TType::String:
            in.Skip(PaddedToFour(in.Card32()));
            break;
        case TType::Color:
            in.Skip(kColorSize);
            break;
        default:
            // An unknown type has a value of unknown length: nothing after it can be found.
            return std::nullopt;
        }
        if (!in.Ok()) return std::nullopt;
    }
    return std::nullopt;
}

} // namespace emr::platform::x11
