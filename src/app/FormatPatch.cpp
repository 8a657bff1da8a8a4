#include "app/FormatPatch.h"

namespace emr {

namespace {

// The values are code page 936 bytes, written out so that no source encoding or
// compiler setting can change them. Each array ends with the terminating zero.
constexpr char kShortDate[] = {0x79, 0x79, 0x79, 0x79, 0x2D, 0x4D,
                               0x4D, 0x2D, 0x64, 0x64, 0x00}; // yyyy-MM-dd

// yyyy'年'M'月 'd'日': the blank after 月 is part of the value.
constexpr unsigned char kLongDateBytes[] = {0x79, 0x79, 0x79, 0x79, 0x27, 0xC4, 0xEA, 0x27, 0x4D, 0x27,
                                            0xD4, 0xC2, 0x20, 0x27, 0x64, 0x27, 0xC8, 0xD5, 0x27, 0x00};

constexpr char kTimeFormat[] = {0x48, 0x48, 0x3A, 0x6D, 0x6D, 0x3A, 0x73, 0x73, 0x00}; // HH:mm:ss
constexpr char kEmpty[] = {0x00};

constexpr unsigned char kCaptionBytes[] = {0xCC, 0xE1, 0xCA, 0xBE, 0x00}; // 提示
constexpr unsigned char kSuccessBytes[] = {0xB2, 0xB9, 0xB6, 0xA1, 0xD3, 0xA6, 0xD3, 0xC3,
                                           0xB3, 0xC9, 0xB9, 0xA6, 0xA3, 0xA1, 0x00}; // 补丁应用成功！
constexpr unsigned char kFailureBytes[] = {0xB2, 0xB9, 0xB6, 0xA1, 0xD3, 0xA6, 0xD3, 0xC3,
                                           0xCA, 0xA7, 0xB0, 0xDC, 0xA3, 0xA1, 0x00}; // 补丁应用失败！

// The same texts in UTF-16 for systems with another ANSI code page, written out
// in code units for the same reason.
constexpr char16_t kLongDateWide[] = {
    u'y',   u'y', u'y',  u'y', u'\'', 0x5E74, u'\'', u'M', u'\'',
    0x6708, u' ', u'\'', u'd', u'\'', 0x65E5, u'\'', 0}; // yyyy'年'M'月 'd'日'
constexpr char16_t kCaptionWide[] = {0x63D0, 0x793A, 0}; // 提示
constexpr char16_t kSuccessWide[] = {0x8865, 0x4E01, 0x5E94, 0x7528,
                                     0x6210, 0x529F, 0xFF01, 0}; // 补丁应用成功！
constexpr char16_t kFailureWide[] = {0x8865, 0x4E01, 0x5E94, 0x7528,
                                     0x5931, 0x8D25, 0xFF01, 0}; // 补丁应用失败！

template <std::size_t N> std::string_view Bytes(const unsigned char (&bytes)[N]) {
    return {reinterpret_cast<const char*>(bytes), N - 1};
}
template <std::size_t N> constexpr std::string_view Bytes(const char (&bytes)[N]) {
    return {bytes, N - 1};
}
template <std::size_t N> constexpr std::u16string_view Units(const char16_t (&units)[N]) {
    return {units, N - 1};
}

bool Write(TLocalePlatform& platform, bool ansi, const TFormatPatchItem& entry) {
    return ansi ? platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, entry.Item, entry.Value.data())
                : platform.SetLocaleInfoW(LOCALE_USER_DEFAULT, entry.Item, entry.WideValue.data());
}

void Report(TLocalePlatform& platform, HWND owner, bool success) {
    if (UsesAnsiCalls(platform)) {
        const std::string_view text = success ? PatchSuccessText() : PatchFailureText();
        platform.MessageBoxA(owner, text.data(), PatchReportCaption().data(), kPatchReportFlags);
    } else {
        const std::u16string_view text = success ? PatchSuccessTextW() : PatchFailureTextW();
        platform.MessageBoxW(owner, text.data(), PatchReportCaptionW().data(), kPatchReportFlags);
    }
}

/// Closes the platform's update group on every path, so that a write that throws
/// leaves no half-made group open behind it.
class TUpdateGroup {
public:
    explicit TUpdateGroup(TLocalePlatform& platform) : platform_(platform) { platform_.BeginUpdate(); }
    ~TUpdateGroup() {
        if (!open_) return;
        try {
            platform_.EndUpdate(false);
        } catch (...) {
            // Already unwinding from the failure that is being reported.
        }
    }
    TUpdateGroup(const TUpdateGroup&) = delete;
    TUpdateGroup& operator=(const TUpdateGroup&) = delete;

