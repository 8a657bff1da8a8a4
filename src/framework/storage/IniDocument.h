#pragma once

#include <memory>
#include <string_view>

#include "framework/storage/SectionedText.h"
#include "framework/storage/SettingsDocument.h"

namespace emr {

/// An INI file: "[Section]" lines and "Name=Value" lines below them, with ';' and
/// '#' comments. Values read without their surrounding blanks and without one pair
/// of enclosing quotes; integers are decimal text.
class TIniDocument : public TSettingsDocument {
public:
    /// Null when the bytes are no INI file: not UTF-8, control characters, or lines
    /// of which none is a section or a pair although some are more than blanks and
    /// comments. In a file that has sections or pairs, other lines are kept and passed over.
    static std::unique_ptr<TSettingsDocument> Parse(std::string_view bytes);

    std::optional<TStoredValue> Value(std::string_view section, std::string_view name) const override;
    void SetString(std::string_view section, std::string_view name, std::string_view value) override;
    void SetInteger(std::string_view section, std::string_view name, int value) override;
    std::string Text() const override { return text_.Text(); }

private:
    TSectionedText text_;
};

} // namespace emr
