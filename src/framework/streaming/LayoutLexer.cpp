#include "framework/streaming/LayoutLexer.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <strings.h>

#include "framework/core/Exception.h"
#include "framework/core/Utf8.h"

namespace emr {

namespace {

bool IsIdentStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentChar(unsigned char c) {
    return IsIdentStart(c) || IsDigit(c);
}
bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr const char* kSymbols = "=:[](),<>+";

} // namespace

void ThrowLayoutError(TLayoutPosition where, const std::string& message) {
    throw Exception("line " + std::to_string(where.Line) + ", column " + std::to_string(where.Column) + ": " +
                    message);
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) -> unsigned {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    auto cont = [&](std::size_t i) { return (byte(i) & 0xC0) == 0x80; };
    unsigned b0 = byte(0);
    if (at >= text.size()) return 0;
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        unsigned b1 = byte(1);
        if (b0 == 0xE0 && b1 < 0xA0) return 0;  // overlong
        if (b0 == 0xED && b1 >= 0xA0) return 0; // surrogate
        return cont(1) && cont(2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        unsigned b1 = byte(1);
        if (b0 == 0xF0 && b1 < 0x90) return 0;  // overlong
        if (b0 == 0xF4 && b1 >= 0x90) return 0; // beyond U+10FFFF
        return cont(1) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

bool TLayoutToken::IsKeyword(std::string_view keyword) const {
    return Kind == TLayoutTokenKind::Identifier && Text.size() == keyword.size() &&
           strncasecmp(Text.data(), keyword.data(), keyword.size()) == 0;
}

std::string TLayoutToken::Describe() const {
    switch (Kind) {
    case TLayoutTokenKind::EndOfText:
        return "end of text";
    case TLayoutTokenKind::String:
        return "a string";
    case TLayoutTokenKind::Binary:
        return "binary data";
    default:
        return "'" + Text + "'";
    }
}

TLayoutLexer::TLayoutLexer(std::string_view text) : text_(text) {
    // A byte-order mark is not part of the layout.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

void TLayoutLexer::Advance() {
    unsigned char c = Peek();
    ++pos_;
    if (c == '\n' || (c == '\r' && Peek() != '\n')) {
        ++line_;
        column_ = 1;
    } else if (c != '\r' && (c & 0xC0) != 0x80) {
        // UTF-8 continuation bytes belong to the character already counted.
        ++column_;
    }
}

void TLayoutLexer::SkipBlanks() {
    for (;;) {
        while (!AtEnd() && IsBlank(Peek()))
            Advance();
        // A // comment runs to the end of its line.
        if (Peek() != '/' || Peek(1) != '/') return;
        while (!AtEnd() && Peek() != '\n' && Peek() != '\r')
            Advance();
    }
}

TLayoutToken TLayoutLexer::Next() {
    SkipBlanks();
    if (AtEnd()) {
        TLayoutToken end;
        end.Position = Here();
        return end;
    }
    unsigned char c = Peek();
    if (IsIdentStart(c)) return ReadIdentifier();
    if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) return ReadNumber();
    if (c == '\'' || c == '#') return ReadString();
    if (c == '{') return ReadBinary();
    if (c != 0 && std::strchr(kSymbols, c)) {
        TLayoutToken symbol;
        symbol.Kind = TLayoutTokenKind::Symbol;
        symbol.Position = Here();
        symbol.Text = std::string(1, static_cast<char>(c));
        Advance();
        return symbol;
    }
    FailUnexpectedCharacter();
}

TLayoutToken TLayoutLexer::ReadIdentifier() {
    TLayoutToken token;
    token.Kind = TLayoutTokenKind::Identifier;
    token.Position = Here();
    std::size_t start = pos_;
    for (;;) {
        while (IsIdentChar(Peek()))
            Advance();
        if (Peek() == '.' && IsIdentStart(Peek(1))) {
            Advance();
            continue;
        }
        break;
    }
    token.Text = std::string(text_.substr(start, pos_ - start));
    return token;
}

TLayoutToken TLayoutLexer::ReadNumber() {
    TLayoutToken token;
    token.Position = Here();
    std::size_t start = pos_;
    bool negative = false;
    if (Peek() == '-') {
        negative = true;
        Advance();
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    bool tooLarge = false;
    if (Peek() == '$') {
        Advance();
        if (HexValue(Peek()) < 0) ThrowLayoutError(Here(), "expected hex digits after '$'");
        while (HexValue(Peek()) >= 0) {
            auto digit = static_cast<std::uint64_t>(HexValue(Peek()));
            if (magnitude > (kMax - digit) / 16) tooLarge = true;
            if (!tooLarge) magnitude = magnitude * 16 + digit;
            Advance();
        }
        token.Kind = TLayoutTokenKind::Integer;
    } else {
        bool isFloat = false;
        while (IsDigit(Peek())) {
            auto digit = static_cast<std::uint64_t>(Peek() - '0');
            if (magnitude > (kMax - digit) / 10) tooLarge = true;
            if (!tooLarge) magnitude = magnitude * 10 + digit;
            Advance();
        }
        if (Peek() == '.' && IsDigit(Peek(1))) {
            isFloat = true;
            Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if ((Peek() == 'e' || Peek() == 'E') &&
            (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
            isFloat = true;
            Advance();
            if (Peek() == '+' || Peek() == '-') Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if (isFloat) {
            token.Kind = TLayoutTokenKind::Float;
            token.Text = std::string(text_.substr(start, pos_ - start));
            const char* first = token.Text.data();
            const char* last = first + token.Text.size();
            auto [end, error] = std::from_chars(first, last, token.Float);
            if (error != std::errc() || end != last)
                ThrowLayoutError(token.Position, "number " + token.Text + " is out of range");
        } else {
            token.Kind = TLayoutTokenKind::Integer;
        }
    }
    token.Text = std::string(text_.substr(start, pos_ - start));
    if (IsIdentChar(Peek()) || Peek() == '.')
        ThrowLayoutError(Here(), "unexpected " + DescribeCharacter() + " after the number " + token.Text);
    if (token.Kind == TLayoutTokenKind::Integer) {
        if (tooLarge) ThrowLayoutError(token.Position, "number " + token.Text + " is out of range");
        token.Integer =
            negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    }
    return token;
}

TLayoutToken TLayoutLexer::ReadString() {
    TLayoutToken token;
    token.Kind = TLayoutTokenKind::String;
    token.Position = Here();
    // 'ab'#13#10'c': quoted parts and character codes written back to back form one string.
    while (Peek() == '\'' || Peek() == '#') {
        if (Peek() == '\'')
            ReadQuotedPart(token.Text);
        else
            ReadCharacterCode(token.Text);
    }
    return token;
}

void TLayoutLexer::ReadQuotedPart(std::string& out) {
    TLayoutPosition start = Here();
    Advance();
    for (;;) {
        unsigned char c = Peek();
        if (AtEnd() || c == '\r' || c == '\n') ThrowLayoutError(start, "unterminated string");
        if (c == '\'') {
            Advance();
            if (Peek() != '\'') return;
            out += '\'';
            Advance();
            continue;
        }
        if (c < 0x20 && c != '\t')
            ThrowLayoutError(Here(), "control character #" + std::to_string(c) +
                                         " inside a string; write it as #" + std::to_string(c) +
                                         " outside the quotes");
        std::size_t length = Utf8SequenceLength(text_, pos_);
        if (length == 0) ThrowLayoutError(Here(), "invalid UTF-8 inside a string");
        out.append(text_.substr(pos_, length));
        for (std::size_t i = 0; i < length; ++i)
            Advance();
    }
}

void TLayoutLexer::ReadCharacterCode(std::string& out) {
    TLayoutPosition start = Here();
    Advance();
    bool hex = Peek() == '$';
    if (hex) Advance();
    auto digitValue = [&](unsigned char c) { return hex ? HexValue(c) : (IsDigit(c) ? c - '0' : -1); };
    if (digitValue(Peek()) < 0) ThrowLayoutError(start, "expected a character code after '#'");
    std::uint32_t code = 0;
    bool tooLarge = false;
    while (digitValue(Peek()) >= 0) {
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digitValue(Peek()));
        if (code > 0x10FFFF) {
            tooLarge = true;
            code = 0x110000; // keeps the arithmetic bounded while the digits are skipped
        }
        Advance();
    }
    if (tooLarge || (code >= 0xD800 && code <= 0xDFFF))
        ThrowLayoutError(start, "character code is not a Unicode code point");
    AppendUtf8(out, static_cast<char32_t>(code));
}

TLayoutToken TLayoutLexer::ReadBinary() {
    TLayoutToken token;
    token.Kind = TLayoutTokenKind::Binary;
    token.Position = Here();
    Advance();
    int pending = -1; // high nibble waiting for its partner
    for (;;) {
        if (AtEnd())
            ThrowLayoutError(token.Position, "binary data is not closed: expected '}' before end of text");
        unsigned char c = Peek();
        if (c == '}') {
            if (pending >= 0) ThrowLayoutError(Here(), "binary data has an odd number of hex digits");
            Advance();
            break;
        }
        if (IsBlank(c)) {
            Advance();
            continue;
        }
        int value = HexValue(c);
        if (value < 0)
            ThrowLayoutError(Here(),
                             "expected hex digits or '}' in binary data but found " + DescribeCharacter());
        if (pending < 0) {
            pending = value;
        } else {
            token.Bytes.push_back(static_cast<std::uint8_t>(pending * 16 + value));
            pending = -1;
        }
        Advance();
    }
    token.Text = "{...}";
    return token;
}

std::string TLayoutLexer::DescribeCharacter() const {
    unsigned char c = Peek();
    if (c < 0x20 || c == 0x7F) return "character #" + std::to_string(c);
    if (c < 0x80) return "character '" + std::string(1, static_cast<char>(c)) + "'";
    if (std::size_t length = Utf8SequenceLength(text_, pos_))
        return "character '" + std::string(text_.substr(pos_, length)) + "'";
    static const char* digits = "0123456789ABCDEF";
    return std::string("byte $") + digits[c >> 4] + digits[c & 15] + " (not UTF-8)";
}

void TLayoutLexer::FailUnexpectedCharacter() {
    ThrowLayoutError(Here(), "unexpected " + DescribeCharacter());
}

} // namespace emr
