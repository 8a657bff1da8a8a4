#include "framework/streaming/LayoutParser.h"

namespace emr {

std::string TLayoutValue::Describe() const {
    switch (Kind) {
    case TKind::Integer:
        return "integer " + Text;
    case TKind::Float:
        return "number " + Text;
    case TKind::String: {
        // Long strings are cut at a character boundary so the message stays readable UTF-8.
        constexpr std::size_t kShown = 40;
        if (Text.size() <= kShown) return "string '" + Text + "'";
        std::size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(Text[cut]) & 0xC0) == 0x80)
            --cut;
        return "string '" + Text.substr(0, cut) + "...'";
    }
    case TKind::Identifier:
        return "identifier '" + Text + "'";
    case TKind::Set:
        return "a set";
    case TKind::List:
        return "a list";
    case TKind::Binary:
        return "binary data";
    case TKind::Collection:
        return "a collection";
    }
    return "a value";
}

TLayoutParser::TLayoutParser(std::string_view text) : lexer_(text) {
    current_ = lexer_.Next();
}

TLayoutToken TLayoutParser::Take() {
    TLayoutToken taken = std::move(current_);
    current_ = lexer_.Next();
    return taken;
}

void TLayoutParser::Fail(const std::string& expected) const {
    ThrowLayoutError(current_.Position, "expected " + expected + " but found " + current_.Describe());
}

void TLayoutParser::CheckDepth(int depth) const {
    if (depth > kMaxDepth)
        ThrowLayoutError(current_.Position,
                         "objects and collections nest deeper than " + std::to_string(kMaxDepth) + " levels");
}

TLayoutToken TLayoutParser::TakeSimpleName(const std::string& what) {
    if (current_.Kind != TLayoutTokenKind::Identifier || current_.Text.find('.') != std::string::npos)
        Fail(what);
    return Take();
}

void TLayoutParser::RejectUnsupported() const {
    if (current_.IsKeyword("inherited") || current_.IsKeyword("inline"))
        ThrowLayoutError(current_.Position, "'" + current_.Text +
                                                "' objects are not supported: write the whole layout with "
                                                "'object' blocks");
}

TLayoutObject TLayoutParser::ParseRoot() {
    RejectUnsupported();
    if (!current_.IsKeyword("object")) Fail("'object'");
    TLayoutObject root = ParseObject(1);
    if (current_.Kind != TLayoutTokenKind::EndOfText) Fail("end of text after the root object's 'end'");
    return root;
}

TLayoutObject TLayoutParser::ParseObject(int depth) {
    CheckDepth(depth);
    TLayoutObject object;
    object.Position = Take().Position; // 'object'
    TLayoutToken first = TakeSimpleName("a component name");
    if (current_.IsSymbol(':')) {
        Take();
        object.Name = first.Text;
        object.NamePosition = first.Position;
        TLayoutToken cls = TakeSimpleName("a class name");
        object.ClassName = cls.Text;
        object.ClassPosition = cls.Position;
    } else {
        object.ClassName = first.Text;
        object.ClassPosition = first.Position;
        object.NamePosition = first.Position;
    }

    auto isStructure = [&] {
        return current_.IsKeyword("object") || current_.IsKeyword("end") || current_.IsKeyword("inherited") ||
               current_.IsKeyword("inline");
    };
    while (current_.Kind == TLayoutTokenKind::Identifier && !isStructure())
        object.Properties.push_back(ParseProperty(depth));
    for (;;) {
        RejectUnsupported();
        if (current_.IsKeyword("object")) {
            object.Children.push_back(ParseObject(depth + 1));
            continue;
        }
        if (current_.IsKeyword("end")) break;
        Fail(object.Children.empty() ? "a property name, 'object' or 'end'" : "'object' or 'end'");
    }
    Take(); // 'end'
    return object;
}

TLayoutProperty TLayoutParser::ParseProperty(int depth) {
    TLayoutProperty property;
    property.Position = current_.Position;
    property.Path = Take().Text;
    if (!current_.IsSymbol('=')) Fail("'='");
    Take();
    property.Value = ParseValue(depth);
    return property;
}

