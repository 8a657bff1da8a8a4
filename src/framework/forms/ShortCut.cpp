#include "framework/forms/ShortCut.h"

#include <cctype>
#include <optional>

#include "framework/platform/Backend.h"

namespace emr {

namespace {

using platform::ssAlt;
using platform::ssCtrl;
using platform::ssShift;

struct NamedKey {
    int Key;
    const char* Name;
};

// Keys whose names are not their character.
constexpr NamedKey kNamedKeys[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

std::string KeyName(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
    for (const NamedKey& k : kNamedKeys)
        if (k.Key == key) return k.Name;
    return {};
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<int> KeyFromName(std::string_view name) {
    for (int key = 1; key < 0x100; ++key) {
        std::string n = KeyName(key);
        if (!n.empty() && EqualsNoCase(n, name)) return key;
    }
    return std::nullopt;
}

} // namespace

TShortCut ShortCut(int key, std::uint32_t shift) {
    if (key <= 0 || key > 0xFF) return scNone;
    TShortCut result = static_cast<TShortCut>(key);
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, int& key, std::uint32_t& shift) {
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift) shift |= ssShift;
    if (shortCut & scCtrl) shift |= ssCtrl;
    if (shortCut & scAlt) shift |= ssAlt;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string prefix;
    if (shortCut & scShift) prefix += "Shift+";
    if (shortCut & scCtrl) prefix += "Ctrl+";
    if (shortCut & scAlt) prefix += "Alt+";
    return prefix + name;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    // Peel modifier prefixes in any order; the rest must be one key name.
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] : {std::pair<std::string_view, TShortCut>{"Shift+", scShift},
                                   {"Ctrl+", scCtrl},
                                   {"Alt+", scAlt}}) {
            if (text.size() > prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix)) {
                modifiers |= bit;
                text.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    std::optional<int> key = KeyFromName(text);
    if (!key) return scNone;
    return static_cast<TShortCut>(*key | modifiers);
}

} // namespace emr
