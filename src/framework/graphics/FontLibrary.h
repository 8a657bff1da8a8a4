#pragma once
// The faces the program draws text with, found in its own font folders only.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/graphics/FontFace.h"

namespace emr {

/// Finds a family's faces in a fixed list of folders, nothing else of the
/// system, so that text looks and measures the same on every machine. The
/// files of the font packages the program depends on are known by name and
/// opened directly; any other family is looked for by reading the faces of
/// every file in the folders (once, on the first such request).
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
    /// at `pixelSize`; null when none has it.
    TFontFace* Covering(char32_t ch, bool bold, bool italic, double pixelSize);

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

    std::vector<std::string> folders_;
    FT_Library library_ = nullptr;
    std::deque<FaceFile> known_;    // files found by name
    std::vector<FaceFile> scanned_; // every face of every file, after a scan
    bool scannedAll_ = false;
    std::map<std::string, hb_blob_t*> data_;
    std::map<std::tuple<std::string, bool, bool, double>, std::unique_ptr<TFontFace>> faces_;
};

} // namespace emr
