#include "framework/storage/IniDocument.h"

#include <algorithm>

#include "framework/storage/SettingsStore.h"

namespace emr {

namespace {

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool IsControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7F;
}

bool HasControl(std::string_view s) {
    return std::any_of(s.begin(), s.end(), IsControl);
}

enum class TKind { Blank, Comment, Section, Pair, Invalid };

TKind Classify(std::string_view content) {
    const std::string_view t = Trim(content);
    if (t.empty()) return TKind::Blank;
    if (t.front() == ';' || t.front() == '#') return TKind::Comment;
    if (t.front() == '[') return t.back() == ']' && t.size() >= 2 ? TKind::Section : TKind::Invalid;
    const std::size_t eq = t.find('=');
    if (eq != std::string_view::npos && !Trim(t.substr(0, eq)).empty()) return TKind::Pair;
    return TKind::Invalid;
}

std::string_view SectionName(std::string_view content) {
    const std::string_view t = Trim(content);
    return Trim(t.substr(1, t.size() - 2));
}

std::string_view PairName(std::string_view content) {
    return Trim(content.substr(0, content.find('=')));
}

[[noreturn]] void Refuse(std::string_view what, std::string_view text) {
    throw ESettingsStoreError("an INI file cannot hold the " + std::string(what) + " \"" + std::string(text) +
                              "\"");
}

} // namespace

std::unique_ptr<TSettingsDocument> TIniDocument::Parse(std::string_view bytes) {
    if (!IsUtf8(bytes)) return nullptr;
    auto doc = std::make_unique<TIniDocument>();
    std::string bom;
    std::vector<TSectionedText::TLine> lines = TSectionedText::SplitLines(bytes, bom);
    doc->text_.SetBom(std::move(bom));
    bool structured = false;
    bool invalid = false;
    for (TSectionedText::TLine& line : lines) {
        if (HasControl(line.Content)) return nullptr;
        switch (Classify(line.Content)) {
        case TKind::Section: {
            structured = true;
            const std::string folded = FoldCase(SectionName(line.Content));
            doc->text_.AddSectionLine(std::move(line), folded);
            continue;
        }
        case TKind::Pair:
            structured = true;
            line.Key = FoldCase(PairName(line.Content));
            break;
        case TKind::Invalid:
            invalid = true;
            break;
        default:
            break;
        }
        doc->text_.AddLine(std::move(line));
    }
    if (invalid && !structured) return nullptr;
    return doc;
}

std::optional<TStoredValue> TIniDocument::Value(std::string_view section, std::string_view name) const {
    const int s = text_.FindSection(FoldCase(Trim(section)));
    if (s < 0) return std::nullopt;
    const TSectionedText::TLine* line = text_.Find(s, FoldCase(Trim(name)));
    if (!line) return std::nullopt;
    std::string_view value = Trim(std::string_view(line->Content).substr(line->Content.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return TStoredValue{TStoredValue::TKind::String, std::string(value), 0};
}

void TIniDocument::SetString(std::string_view section, std::string_view name, std::string_view value) {
    if (section.empty() || section != Trim(section) || HasControl(section) ||
        section.find(']') != std::string_view::npos)
        Refuse("section", section);
    if (name.empty() || name != Trim(name) || HasControl(name) || name.find('=') != std::string_view::npos ||
        name.front() == '[' || name.front() == ';' || name.front() == '#')
        Refuse("value name", name);
    if (HasControl(value) || !IsUtf8(value)) Refuse("value", value);
    if (!IsUtf8(section) || !IsUtf8(name)) Refuse("name", name);

    // Blanks around a value and a pair of enclosing quotes are not part of what is
    // read back, so such a value is written inside one more pair of quotes.
    std::string encoded(value);
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (Trim(value) != value || quoted) encoded = "\"" + encoded + "\"";

    const std::string folded = FoldCase(section);
    int s = text_.FindSection(folded);
    if (s < 0) s = text_.AppendSection("[" + std::string(section) + "]", folded, !text_.Empty());
    const std::string key = FoldCase(name);
    if (const TSectionedText::TLine* line = text_.Find(s, key)) {
        // The name keeps the spelling and spacing it has in the file.
        text_.SetLine(s, key, line->Content.substr(0, line->Content.find('=') + 1) + encoded);
        return;
    }
    text_.SetLine(s, key, std::string(name) + "=" + encoded);
}

void TIniDocument::SetInteger(std::string_view section, std::string_view name, int value) {
    SetString(section, name, std::to_string(value));
}

} // namespace emr
