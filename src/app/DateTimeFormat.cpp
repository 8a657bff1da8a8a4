#include "app/DateTimeFormat.h"

#include <array>
#include <cstdio>

namespace emr {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                          "May",       "June",     "July",     "August",
                                                          "September", "October",  "November", "December"};
constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};

std::string Number(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

/// The first character (UTF-8 sequence) of `s`.
std::string_view FirstCharacter(std::string_view s) {
    if (s.empty()) return s;
    std::size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        ++n;
    return s.substr(0, n);
}

std::string_view Name(std::string_view name, bool abbreviated) {
    return abbreviated ? name.substr(0, 3) : name;
}

bool IsPictureLetter(char c) {
    return c == 'd' || c == 'M' || c == 'y' || c == 'g' || c == 'h' || c == 'H' || c == 'm' || c == 's' ||
           c == 't';
}

} // namespace

std::string FormatDateTimePicture(std::string_view picture, const std::tm& time,
                                  std::string_view amDesignator, std::string_view pmDesignator) {
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // A quoted literal; '' inside it is one quote, a missing close quote ends it.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        if (!IsPictureLetter(c)) {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        i += run;
        const int count = static_cast<int>(run);
        const int hour12 = time.tm_hour % 12 == 0 ? 12 : time.tm_hour % 12;
        switch (c) {
        case 'd':
            if (count <= 2)
                out += Number(time.tm_mday, count);
            else
                out += Name(kDayNames[static_cast<std::size_t>(time.tm_wday % 7)], count == 3);
            break;
        case 'M':
            if (count <= 2)
                out += Number(time.tm_mon + 1, count);
            else
                out += Name(kMonthNames[static_cast<std::size_t>(time.tm_mon % 12)], count == 3);
            break;
        case 'y': {
            const int year = time.tm_year + 1900;
            if (count <= 2)
                out += Number(year % 100, count);
            else
                out += Number(year, 4);
            break;
        }
        case 'g':
            break;
        case 'h':
            out += Number(hour12, count >= 2 ? 2 : 1);
            break;
        case 'H':
            out += Number(time.tm_hour, count >= 2 ? 2 : 1);
            break;
        case 'm':
            out += Number(time.tm_min, count >= 2 ? 2 : 1);
            break;
        case 's':
            out += Number(time.tm_sec, count >= 2 ? 2 : 1);
            break;
        case 't': {
            const std::string_view designator = time.tm_hour < 12 ? amDesignator : pmDesignator;
            out += count == 1 ? FirstCharacter(designator) : designator;
            break;
        }
        }
    }
    return out;
}

std::string PictureFromStrftime(std::string_view format) {
    std::string out;
    std::string literal;
    auto flushLiteral = [&] {
        if (literal.empty()) return;
        bool quote = false;
        for (char ch : literal)
            if (IsPictureLetter(ch) || ch == '\'' || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                static_cast<unsigned char>(ch) >= 0x80)
                quote = true;
        if (quote) {
            out += '\'';
            for (char ch : literal)
                out += ch == '\'' ? std::string("''") : std::string(1, ch);
            out += '\'';
        } else {
            out += literal;
        }
        literal.clear();
    };
    auto emit = [&](std::string_view picture) {
        flushLiteral();
        out += picture;
    };

    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            literal += format[i];
            continue;
        }
        char conv = format[++i];
        // Field widths and the E/O alternative-form modifiers change nothing a
        // picture can express; '-' asks for no padding.
        bool unpadded = false;
        while ((conv == '_' || conv == '-' || conv == '0' || conv == '^' || conv == '#' || conv == 'E' ||
                conv == 'O' || (conv >= '1' && conv <= '9')) &&
               i + 1 < format.size()) {
            unpadded = unpadded || conv == '-';
            conv = format[++i];
        }
        auto number = [&](std::string_view padded) { emit(unpadded ? padded.substr(1) : padded); };
        switch (conv) {
        case 'Y':
        case 'G':
            emit("yyyy");
            break;
        case 'y':
        case 'g':
            number("yy");
            break;
        case 'm':
            number("MM");
            break;
        case 'd':
            number("dd");
            break;
        case 'e':
            emit("d");
            break;
        case 'b':
        case 'h':
            emit("MMM");
            break;
        case 'B':
            emit("MMMM");
            break;
        case 'a':
            emit("ddd");
            break;
        case 'A':
            emit("dddd");
            break;
        case 'H':
            number("HH");
            break;
        case 'k':
            emit("H");
            break;
        case 'I':
            number("hh");
            break;
        case 'l':
            emit("h");
            break;
        case 'M':
            number("mm");
            break;
        case 'S':
            number("ss");
            break;
        case 'p':
        case 'P':
            emit("tt");
            break;
        case 'D':
            emit("MM/dd/yy");
            break;
        case 'F':
            emit("yyyy-MM-dd");
            break;
        case 'T':
            emit("HH:mm:ss");
            break;
        case 'R':
            emit("HH:mm");
            break;
        case 'r':
            emit("hh:mm:ss tt");
            break;
        case 'n':
        case 't':
            literal += ' ';
            break;
        case '%':
            literal += '%';
            break;
        default:
            break; // time zones, week numbers and the like have no picture form
        }
    }
    flushLiteral();
    return out;
}

} // namespace emr
