#pragma once

#include <memory>
#include <string_view>

#include "framework/storage/SectionedText.h"
#include "framework/storage/SettingsDocument.h"

namespace emr {

/// A registry export file: a version line, then "[Key\Path]" lines each followed
/// by its values: "Name"="text" (escapes \\ \" \n \r \0), "Name"=dword:0000002a,
/// and hex forms kept as they are. Sections here are whole key paths.
class TRegistryDocument : public TSettingsDocument {
public:
    static constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

    /// Null when the bytes are not such a file: no version line first, a line of
    /// no known kind, a value outside any key, a malformed value, or bytes that
    /// are not UTF-8 or hold control characters.
    static std::unique_ptr<TSettingsDocument> Parse(std::string_view bytes);

    std::optional<TStoredValue> Value(std::string_view keyPath, std::string_view name) const override;
    void SetString(std::string_view keyPath, std::string_view name, std::string_view value) override;
    /// A 32-bit number value, or decimal text when the value exists as a string.
    void SetInteger(std::string_view keyPath, std::string_view name, int value) override;
    std::string Text() const override { return text_.Text(); }

    /// The quoted, escaped form of a name or string.
    static std::string Quote(std::string_view text);

private:
    int KeyFor(std::string_view keyPath);
    void Set(std::string_view keyPath, std::string_view name, const std::string& data);

    TSectionedText text_;
    bool hasHeader_ = false;
};

} // namespace emr
