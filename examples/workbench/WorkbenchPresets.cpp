#include "WorkbenchPresets.h"

#include <array>

namespace emr {

namespace {

constexpr std::array<TWorkbenchPreset, kToolBarStyleCount> kPresets = {{
    {bsOffice2003Blue, "bsOffice2003Blue", "Office 2003 &Blue"},
    {bsOffice2003Silver, "bsOffice2003Silver", "Office 2003 &Silver"},
    {bsOffice2003Olive, "bsOffice2003Olive", "Office 2003 &Olive"},
    {bsOffice2003Classic, "bsOffice2003Classic", "Office 2003 &Classic"},
    {bsOffice2007Luna, "bsOffice2007Luna", "Office 2007 &Luna"},
    {bsOffice2007Obsidian, "bsOffice2007Obsidian", "Office 2007 O&bsidian"},
    {bsWindowsXP, "bsWindowsXP", "Windows &XP"},
    {bsWhidbeyStyle, "bsWhidbeyStyle", "&Whidbey"},
    {bsCustom, "bsCustom", "C&ustom"},
    {bsOffice2007Silver, "bsOffice2007Silver", "Office 2007 S&ilver"},
    {bsOfficeXP, "bsOfficeXP", "Office &XP"},
    {bsWindowsVista, "bsWindowsVista", "Windows &Vista"},
    {bsWindows7, "bsWindows7", "Windows &7"},
    {bsTerminal, "bsTerminal", "&Terminal"},
    {bsOffice2010Blue, "bsOffice2010Blue", "Office 2010 Bl&ue"},
    {bsOffice2010Silver, "bsOffice2010Silver", "Office 2010 Sil&ver"},
    {bsOffice2010Black, "bsOffice2010Black", "Office 2010 Bl&ack"},
}};

static_assert(
    [] {
        for (int i = 0; i < kToolBarStyleCount; ++i)
            if (static_cast<int>(kPresets[static_cast<std::size_t>(i)].Style) != i) return false;
        return true;
    }(),
    "the presets are listed in ordinal order");

} // namespace

std::span<const TWorkbenchPreset> WorkbenchPresets() {
    return kPresets;
}

const TWorkbenchPreset* FindWorkbenchPreset(std::string_view name) {
    for (const TWorkbenchPreset& p : kPresets)
        if (p.Name == name) return &p;
    return nullptr;
}

const TWorkbenchPreset& WorkbenchPresetOf(TToolBarStyle style) {
    return kPresets[static_cast<std::size_t>(style)];
}

} // namespace emr
