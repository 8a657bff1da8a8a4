#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/LocalePlatform.h"
#include "app/RegionalSettingsStore.h"

namespace emr {

/// The locale platform on Linux: writes go to the regional settings store,
/// broadcasts and message boxes to the framework through two installed callbacks
/// (the program installs them once its application and main window exist).
class TLinuxLocalePlatform : public TLocalePlatform {
public:
    /// Delivers a message to `window` (HWND_BROADCAST: every top-level window of the
    /// process), waiting at most `timeoutMs` per window; nonzero when all were reached.
    using TMessageSender = std::function<LRESULT(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                                 UINT flags, UINT timeoutMs)>;
    /// Shows an application-modal box with UTF-8 text and caption; returns the button.
    using TMessageBoxShower =
        std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)>;

    /// Told why a write or an update failed, in one line without the program's name.
    using TErrorReporter = std::function<void(const std::string& reason)>;

    /// A platform on `store`, which must outlive it. Reasons for failures go to
    /// standard error until SetErrorReporter says otherwise.
    explicit TLinuxLocalePlatform(TRegionalSettingsStore& store);

    void SetMessageSender(TMessageSender sender) { sender_ = std::move(sender); }
    void SetMessageBoxShower(TMessageBoxShower shower) { shower_ = std::move(shower); }
    void SetErrorReporter(TErrorReporter reporter) { reporter_ = std::move(reporter); }

    /// Writes until EndUpdate are checked and kept, then stored in one replacement
    /// of the settings file.
    void BeginUpdate() override;
    bool EndUpdate(bool commit) override;

    /// False for any locale but LOCALE_USER_DEFAULT, an unknown item, a value that
    /// is not valid code page 936 text, or a write the store could not make (inside
    /// an update: a value the store could never take).
    bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) override;
    /// As SetLocaleInfoA, for a value in UTF-16 (false when it is not well-formed).
    bool SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) override;
    LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeoutMs, DWORD_PTR* result) override;
    /// Converts text and caption from code page 936 to UTF-8 and shows the box;
    /// returns 0 when no box can be shown.
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) override;
    int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) override;

    /// 936: the settings file keeps values in the form the ANSI calls of a Chinese
    /// system give them, so the patch makes those.
    UINT AnsiCodePage() const override { return kGbkCodePage; }

private:
    TRegionalSettingsStore& store_;
    TMessageSender sender_;
    TMessageBoxShower shower_;
    TErrorReporter reporter_;

    bool Refuse(const std::string& reason);
    /// Checks the call and stores `text` (UTF-8) when it can.
    bool Store(LCID locale, LCTYPE item, const std::optional<std::string>& text, const char* encoding);
};

} // namespace emr
