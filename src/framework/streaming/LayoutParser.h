#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/streaming/LayoutLexer.h"

namespace emr {

struct TLayoutItem;

/// A property value as written, before it is checked against the property.
struct TLayoutValue {
    enum class TKind { Integer, Float, String, Identifier, Set, List, Binary, Collection };

    TKind Kind = TKind::Integer;
    TLayoutPosition Position;
    std::int64_t Integer = 0;
    double Float = 0.0;
    /// String: decoded text; Identifier: the (possibly dotted) name; numbers: source text.
    std::string Text;
    /// Set: the identifiers between the brackets and where each stands.
    std::vector<std::string> Names;
    std::vector<TLayoutPosition> NamePositions;
    /// List: ( 'a' 'b' ) elements, each a string, number or identifier.
    std::vector<TLayoutValue> Elements;
    std::vector<std::uint8_t> Bytes;
    std::vector<TLayoutItem> Items;

    /// How the value reads in an error message: integer 12, string 'abc', a set.
    std::string Describe() const;
};

/// `Path = value`, where Path may reach into owned objects (Font.Height).
struct TLayoutProperty {
    std::string Path;
    TLayoutPosition Position;
    TLayoutValue Value;
};

/// One `item ... end` of a collection value.
struct TLayoutItem {
    TLayoutPosition Position;
    std::vector<TLayoutProperty> Properties;
};

/// One `object Name: TClass ... end` block.
struct TLayoutObject {
    TLayoutPosition Position;
    std::string Name; // empty for `object TClass`
    TLayoutPosition NamePosition;
    std::string ClassName;
    TLayoutPosition ClassPosition;
    std::vector<TLayoutProperty> Properties;
    std::vector<TLayoutObject> Children;
};

/// Turns a layout text into its tree of objects, properties and values. Checks
/// syntax only; whether classes and properties exist is the reader's business.
class TLayoutParser {
public:
    /// Objects, collections and items together may nest this deep.
    static constexpr int kMaxDepth = 256;

    explicit TLayoutParser(std::string_view text);

    /// Parses the single root object that must make up the whole text.
    TLayoutObject ParseRoot();

private:
    TLayoutToken Take();
    [[noreturn]] void Fail(const std::string& expected) const;
    void CheckDepth(int depth) const;
    /// Takes a plain (undotted) identifier that names `what`.
    TLayoutToken TakeSimpleName(const std::string& what);
    void RejectUnsupported() const;

    TLayoutObject ParseObject(int depth);
    TLayoutProperty ParseProperty(int depth);
    TLayoutValue ParseValue(int depth);
    TLayoutValue ParseString();
    TLayoutValue ParseSet();
    TLayoutValue ParseList();
    TLayoutValue ParseCollection(int depth);

    TLayoutLexer lexer_;
    TLayoutToken current_;
};

} // namespace emr