TLayoutValue TLayoutParser::ParseValue(int depth) {
    TLayoutValue value;
    value.Position = current_.Position;
    switch (current_.Kind) {
    case TLayoutTokenKind::String:
        return ParseString();
    case TLayoutTokenKind::Integer:
        value.Kind = TLayoutValue::TKind::Integer;
        value.Integer = current_.Integer;
        value.Text = Take().Text;
        return value;
    case TLayoutTokenKind::Float:
        value.Kind = TLayoutValue::TKind::Float;
        value.Float = current_.Float;
        value.Text = Take().Text;
        return value;
    case TLayoutTokenKind::Identifier:
        // A missing value must not swallow the block structure that follows it.
        if (current_.IsKeyword("end") || current_.IsKeyword("object") || current_.IsKeyword("inherited") ||
            current_.IsKeyword("inline"))
            break;
        value.Kind = TLayoutValue::TKind::Identifier;
        value.Text = Take().Text;
        return value;
    case TLayoutTokenKind::Binary:
        value.Kind = TLayoutValue::TKind::Binary;
        value.Bytes = Take().Bytes;
        return value;
    case TLayoutTokenKind::Symbol:
        if (current_.IsSymbol('[')) return ParseSet();
        if (current_.IsSymbol('(')) return ParseList();
        if (current_.IsSymbol('<')) return ParseCollection(depth);
        break;
    case TLayoutTokenKind::EndOfText:
        break;
    }
    Fail("a value");
}

TLayoutValue TLayoutParser::ParseString() {
    TLayoutValue value;
    value.Kind = TLayoutValue::TKind::String;
    value.Position = current_.Position;
    value.Text = Take().Text;
    // 'first line' +
    //   'second line'
    while (current_.IsSymbol('+')) {
        Take();
        if (current_.Kind != TLayoutTokenKind::String) Fail("a string after '+'");
        value.Text += Take().Text;
    }
    return value;
}

TLayoutValue TLayoutParser::ParseSet() {
    TLayoutValue value;
    value.Kind = TLayoutValue::TKind::Set;
    value.Position = Take().Position; // '['
    if (current_.IsSymbol(']')) {
        Take();
        return value;
    }
    for (;;) {
        TLayoutToken name = TakeSimpleName("a set element name");
        value.Names.push_back(name.Text);
        value.NamePositions.push_back(name.Position);
        if (current_.IsSymbol(']')) break;
        if (!current_.IsSymbol(',')) Fail("',' or ']'");
        Take();
    }
    Take(); // ']'
    return value;
}

TLayoutValue TLayoutParser::ParseList() {
    TLayoutValue value;
    value.Kind = TLayoutValue::TKind::List;
    value.Position = Take().Position; // '('
    while (!current_.IsSymbol(')')) {
        switch (current_.Kind) {
        case TLayoutTokenKind::String:
            value.Elements.push_back(ParseString());
            break;
        case TLayoutTokenKind::Integer:
        case TLayoutTokenKind::Float:
        case TLayoutTokenKind::Identifier:
            value.Elements.push_back(ParseValue(0));
            break;
        default:
            Fail("a string, number, identifier or ')'");
        }
    }
    Take(); // ')'
    return value;
}

TLayoutValue TLayoutParser::ParseCollection(int depth) {
    TLayoutValue value;
    value.Kind = TLayoutValue::TKind::Collection;
    value.Position = Take().Position; // '<'
    while (!current_.IsSymbol('>')) {
        if (!current_.IsKeyword("item")) Fail("'item' or '>'");
        CheckDepth(depth + 1);
        TLayoutItem item;
        item.Position = Take().Position;
        while (current_.Kind == TLayoutTokenKind::Identifier && !current_.IsKeyword("end"))
            item.Properties.push_back(ParseProperty(depth + 1));
        if (!current_.IsKeyword("end")) Fail("a property name or 'end'");
        Take();
        value.Items.push_back(std::move(item));
    }
    Take(); // '>'
    return value;
}

} // namespace emr