    bool End(bool commit) {
        open_ = false;
        return platform_.EndUpdate(commit);
    }

private:
    TLocalePlatform& platform_;
    bool open_ = true;
};

} // namespace

const std::array<TFormatPatchItem, 5>& FormatPatchTable() {
    static const std::array<TFormatPatchItem, 5> table = {{
        {LOCALE_SSHORTDATE, Bytes(kShortDate), u"yyyy-MM-dd"},
        {LOCALE_SLONGDATE, Bytes(kLongDateBytes), Units(kLongDateWide)},
        {LOCALE_STIMEFORMAT, Bytes(kTimeFormat), u"HH:mm:ss"},
        {LOCALE_S1159, Bytes(kEmpty), u""},
        {LOCALE_S2359, Bytes(kEmpty), u""},
    }};
    return table;
}

std::string_view PatchReportCaption() {
    return Bytes(kCaptionBytes);
}
std::string_view PatchSuccessText() {
    return Bytes(kSuccessBytes);
}
std::string_view PatchFailureText() {
    return Bytes(kFailureBytes);
}
std::u16string_view PatchReportCaptionW() {
    return Units(kCaptionWide);
}
std::u16string_view PatchSuccessTextW() {
    return Units(kSuccessWide);
}
std::u16string_view PatchFailureTextW() {
    return Units(kFailureWide);
}

bool UsesAnsiCalls(const TLocalePlatform& platform) {
    return platform.AnsiCodePage() == kGbkCodePage;
}

bool ApplyFormatPatch(TLocalePlatform& platform) {
    bool allStored = true;
    const bool ansi = UsesAnsiCalls(platform);
    {
        TUpdateGroup group(platform);
        for (const TFormatPatchItem& entry : FormatPatchTable()) {
            // No short-circuit: a refused write must not keep the later ones from being made.
            const bool stored = Write(platform, ansi, entry);
            allStored = allStored && stored;
        }
        // A refused write drops the whole group, so the settings never hold part of
        // the patch. Stored before the broadcast, which must announce values that
        // are already in place.
        const bool committed = group.End(allStored);
        allStored = allStored && committed;
    }
    // Whatever did change is announced, so the broadcast follows even a refused write.
    DWORD_PTR result = 0;
    platform.SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG,
                                 kPatchBroadcastTimeoutMs, &result);
    return allStored;
}

TPatchOutcome RunApplySequence(TLocalePlatform& platform, HWND owner,
                               const std::function<void()>& closeMainWindow) {
    TPatchOutcome outcome = TPatchOutcome::Failed;
    try {
        if (ApplyFormatPatch(platform)) {
            Report(platform, owner, true);
            if (closeMainWindow) closeMainWindow();
            outcome = TPatchOutcome::Applied;
        } else {
            outcome = TPatchOutcome::Refused;
        }
    } catch (...) {
        // Any failure of a step is consumed here and reported by the one box below.
        outcome = TPatchOutcome::Failed;
    }
    // Shown outside the guard, so that a failing box is never answered by a second one.
    if (outcome != TPatchOutcome::Applied) Report(platform, owner, false);
    return outcome;
}

} // namespace emr
