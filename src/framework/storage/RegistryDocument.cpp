#include "framework/storage/RegistryDocument.h"

#include <algorithm>
#include <cstdio>

#include "framework/storage/SettingsStore.h"

namespace emr {

namespace {

bool IsControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7F;
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

/// The default value of a key is written "@"; its lookup name cannot clash with a
/// quoted name because no written name holds a raw NUL.
const std::string kDefaultName(1, '\0');

/// Reads a quoted, escaped string starting at `pos` (on the opening quote); moves
/// `pos` past the closing quote. False when malformed.
bool ReadQuoted(std::string_view s, std::size_t& pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"') return false;
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= s.size()) return false;
        switch (s[pos]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        default:
            return false;
        }
    }
    return false;
}

/// Where the name of a value line ends (just past it), with the name; npos when malformed.
std::size_t ReadName(std::string_view line, std::string& name) {
    if (line.starts_with('@')) {
        name = kDefaultName;
        return 1;
    }
    std::size_t pos = 0;
    if (!ReadQuoted(line, pos, name)) return std::string_view::npos;
    return pos;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

/// "hex:..." and "hex(N):..." bodies: hex bytes, commas and blanks, lines joined by a backslash.
bool IsHexList(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return IsHexDigit(c) || c == ',' || c == ' ' || c == '\t' || c == '\\' || c == '\r' || c == '\n';
    });
}

/// The data of a value line (what follows "Name="), or nullopt when malformed.
std::optional<TStoredValue> ReadData(std::string_view data) {
    if (data.starts_with('"')) {
        std::size_t pos = 0;
        TStoredValue v{TStoredValue::TKind::String, {}, 0};
        if (!ReadQuoted(data, pos, v.Text) || !Trim(data.substr(pos)).empty()) return std::nullopt;
        return v;
    }
    if (data.starts_with("dword:")) {
        const std::string_view digits = Trim(data.substr(6));
        if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), IsHexDigit))
            return std::nullopt;
        TStoredValue v{TStoredValue::TKind::Number, {}, 0};
        for (char c : digits)
            v.Number = v.Number * 16 + static_cast<std::uint32_t>(c <= '9'   ? c - '0'
                                                                  : c <= 'F' ? c - 'A' + 10
                                                                             : c - 'a' + 10);
        return v;
    }
    if (data.starts_with("hex")) {
        std::size_t pos = 3;
        if (pos < data.size() && data[pos] == '(') {
            const std::size_t close = data.find(')', pos);
            if (close == std::string_view::npos || close == pos + 1) return std::nullopt;
            const std::string_view type = data.substr(pos + 1, close - pos - 1);
            if (!std::all_of(type.begin(), type.end(), IsHexDigit)) return std::nullopt;
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != ':' || !IsHexList(data.substr(pos + 1))) return std::nullopt;
        return TStoredValue{TStoredValue::TKind::Other, {}, 0};
    }
    return std::nullopt;
}

/// The escapes cover line breaks and NUL; other control characters and bytes
/// that are not UTF-8 would make a file this class refuses to read.
void CheckWritable(std::string_view text, std::string_view what) {
    const bool control = std::any_of(
        text.begin(), text.end(), [](char c) { return IsControl(c) && c != '\n' && c != '\r' && c != '\0'; });
    if (control || !IsUtf8(text))
        throw ESettingsStoreError("a registry file cannot hold the " + std::string(what) + " \"" +
                                  std::string(text) + "\"");
}

bool ValidKeyPath(std::string_view path) {
    return !path.empty() && path.front() != '\\' && path.back() != '\\' && path.front() != '-' &&
           path.find("\\\\") == std::string_view::npos && std::none_of(path.begin(), path.end(), IsControl);
}

} // namespace

std::string TRegistryDocument::Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

