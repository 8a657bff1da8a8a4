// Feeds arbitrary bytes to the settings-file reader the regional settings use (the
// framework's INI document) and the code page 936 conversion, and checks what must
// hold for any input: a file that is read back is reproduced byte for byte, a
// value that is set reads back and leaves a file that is still readable, and
// converted text is well-formed UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/TextEncoding.h"
#include "framework/storage/IniDocument.h"
#include "framework/storage/SettingsStore.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (const auto text = emr::Cp936ToUtf8(bytes)) Check(emr::IsValidUtf8(*text));
    Check(emr::IsValidUtf8(emr::Cp936ToUtf8Lossy(bytes)));

    auto file = emr::TIniDocument::Parse(bytes);
    if (!file) return 0;
    Check(file->Text() == bytes);

    // The last line of the input serves as a value to store.
    const std::string_view value =
        bytes.substr(bytes.find_last_of('\n') == std::string_view::npos ? 0 : bytes.find_last_of('\n') + 1);
    try {
        file->SetString("International", "sShortDate", value);
    } catch (const emr::ESettingsStoreError&) {
        return 0;
    }
    Check(file->Value("International", "sShortDate")->Text == value);
    auto again = emr::TIniDocument::Parse(file->Text());
    Check(again != nullptr);
    Check(again->Value("International", "sShortDate")->Text == value);
    return 0;
}
