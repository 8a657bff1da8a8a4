#pragma once
// Faces for characters the program's own fonts lack, asked of the system's font
// configuration.
#include <memory>
#include <string>
#include <vector>

namespace emr {

/// One face of an installed font file.
struct TFontFileFace {
    std::string Path;
    unsigned Index = 0; // the face's index in a collection
};

/// Asks the machine's fontconfig which installed faces have a character. The
/// library is opened and its configuration read when the finder is made, not
/// when the program starts: text the program's own folders cover never pays for
/// it. Without the library (or its configuration) the finder finds nothing.
class TSystemFontFinder {
public:
    TSystemFontFinder();
    ~TSystemFontFinder();
    TSystemFontFinder(const TSystemFontFinder&) = delete;
    TSystemFontFinder& operator=(const TSystemFontFinder&) = delete;

    /// Whether fontconfig loaded with a configuration.
    bool Available() const;
    /// Outline faces whose character set has `ch`, the closest to the style and
    /// to the configured preferences first; at most `limit` of them.
    std::vector<TFontFileFace> Find(char32_t ch, bool bold, bool italic, std::size_t limit);

private:
    struct Library;
    std::unique_ptr<Library> library_;
};

} // namespace emr