std::unique_ptr<TSettingsDocument> TRegistryDocument::Parse(std::string_view bytes) {
    if (!IsUtf8(bytes)) return nullptr;
    auto doc = std::make_unique<TRegistryDocument>();
    std::string bom;
    std::vector<TSectionedText::TLine> lines = TSectionedText::SplitLines(bytes, bom);
    doc->text_.SetBom(std::move(bom));
    bool header = false;
    bool inKey = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TSectionedText::TLine line = std::move(lines[i]);
        if (std::any_of(line.Content.begin(), line.Content.end(), IsControl)) return nullptr;
        const std::string_view t = Trim(line.Content);
        if (!header) {
            if (t.empty()) {
                doc->text_.AddLine(std::move(line));
                continue;
            }
            if (t != kHeader && t != "REGEDIT4") return nullptr;
            header = true;
            doc->hasHeader_ = true;
            doc->text_.AddLine(std::move(line));
            continue;
        }
        if (t.empty() || t.front() == ';') {
            doc->text_.AddLine(std::move(line));
            continue;
        }
        if (t.front() == '[') {
            if (t.back() != ']' || t.size() < 3 || t[1] == '-') return nullptr;
            const std::string_view path = t.substr(1, t.size() - 2);
            if (!ValidKeyPath(path)) return nullptr;
            inKey = true;
            doc->text_.AddSectionLine(std::move(line), FoldCase(path));
            continue;
        }
        if (!inKey) return nullptr;
        // A hex value goes on over the next lines while a line ends in a backslash.
        while (Trim(line.Content).ends_with('\\')) {
            // A continuation that never comes would swallow the next value written.
            if (i + 1 >= lines.size() || line.Ending.empty()) return nullptr;
            const TSectionedText::TLine& next = lines[++i];
            if (std::any_of(next.Content.begin(), next.Content.end(), IsControl)) return nullptr;
            line.Content += line.Ending + next.Content;
            line.Ending = next.Ending;
        }
        std::string name;
        const std::size_t end = ReadName(line.Content, name);
        if (end == std::string_view::npos || end >= line.Content.size() || line.Content[end] != '=')
            return nullptr;
        if (!ReadData(std::string_view(line.Content).substr(end + 1))) return nullptr;
        line.Key = name == kDefaultName ? name : FoldCase(name);
        doc->text_.AddLine(std::move(line));
    }
    return doc;
}

std::optional<TStoredValue> TRegistryDocument::Value(std::string_view keyPath, std::string_view name) const {
    const int s = text_.FindSection(FoldCase(keyPath));
    if (s < 0) return std::nullopt;
    const TSectionedText::TLine* line = text_.Find(s, name.empty() ? kDefaultName : FoldCase(name));
    if (!line) return std::nullopt;
    std::string spelled;
    const std::size_t end = ReadName(line->Content, spelled);
    return ReadData(std::string_view(line->Content).substr(end + 1));
}

int TRegistryDocument::KeyFor(std::string_view keyPath) {
    if (!ValidKeyPath(keyPath) || !IsUtf8(keyPath))
        throw ESettingsStoreError("a registry file cannot hold the key \"" + std::string(keyPath) + "\"");
    const std::string folded = FoldCase(keyPath);
    const int s = text_.FindSection(folded);
    if (s >= 0) return s;
    if (!hasHeader_) {
        text_.PrependLine({std::string(kHeader), "\n", ""});
        hasHeader_ = true;
    }
    return text_.AppendSection("[" + std::string(keyPath) + "]", folded, true);
}

void TRegistryDocument::Set(std::string_view keyPath, std::string_view name, const std::string& data) {
    const int s = KeyFor(keyPath);
    const std::string key = name.empty() ? kDefaultName : FoldCase(name);
    std::string spelling = name.empty() ? std::string("@") : Quote(name);
    if (const TSectionedText::TLine* line = text_.Find(s, key)) {
        // The name keeps the spelling it has in the file.
        std::string old;
        spelling = line->Content.substr(0, ReadName(line->Content, old));
    }
    text_.SetLine(s, key, spelling + "=" + data);
}

void TRegistryDocument::SetString(std::string_view keyPath, std::string_view name, std::string_view value) {
    CheckWritable(name, "value name");
    CheckWritable(value, "value");
    Set(keyPath, name, Quote(value));
}

void TRegistryDocument::SetInteger(std::string_view keyPath, std::string_view name, int value) {
    CheckWritable(name, "value name");
    const std::optional<TStoredValue> old = Value(keyPath, name);
    if (old && old->Kind == TStoredValue::TKind::String) {
        Set(keyPath, name, Quote(std::to_string(value)));
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
    Set(keyPath, name, text);
}

} // namespace emr
