#include "framework/storage/SectionedText.h"

namespace emr {

namespace {

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

std::vector<TSectionedText::TLine> TSectionedText::SplitLines(std::string_view bytes, std::string& bom) {
    bom.clear();
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bom = bytes.substr(0, 3);
        bytes.remove_prefix(3);
    }
    std::vector<TLine> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        TLine line;
        if (end == std::string_view::npos) {
            line.Content = bytes;
            bytes = {};
        } else {
            line.Content = bytes.substr(0, end);
            line.Ending = "\n";
            bytes.remove_prefix(end + 1);
        }
        if (!line.Ending.empty() && line.Content.ends_with('\r')) {
            line.Content.pop_back();
            line.Ending = "\r\n";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void TSectionedText::AddLine(TLine line) {
    if (sections_.empty()) {
        preamble_.push_back(std::move(line));
        return;
    }
    TSection& s = sections_.back();
    if (!line.Key.empty()) s.Keys.emplace(line.Key, s.Body.size());
    s.Body.push_back(std::move(line));
}

void TSectionedText::AddSectionLine(TLine header, const std::string& folded) {
    sectionIndex_.emplace(folded, sections_.size());
    sections_.push_back({std::move(header), {}, {}});
}

int TSectionedText::FindSection(const std::string& folded) const {
    auto it = sectionIndex_.find(folded);
    return it == sectionIndex_.end() ? -1 : static_cast<int>(it->second);
}

const TSectionedText::TLine* TSectionedText::Find(int section, const std::string& key) const {
    const TSection& s = sections_.at(static_cast<std::size_t>(section));
    auto it = s.Keys.find(key);
    return it == s.Keys.end() ? nullptr : &s.Body[it->second];
}

std::string TSectionedText::NewLineEnding() const {
    // New lines follow the file's own convention, judged by its first line.
    for (const TLine& line : preamble_)
        if (!line.Ending.empty()) return line.Ending;
    for (const TSection& s : sections_)
        if (!s.Header.Ending.empty()) return s.Header.Ending;
    return "\n";
}

TSectionedText::TLine* TSectionedText::LastLine() {
    if (!sections_.empty()) {
        TSection& s = sections_.back();
        return s.Body.empty() ? &s.Header : &s.Body.back();
    }
    return preamble_.empty() ? nullptr : &preamble_.back();
}

void TSectionedText::SetLine(int section, const std::string& key, std::string content) {
    TSection& s = sections_.at(static_cast<std::size_t>(section));
    if (auto it = s.Keys.find(key); it != s.Keys.end()) {
        s.Body[it->second].Content = std::move(content);
        return;
    }
    const std::string ending = NewLineEnding();
    // Blank lines that close a section keep closing it.
    std::size_t at = s.Body.size();
    while (at > 0 && IsBlank(s.Body[at - 1].Content))
        --at;
    TLine& before = at == 0 ? s.Header : s.Body[at - 1];
    if (before.Ending.empty()) before.Ending = ending;
    // Only blank lines follow the insertion point, and they carry no key, so the
    // indices of the keyed lines stay valid.
    s.Body.insert(s.Body.begin() + static_cast<std::ptrdiff_t>(at), TLine{std::move(content), ending, key});
    s.Keys.emplace(key, at);
}

int TSectionedText::AppendSection(std::string header, const std::string& folded, bool blankLineBefore) {
    const std::string ending = NewLineEnding();
    if (TLine* last = LastLine()) {
        if (last->Ending.empty()) last->Ending = ending;
        if (blankLineBefore && !IsBlank(last->Content)) AddLine({"", ending, ""});
    }
    AddSectionLine({std::move(header), ending, ""}, folded);
    return static_cast<int>(sections_.size() - 1);
}

std::string TSectionedText::Text() const {
    std::string out = bom_;
    auto put = [&out](const TLine& line) {
        out += line.Content;
        out += line.Ending;
    };
    for (const TLine& line : preamble_)
        put(line);
    for (const TSection& s : sections_) {
        put(s.Header);
        for (const TLine& line : s.Body)
            put(line);
    }
    return out;
}

} // namespace emr
