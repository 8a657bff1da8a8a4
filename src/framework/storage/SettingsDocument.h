#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace emr {

/// One stored value as a document holds it.
struct TStoredValue {
    enum class TKind { String, Number, Other };
    TKind Kind = TKind::Other;
    std::string Text;         // for String
    std::uint32_t Number = 0; // for Number
};

/// The parsed text of a settings file: values by section and name (both compared
/// without regard to ASCII case), changed in place so that every line a change
/// does not touch keeps its bytes.
class TSettingsDocument {
public:
    virtual ~TSettingsDocument() = default;
    virtual std::optional<TStoredValue> Value(std::string_view section, std::string_view name) const = 0;
    /// Throws ESettingsStoreError when the file's format cannot hold the section, name or value.
    virtual void SetString(std::string_view section, std::string_view name, std::string_view value) = 0;
    virtual void SetInteger(std::string_view section, std::string_view name, int value) = 0;
    virtual std::string Text() const = 0;
};

/// Reads a whole file's bytes; null when they are not a file of the format.
using TSettingsParser = std::unique_ptr<TSettingsDocument> (*)(std::string_view bytes);

/// Text of decimal digits with an optional sign and surrounding blanks, within int.
std::optional<int> ParseDecimal(std::string_view text);

/// Whether the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

/// ASCII lower case, for names that compare without regard to case.
std::string FoldCase(std::string_view text);

} // namespace emr
