#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emr {

/// The text of a settings file of sections and key=value lines, kept line by line
/// so that a change touches only the line it changes and every other byte
/// (comments, other sections, line endings, a byte-order mark) stays as it was.
class TRegionalSettingsFile {
public:
    /// Files larger than this are not taken for settings files.
    static constexpr std::size_t kMaxBytes = 1024 * 1024;

    /// Reads `bytes`; nullopt when they are not a settings file of this layout:
    /// larger than kMaxBytes, NUL bytes or other control characters, not UTF-8, or
    /// lines of which none is a [section] or a key=value pair though some are more
    /// than blanks and comments (';' or '#'). A line of no known kind in a file that
    /// has sections or pairs is kept as it is and otherwise passed over.
    static std::optional<TRegionalSettingsFile> Parse(std::string_view bytes);

    /// The value of `key` in the first `section` (both case-insensitive), if present.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    /// Sets `key` in the first `section`, adding the key at the end of the section or
    /// the section at the end of the file when missing. Returns false, changing
    /// nothing, when the value holds a line break or another control character.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    /// The file's bytes.
    std::string Text() const;

private:
    struct TLine {
        std::string Content; // without the line ending
        std::string Ending;  // "\n", "\r\n" or "" on an unterminated last line
    };
    enum class TLineKind { Blank, Comment, Section, Pair, Invalid };

    static TLineKind Classify(std::string_view content);
    static std::string_view SectionName(std::string_view content);
    static std::string_view KeyOf(std::string_view content);
    /// Index of the first line of the section's body, or nullopt.
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(std::size_t bodyStart, std::string_view key) const;
    std::string NewLineEnding() const;

    std::string bom_;
    std::vector<TLine> lines_;
};

} // namespace emr
