#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emr::testing {

// Builds a settings property the way a settings manager writes it, in either byte order.
class SettingsBlob {
public:
    explicit SettingsBlob(bool bigEndian) : bigEndian_(bigEndian) {}

    SettingsBlob& Integer(const std::string& name, std::int32_t value) {
        Head(0, name);
        Card(static_cast<std::uint32_t>(value), 4);
        ++count_;
        return *this;
    }
    SettingsBlob& String(const std::string& name, const std::string& value) {
        Head(1, name);
        Card(static_cast<std::uint32_t>(value.size()), 4);
        Padded(value);
        ++count_;
        return *this;
    }
    SettingsBlob& Color(const std::string& name) {
        Head(2, name);
        for (int channel = 0; channel < 4; ++channel)
            Card(0xFFFF, 2);
        ++count_;
        return *this;
    }
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out{static_cast<std::uint8_t>(bigEndian_ ? 1 : 0), 0, 0, 0};
        Append(out, 7, 4); // serial
        Append(out, count_, 4);
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

private:
    void Head(std::uint8_t type, const std::string& name) {
        body_.push_back(type);
        body_.push_back(0);
        Card(static_cast<std::uint32_t>(name.size()), 2);
        Padded(name);
        Card(3, 4); // last-change serial
    }
    void Padded(const std::string& text) {
        body_.insert(body_.end(), text.begin(), text.end());
        while (body_.size() % 4)
            body_.push_back(0);
    }
    void Card(std::uint32_t value, int bytes) { Append(body_, value, bytes); }
    void Append(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) const {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian_ ? bytes - 1 - i : i);
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }

    bool bigEndian_;
    std::uint32_t count_ = 0;
    std::vector<std::uint8_t> body_;
};

} // namespace emr::testing
