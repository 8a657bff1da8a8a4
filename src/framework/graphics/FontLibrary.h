#pragma once
// The faces the program draws text with: from its own font folders, and for
// characters none of those has, from the fonts installed on the machine.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/FontFace.h"
#include "framework/graphics/SystemFontFinder.h"

namespace emr {

/// Finds a family's faces in a fixed list of folders, nothing else of the
/// system, so that text looks and measures the same on every machine. The
/// files of the font packages the program depends on are known by name and
/// opened directly; any other family is looked for by reading the faces of
/// every file in the folders (once, on the first such request). With the
/// system fallback on, a character no folder has is looked for among the
/// machine's installed fonts, only when such a character is first asked for.
class TFontLibrary {
public:
    explicit TFontLibrary(std::vector<std::string> folders);
    /// The folders of the font packages the program is built against.
    static std::vector<std::string> ProgramFolders();
    ~TFontLibrary();
    TFontLibrary(const TFontLibrary&) = delete;
    TFontLibrary& operator=(const TFontLibrary&) = delete;

    /// The face of `family` (case-insensitive) closest to the style, at
    /// `pixelSize`; null when no folder holds the family.
    TFontFace* Face(const std::string& family, bool bold, bool italic, double pixelSize);

    /// The first face in the folders' order that has `ch`, nearest to the style,
    /// at `pixelSize`; else, with the system fallback on, an installed face that
    /// has it; null when none has it.
    TFontFace* Covering(char32_t ch, bool bold, bool italic, double pixelSize);

    /// Whether Covering may look beyond the folders (off unless turned on).
    void SetSystemFallback(bool on) { systemFallback_ = on; }
    /// Whether the machine's font configuration was loaded (by a Covering call
    /// that needed it).
    bool SystemFontsLoaded() const { return system_ != nullptr; }

private:
    struct FaceFile {
        std::string Path;
        unsigned Index = 0;
        std::string Family;
        bool Bold = false;
        bool Italic = false;
        bool AnyStyle = false; // stands for every style of its family
    };
    /// The installed file that holds the style of the family nearest to the one
    /// asked for, preferring the weight over the slant.
    const FaceFile* FindFile(const std::string& family, bool bold, bool italic);
    const FaceFile* KnownFile(const std::string& family, bool bold, bool italic);
    void ScanFolders();
    hb_blob_t* Data(const std::string& path);
    TFontFace* CoveringInFolders(char32_t ch, bool bold, bool italic, double pixelSize);
    TFontFace* CoveringInSystem(char32_t ch, bool bold, bool italic, double pixelSize);
    /// A face of a file, whatever its family, at `pixelSize` (cached); null when
    /// it does not load.
    TFontFace* FileFace(const TFontFileFace& file, double pixelSize);

    std::vector<std::string> folders_;
    FT_Library library_ = nullptr;
    std::deque<FaceFile> known_;    // files found by name
    std::vector<FaceFile> scanned_; // every face of every file, after a scan
    bool scannedAll_ = false;
    std::map<std::string, hb_blob_t*> data_;
    std::map<std::tuple<std::string, bool, bool, double>, std::unique_ptr<TFontFace>> faces_;

    bool systemFallback_ = false;
    std::unique_ptr<TSystemFontFinder> system_; // made on the first character no folder has
    // Installed faces found so far for each script and style: the next character
    // of a script most likely comes from the face its last one came from, which
    // spares a query of the configuration.
    std::map<std::tuple<int, bool, bool>, std::vector<TFontFileFace>> systemFaces_;
    std::set<std::tuple<char32_t, bool, bool>> uncovered_; // asked for, found nowhere
    std::map<std::tuple<std::string, unsigned, double>, std::unique_ptr<TFontFace>> fileFaces_;
};

} // namespace emr
