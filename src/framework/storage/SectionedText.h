#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace emr {

/// The lines of a settings file grouped under their section lines, each kept with
/// its own line ending so that the file's bytes come back unchanged; value lines
/// are indexed by section and name so that large files stay fast to change.
class TSectionedText {
public:
    struct TLine {
        std::string Content; // may hold inner line breaks of a continued value
        std::string Ending;  // "\n", "\r\n", or "" on an unterminated last line
        std::string Key;     // folded value name; empty on lines that hold no value
    };

    /// Splits bytes into lines after an optional UTF-8 byte-order mark.
    static std::vector<TLine> SplitLines(std::string_view bytes, std::string& bom);

    void SetBom(std::string bom) { bom_ = std::move(bom); }
    /// Adds a line to the last section, or before the first section when there is none yet.
    void AddLine(TLine line);
    /// Puts a line before every other line (after the byte-order mark).
    void PrependLine(TLine line) { preamble_.insert(preamble_.begin(), std::move(line)); }
    /// Starts a section at the end of the file (`folded` is its name for lookups).
    void AddSectionLine(TLine header, const std::string& folded);
    /// Index of the first section of that name, or -1.
    int FindSection(const std::string& folded) const;
    /// The first line of `key` in the section, or null.
    const TLine* Find(int section, const std::string& key) const;
    /// Replaces the first line of `key` in the section, or adds it after the
    /// section's last line that is not blank.
    void SetLine(int section, const std::string& key, std::string content);
    /// Appends a section line at the end of the file; its index.
    int AppendSection(std::string header, const std::string& folded, bool blankLineBefore);
    bool Empty() const { return preamble_.empty() && sections_.empty(); }
    std::string Text() const;

private:
    struct TSection {
        TLine Header;
        std::vector<TLine> Body;
        std::unordered_map<std::string, std::size_t> Keys;
    };

    std::string NewLineEnding() const;
    TLine* LastLine();

    std::string bom_;
    std::vector<TLine> preamble_;
    std::vector<TSection> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;
};

} // namespace emr
