#include "app/RegionalSettingsFile.h"

#include <algorithm>
#include <cctype>

#include "app/TextEncoding.h"

namespace emr {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool HasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && b != '\t') || b == 0x7F;
    });
}

} // namespace

std::optional<TRegionalSettingsFile> TRegionalSettingsFile::Parse(std::string_view bytes) {
    if (bytes.size() > kMaxBytes) return std::nullopt;
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    if (!IsValidUtf8(bytes)) return std::nullopt;

    TRegionalSettingsFile file;
    bool hasEntries = false;
    bool hasUnknownLines = false;
    if (bytes.starts_with(kBom)) {
        file.bom_ = std::string(kBom);
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        TLine line;
        const std::size_t newline = bytes.find('\n');
        std::string_view content = bytes.substr(0, newline);
        if (newline == std::string_view::npos) {
            bytes = {};
        } else {
            bytes.remove_prefix(newline + 1);
            line.Ending = "\n";
            if (content.ends_with('\r')) {
                content.remove_suffix(1);
                line.Ending = "\r\n";
            }
        }
        // A bare carriage return or another control character is not text of this layout.
        if (HasControlCharacter(content)) return std::nullopt;
        switch (Classify(content)) {
        case TLineKind::Section:
        case TLineKind::Pair:
            hasEntries = true;
            break;
        case TLineKind::Invalid:
            hasUnknownLines = true;
            break;
        default:
            break;
        }
        line.Content = std::string(content);
        file.lines_.push_back(std::move(line));
    }
    // One stray line must not lock the user out of a settings file, but text with
    // no entry at all is somebody's notes that happen to bear the name.
    if (hasUnknownLines && !hasEntries) return std::nullopt;
    return file;
}

TRegionalSettingsFile::TLineKind TRegionalSettingsFile::Classify(std::string_view content) {
    const std::string_view t = Trim(content);
    if (t.empty()) return TLineKind::Blank;
    if (t.front() == ';' || t.front() == '#') return TLineKind::Comment;
    if (t.front() == '[') return t.back() == ']' && t.size() > 2 ? TLineKind::Section : TLineKind::Invalid;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty()) return TLineKind::Invalid;
    return TLineKind::Pair;
}

std::string_view TRegionalSettingsFile::SectionName(std::string_view content) {
    const std::string_view t = Trim(content);
    return Trim(t.substr(1, t.size() - 2));
}

std::string_view TRegionalSettingsFile::KeyOf(std::string_view content) {
    return Trim(content.substr(0, content.find('=')));
}

std::optional<std::size_t> TRegionalSettingsFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (Classify(lines_[i].Content) == TLineKind::Section &&
            SameText(SectionName(lines_[i].Content), section))
            return i + 1;
    return std::nullopt;
}

std::optional<std::size_t> TRegionalSettingsFile::FindKey(std::size_t bodyStart, std::string_view key) const {
    for (std::size_t i = bodyStart; i < lines_.size(); ++i) {
        const TLineKind kind = Classify(lines_[i].Content);
        if (kind == TLineKind::Section) break;
        if (kind == TLineKind::Pair && SameText(KeyOf(lines_[i].Content), key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> TRegionalSettingsFile::Value(std::string_view section,
                                                        std::string_view key) const {
    const auto body = FindSection(section);
    if (!body) return std::nullopt;
    const auto index = FindKey(*body, key);
    if (!index) return std::nullopt;
    const std::string& content = lines_[*index].Content;
    return content.substr(content.find('=') + 1);
}

std::string TRegionalSettingsFile::NewLineEnding() const {
    for (const TLine& line : lines_)
        if (!line.Ending.empty()) return line.Ending;
    return "\n";
}

bool TRegionalSettingsFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (HasControlCharacter(value) || HasControlCharacter(key) || HasControlCharacter(section)) return false;
    const std::string ending = NewLineEnding();
    const auto body = FindSection(section);
    if (body) {
        if (const auto index = FindKey(*body, key)) {
            std::string& content = lines_[*index].Content;
            // Keep the key as it is spelled (and indented) in the file.
            content = content.substr(0, content.find('=') + 1) + std::string(value);
            return true;
        }
        // After the section's last non-blank line, so a blank separator line stays below it.
        std::size_t insertAt = *body;
        for (std::size_t i = *body; i < lines_.size(); ++i) {
            const TLineKind kind = Classify(lines_[i].Content);
            if (kind == TLineKind::Section) break;
            if (kind != TLineKind::Blank) insertAt = i + 1;
        }
        if (insertAt > 0 && lines_[insertAt - 1].Ending.empty()) lines_[insertAt - 1].Ending = ending;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      TLine{std::string(key) + "=" + std::string(value), ending});
        return true;
    }
    if (!lines_.empty()) {
        if (lines_.back().Ending.empty()) lines_.back().Ending = ending;
        if (Classify(lines_.back().Content) != TLineKind::Blank) lines_.push_back(TLine{"", ending});
    }
    lines_.push_back(TLine{"[" + std::string(section) + "]", ending});
    lines_.push_back(TLine{std::string(key) + "=" + std::string(value), ending});
    return true;
}

std::string TRegionalSettingsFile::Text() const {
    std::string text = bom_;
    for (const TLine& line : lines_) {
        text += line.Content;
        text += line.Ending;
    }
    return text;
}

} // namespace emr
