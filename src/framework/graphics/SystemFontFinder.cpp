#include "framework/graphics/SystemFontFinder.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

namespace emr {

namespace {

constexpr const char* kFontconfigLibrary = "libfontconfig.so.1";

} // namespace

/// The few fontconfig calls the finder makes, bound when the library is opened.
/// The library is opened here rather than linked so that a program whose text
/// its own fonts cover neither maps nor initialises it.
struct TSystemFontFinder::Library {
#define EMR_FONTCONFIG_CALLS(X)                                                                              \
    X(FcInitLoadConfigAndFonts)                                                                              \
    X(FcConfigDestroy)                                                                                       \
    X(FcPatternCreate)                                                                                       \
    X(FcPatternDestroy)                                                                                      \
    X(FcPatternAddCharSet)                                                                                   \
    X(FcPatternAddInteger)                                                                                   \
    X(FcPatternGetString)                                                                                    \
    X(FcPatternGetInteger)                                                                                   \
    X(FcPatternGetBool)                                                                                      \
    X(FcPatternGetCharSet)                                                                                   \
    X(FcCharSetCreate)                                                                                       \
    X(FcCharSetDestroy)                                                                                      \
    X(FcCharSetAddChar)                                                                                      \
    X(FcCharSetHasChar)                                                                                      \
    X(FcConfigSubstitute)                                                                                    \
    X(FcDefaultSubstitute)                                                                                   \
    X(FcFontSort)                                                                                            \
    X(FcFontSetDestroy)
#define EMR_FONTCONFIG_POINTER(name) decltype(&::name) name = nullptr;
    EMR_FONTCONFIG_CALLS(EMR_FONTCONFIG_POINTER)
#undef EMR_FONTCONFIG_POINTER

    void* Handle = nullptr;
    FcConfig* Config = nullptr;

    Library() {
        Handle = dlopen(kFontconfigLibrary, RTLD_LAZY | RTLD_LOCAL);
        if (!Handle) return;
        bool bound = true;
#define EMR_FONTCONFIG_BIND(name)                                                                            \
    name = reinterpret_cast<decltype(name)>(dlsym(Handle, #name));                                           \
    bound = bound && name != nullptr;
        EMR_FONTCONFIG_CALLS(EMR_FONTCONFIG_BIND)
#undef EMR_FONTCONFIG_BIND
        if (bound) Config = FcInitLoadConfigAndFonts();
    }
#undef EMR_FONTCONFIG_CALLS

    ~Library() {
        if (Config) FcConfigDestroy(Config);
        // The library stays mapped: fontconfig keeps process-wide state that a
        // later user of it (cairo's fonts, say) may still rely on.
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    /// The sorted fonts for a request of `ch` in the style, or null.
    FcFontSet* Sorted(char32_t ch, bool bold, bool italic) {
        FcPattern* pattern = FcPatternCreate();
        FcCharSet* chars = FcCharSetCreate();
        if (!pattern || !chars) {
            if (pattern) FcPatternDestroy(pattern);
            if (chars) FcCharSetDestroy(chars);
            return nullptr;
        }
        FcCharSetAddChar(chars, ch);
        FcPatternAddCharSet(pattern, FC_CHARSET, chars);
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(Config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet* sorted = FcFontSort(Config, pattern, FcFalse, nullptr, &result);
        FcCharSetDestroy(chars);
        FcPatternDestroy(pattern);
        return sorted;
    }

    /// The file and index of a sorted font that has `ch` in outlines.
    bool Covers(FcPattern* font, char32_t ch, TFontFileFace& face) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch || !FcCharSetHasChar(chars, ch))
            return false;
        FcBool outline = FcFalse;
        if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline) return false;
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return false;
        int index = 0;
        if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch || index < 0) index = 0;
        face.Path = reinterpret_cast<const char*>(file);
        face.Index = static_cast<unsigned>(index);
        return true;
    }
};

TSystemFontFinder::TSystemFontFinder() : library_(std::make_unique<Library>()) {}

TSystemFontFinder::~TSystemFontFinder() = default;

bool TSystemFontFinder::Available() const {
    return library_->Config != nullptr;
}

std::vector<TFontFileFace> TSystemFontFinder::Find(char32_t ch, bool bold, bool italic, std::size_t limit) {
    std::vector<TFontFileFace> found;
    if (!Available() || limit == 0) return found;
    FcFontSet* sorted = library_->Sorted(ch, bold, italic);
    if (!sorted) return found;
    for (int i = 0; i < sorted->nfont && found.size() < limit; ++i) {
        TFontFileFace face;
        if (library_->Covers(sorted->fonts[i], ch, face)) found.push_back(std::move(face));
    }
    library_->FcFontSetDestroy(sorted);
    return found;
}

} // namespace emr
