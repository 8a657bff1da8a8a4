#include "framework/graphics/FontLibrary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "framework/core/AsciiCase.h"

#ifndef EMR_FONT_DIRS
#define EMR_FONT_DIRS "/usr/share/fonts/truetype/liberation2:/usr/share/fonts/truetype/wqy"
#endif

namespace emr {

namespace {

struct KnownName {
    std::string File; // empty: not a known family
    unsigned Index = 0;
    bool OneStyle = false; // the family has a single style, used for every request
};

/// Where the font packages the program depends on keep a family and style.
KnownName KnownNameOf(const std::string& family, bool bold, bool italic) {
    static const char* const kStyles[] = {"Regular", "Italic", "Bold", "BoldItalic"};
    const char* style = kStyles[(bold ? 2 : 0) + (italic ? 1 : 0)];
    for (const char* kind : {"Sans", "Serif", "Mono"})
        if (family == "liberation " + AsciiLower(kind))
            return {std::string("Liberation") + kind + "-" + style + ".ttf", 0, false};
    if (family == "wenquanyi micro hei") return {"wqy-microhei.ttc", 0, true};
    if (family == "wenquanyi micro hei mono") return {"wqy-microhei.ttc", 1, true};
    return {};
}

} // namespace

std::vector<std::string> TFontLibrary::ProgramFolders() {
    std::vector<std::string> folders;
    const std::string dirs = EMR_FONT_DIRS;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) folders.push_back(dirs.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

TFontLibrary::TFontLibrary(std::vector<std::string> folders) : folders_(std::move(folders)) {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

TFontLibrary::~TFontLibrary() {
    faces_.clear();
    fileFaces_.clear();
    for (auto& [path, blob] : data_)
        hb_blob_destroy(blob);
    if (library_) FT_Done_FreeType(library_);
}

hb_blob_t* TFontLibrary::Data(const std::string& path) {
    auto found = data_.find(path);
    if (found != data_.end()) return found->second;
    // Mapped, not read: only the pages of the tables in use are ever loaded.
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    data_.emplace(path, blob);
    return blob;
}

const TFontLibrary::FaceFile* TFontLibrary::KnownFile(const std::string& family, bool bold, bool italic) {
    for (const FaceFile& file : known_)
        if (file.Family == family && file.Bold == bold && file.Italic == italic) return &file;
    const KnownName known = KnownNameOf(family, bold, italic);
    if (known.File.empty()) return nullptr;
    for (const std::string& folder : folders_) {
        std::error_code error;
        std::filesystem::path path = std::filesystem::path(folder) / known.File;
        if (!std::filesystem::is_regular_file(path, error)) continue;
        known_.push_back({path.string(), known.Index, family, bold, italic, known.OneStyle});
        return &known_.back();
    }
    return nullptr;
}

void TFontLibrary::ScanFolders() {
    if (scannedAll_ || !library_) return;
    scannedAll_ = true;
    for (const std::string& folder : folders_) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file(error)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& path : files) {
            FT_Face face = nullptr;
            if (FT_New_Face(library_, path.c_str(), 0, &face) != 0) continue;
            const FT_Long count = face->num_faces;
            for (FT_Long index = 0; index < count; ++index) {
                if (index > 0 && FT_New_Face(library_, path.c_str(), index, &face) != 0) break;
                if (face->family_name && FT_IS_SCALABLE(face))
                    scanned_.push_back({path.string(), static_cast<unsigned>(index),
                                        AsciiLower(face->family_name),
                                        (face->style_flags & FT_STYLE_FLAG_BOLD) != 0,
                                        (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0});
                FT_Done_Face(face);
            }
        }
    }
}

const TFontLibrary::FaceFile* TFontLibrary::FindFile(const std::string& family, bool bold, bool italic) {
    ScanFolders();
    const FaceFile* best = nullptr;
    int bestScore = 0;
    for (const FaceFile& file : scanned_) {
        if (file.Family != family) continue;
        const int score = (file.Italic != italic ? 2 : 0) + (file.Bold != bold ? 1 : 0);
        if (!best || score < bestScore) {
            best = &file;
            bestScore = score;
        }
    }
    return best;
}

TFontFace* TFontLibrary::Face(const std::string& familyName, bool bold, bool italic, double pixelSize) {
    const std::string family = AsciiLower(familyName);
    auto key = std::make_tuple(family, bold, italic, pixelSize);
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second.get();
    if (!library_) return nullptr;

    auto open = [&](const FaceFile* file) -> std::unique_ptr<TFontFace> {
        if (!file) return nullptr;
        hb_blob_t* data = Data(file->Path);
        if (!data) return nullptr;
        auto face = std::make_unique<TFontFace>(library_, data, file->Index, pixelSize);
        if (!face->Valid() || AsciiLower(face->Family()) != family) return nullptr;
        return face;
    };
    const FaceFile* known = KnownFile(family, bold, italic);
    std::unique_ptr<TFontFace> face = open(known);
    if (face && !known->AnyStyle && (face->Bold() != bold || face->Italic() != italic)) face.reset();
    if (!face) face = open(FindFile(family, bold, italic));
    TFontFace* result = face.get();
    faces_.emplace(std::move(key), std::move(face));
    return result;
}

TFontFace* TFontLibrary::Covering(char32_t ch, bool bold, bool italic, double pixelSize) {
    if (TFontFace* own = CoveringInFolders(ch, bold, italic, pixelSize)) return own;
    return systemFallback_ ? CoveringInSystem(ch, bold, italic, pixelSize) : nullptr;
}

TFontFace* TFontLibrary::CoveringInFolders(char32_t ch, bool bold, bool italic, double pixelSize) {
    ScanFolders();
    TFontFace* best = nullptr;
    int bestScore = 0;
    for (const FaceFile& file : scanned_) {
        const int score = (file.Italic != italic ? 2 : 0) + (file.Bold != bold ? 1 : 0);
        if (best && score >= bestScore) continue;
        TFontFace* candidate = Face(file.Family, file.Bold, file.Italic, pixelSize);
        if (candidate && candidate->HasChar(ch)) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

TFontFace* TFontLibrary::CoveringInSystem(char32_t ch, bool bold, bool italic, double pixelSize) {
    // Enough candidates to get past a face that fontconfig lists but that does
    // not load or lacks the glyph after all (a bitmap-only face, say).
    constexpr std::size_t kCandidates = 4;
    const auto script = static_cast<int>(hb_unicode_script(hb_unicode_funcs_get_default(), ch));
    std::vector<TFontFileFace>& known = systemFaces_[{script, bold, italic}];
    for (const TFontFileFace& file : known)
        if (TFontFace* face = FileFace(file, pixelSize); face && face->HasChar(ch)) return face;
    if (uncovered_.count({ch, bold, italic})) return nullptr;
    if (!system_) system_ = std::make_unique<TSystemFontFinder>();
    for (TFontFileFace& file : system_->Find(ch, bold, italic, kCandidates)) {
        TFontFace* face = FileFace(file, pixelSize);
        if (!face || !face->HasChar(ch)) continue;
        known.push_back(std::move(file));
        return face;
    }
    uncovered_.insert({ch, bold, italic});
    return nullptr;
}

TFontFace* TFontLibrary::FileFace(const TFontFileFace& file, double pixelSize) {
    auto key = std::make_tuple(file.Path, file.Index, pixelSize);
    auto found = fileFaces_.find(key);
    if (found != fileFaces_.end()) return found->second.get();
    std::unique_ptr<TFontFace> face;
    if (hb_blob_t* data = library_ ? Data(file.Path) : nullptr) {
        face = std::make_unique<TFontFace>(library_, data, file.Index, pixelSize);
        if (!face->Valid()) face.reset();
    }
    TFontFace* result = face.get();
    fileFaces_.emplace(std::move(key), std::move(face));
    return result;
}

} // namespace emr
