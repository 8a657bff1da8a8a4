#include "app/TextEncoding.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

#include "framework/core/Utf8.h"

namespace emr {

namespace {

/// One iconv conversion descriptor, closed on scope exit.
class TIconv {
public:
    TIconv() : cd_(iconv_open("UTF-8", "CP936")) {}
    ~TIconv() {
        if (Valid()) iconv_close(cd_);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    /// Converts as much as it can. Returns false on an invalid or truncated
    /// sequence, leaving `in` at the offending byte.
    bool Convert(std::string_view& in, std::string& out) {
        char buffer[256];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

    /// Returns the descriptor to its initial shift state after an error.
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

} // namespace

std::optional<std::string> Cp936ToUtf8(std::string_view bytes) {
    TIconv conv;
    if (!conv.Valid()) return std::nullopt;
    std::string out;
    if (!conv.Convert(bytes, out)) return std::nullopt;
    return out;
}

std::string Cp936ToUtf8Lossy(std::string_view bytes) {
    TIconv conv;
    std::string out;
    if (!conv.Valid()) return out;
    while (!conv.Convert(bytes, out)) {
        out += "\xEF\xBF\xBD";
        bytes.remove_prefix(1);
        conv.Reset();
    }
    return out;
}

std::optional<std::string> Utf16ToUtf8(const char16_t* units) {
    constexpr char32_t kHighFirst = 0xD800, kLowFirst = 0xDC00, kLowEnd = 0xE000;
    constexpr char32_t kSupplementaryFirst = 0x10000;
    constexpr int kSurrogateBits = 10;
    std::string out;
    for (const char16_t* u = units; *u; ++u) {
        char32_t cp = *u;
        if (cp >= kLowFirst && cp < kLowEnd) return std::nullopt;
        if (cp >= kHighFirst && cp < kLowFirst) {
            const char32_t low = u[1];
            if (low < kLowFirst || low >= kLowEnd) return std::nullopt;
            cp = kSupplementaryFirst + ((cp - kHighFirst) << kSurrogateBits) + (low - kLowFirst);
            ++u;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        std::uint32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(length) > n) return false;
        for (int k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

} // namespace emr
