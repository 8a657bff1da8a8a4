#include "app/StartupFormats.h"

#include <langinfo.h>
#include <locale.h>
#include <optional>

#include "app/DateTimeFormat.h"

namespace emr {

namespace {

/// The user's LC_TIME locale, without touching the process's global locale.
class TUserTimeLocale {
public:
    TUserTimeLocale() {
        locale_ = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        if (!locale_) locale_ = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
    ~TUserTimeLocale() {
        if (locale_) ::freelocale(locale_);
    }
    TUserTimeLocale(const TUserTimeLocale&) = delete;
    TUserTimeLocale& operator=(const TUserTimeLocale&) = delete;

    std::optional<std::string> Item(nl_item item) const {
        if (!locale_) return std::nullopt;
        const char* value = ::nl_langinfo_l(item, locale_);
        if (!value) return std::nullopt;
        return std::string(value);
    }

private:
    locale_t locale_ = static_cast<locale_t>(0);
};

} // namespace

TStartupFormats TStartupFormats::Read(const TRegionalSettingsStore& store) {
    const TUserTimeLocale locale;
    auto picture = [&](LCTYPE item, nl_item fallback, const char* last) {
        if (auto stored = store.Read(item)) return *stored;
        if (auto format = locale.Item(fallback); format && !format->empty())
            return PictureFromStrftime(*format);
        return std::string(last);
    };
    auto designator = [&](LCTYPE item, nl_item fallback, const char* last) {
        if (auto stored = store.Read(item)) return *stored;
        if (auto value = locale.Item(fallback)) return *value;
        return std::string(last);
    };
    TStartupFormats formats;
    formats.ShortDateFormat = picture(LOCALE_SSHORTDATE, D_FMT, "MM/dd/yy");
    formats.LongTimeFormat = picture(LOCALE_STIMEFORMAT, T_FMT, "HH:mm:ss");
    formats.TimeAMString = designator(LOCALE_S1159, AM_STR, "am");
    formats.TimePMString = designator(LOCALE_S2359, PM_STR, "pm");
    return formats;
}

} // namespace emr
