#include "framework/forms/Hotkey.h"

namespace emr {

namespace {

/// Decodes one UTF-8 code point at `i`, advancing `i`; malformed bytes read as themselves.
char32_t DecodeAt(const std::string& s, std::size_t& i) {
    auto c = static_cast<unsigned char>(s[i++]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
    for (int k = 0; k < extra && i < s.size(); ++k) {
        auto d = static_cast<unsigned char>(s[i]);
        if ((d & 0xC0) != 0x80) break;
        cp = (cp << 6) | (d & 0x3F);
        ++i;
    }
    return cp;
}

char32_t Upper(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

} // namespace

char32_t GetHotkey(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        std::size_t at = i + 1;
        return Upper(DecodeAt(caption, at));
    }
    return 0;
}

bool IsAccel(char32_t key, const std::string& caption) {
    char32_t hotkey = GetHotkey(caption);
    return hotkey != 0 && hotkey == Upper(key);
}

} // namespace emr
