#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace emr {

/// A place in a layout text: 1-based line and column (columns count characters).
struct TLayoutPosition {
    int Line = 1;
    int Column = 1;
};

/// Throws Exception("line L, column C: message").
[[noreturn]] void ThrowLayoutError(TLayoutPosition where, const std::string& message);

enum class TLayoutTokenKind {
    EndOfText,
    Identifier, // a name, possibly dotted (Font.Height, Form1.Styler)
    String,     // quoted parts and #codes, already decoded to UTF-8
    Integer,    // decimal or $hex, possibly negative
    Float,      // number with a fraction or an exponent
    Binary,     // { hex digits }, decoded to bytes
    Symbol,     // one of = : [ ] ( ) < > , +
};

struct TLayoutToken {
    TLayoutTokenKind Kind = TLayoutTokenKind::EndOfText;
    TLayoutPosition Position;
    /// Identifier or symbol as written; decoded text of a string; source text of a number.
    std::string Text;
    std::int64_t Integer = 0;
    double Float = 0.0;
    std::vector<std::uint8_t> Bytes;

    bool IsSymbol(char symbol) const { return Kind == TLayoutTokenKind::Symbol && Text[0] == symbol; }
    /// Case-insensitive keyword test (object, end, item, ...).
    bool IsKeyword(std::string_view keyword) const;
    /// How the token reads in an error message: 'end', a string, end of text.
    std::string Describe() const;
};

/// Splits a layout text into tokens; blanks and // comments separate them.
/// Every malformed piece of input (a stray
/// character, an unterminated string or binary block, a bad number) raises
/// Exception with its line and column.
class TLayoutLexer {
public:
    explicit TLayoutLexer(std::string_view text);

    TLayoutToken Next();

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    unsigned char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : 0;
    }
    TLayoutPosition Here() const { return {line_, column_}; }
    /// Moves past one byte, keeping line and column up to date.
    void Advance();
    void SkipBlanks();

    TLayoutToken ReadIdentifier();
    TLayoutToken ReadNumber();
    TLayoutToken ReadString();
    TLayoutToken ReadBinary();
    void ReadQuotedPart(std::string& out);
    void ReadCharacterCode(std::string& out);
    /// The character at the current position as an error message shows it.
    std::string DescribeCharacter() const;
    [[noreturn]] void FailUnexpectedCharacter();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
};

/// Length of the valid UTF-8 sequence starting at text[at], or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

} // namespace emr
