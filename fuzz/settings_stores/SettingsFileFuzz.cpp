// Feeds arbitrary bytes to a settings file reader (INI, or registry export with
// EMR_FUZZ_REGISTRY) and checks what must hold for any input: a file that is read
// is reproduced byte for byte; a string or integer that is stored reads back and
// leaves a file that is still readable with every earlier value unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/storage/IniDocument.h"
#include "framework/storage/RegistryDocument.h"
#include "framework/storage/SettingsStore.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

#ifdef EMR_FUZZ_REGISTRY
constexpr auto kParse = &emr::TRegistryDocument::Parse;
constexpr std::string_view kSection = "HKEY_CURRENT_USER\\Software\\Emr\\Dock";
#else
constexpr auto kParse = &emr::TIniDocument::Parse;
constexpr std::string_view kSection = "Dock";
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto doc = kParse(bytes);
    if (!doc) return 0;
    Check(doc->Text() == bytes);

    // The last line of the input serves as a name and a value to store.
    const std::size_t cut = bytes.find_last_of('\n');
    const std::string_view tail = cut == std::string_view::npos ? bytes : bytes.substr(cut + 1);
    const std::string name = "N" + std::string(tail.substr(0, 8));
    const auto before = doc->Value(kSection, "Other");
    try {
        doc->SetString(kSection, name, tail);
    } catch (const emr::ESettingsStoreError&) {
        Check(doc->Text() == bytes);
        return 0;
    }
    doc->SetInteger(kSection, "Count", static_cast<int>(size) - 1000);
    const std::string text = doc->Text();
    auto again = kParse(text);
    Check(again != nullptr);
    const auto stored = again->Value(kSection, name);
    Check(stored && stored->Kind == emr::TStoredValue::TKind::String);
    const auto count = again->Value(kSection, "Count");
    Check(count.has_value());
    if (count->Kind == emr::TStoredValue::TKind::Number)
        Check(static_cast<int>(count->Number) == static_cast<int>(size) - 1000);
    else
        Check(emr::ParseDecimal(count->Text) == static_cast<int>(size) - 1000);
    const auto after = again->Value(kSection, "Other");
    Check(before.has_value() == after.has_value());
    if (before) Check(before->Text == after->Text && before->Number == after->Number);
    return 0;
}
