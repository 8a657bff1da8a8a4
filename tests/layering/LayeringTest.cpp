// Every folder of src/ is a layer that may include only its own headers and
// those of the layers below it. The build enforces the same graph through
// per-layer include trees; this test also names the offending line, and fails
// for a folder that nobody placed in the graph.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

/// Each folder under src/ and the folders it uses directly.
const std::map<std::string, std::vector<std::string>> kUses = {
    {"framework/core", {}},
    {"framework/graphics", {"framework/core"}},
    {"framework/platform", {"framework/core"}},
    {"framework/streaming", {"framework/core"}},
    {"framework/controls", {"framework/graphics", "framework/platform"}},
    {"framework/forms", {"framework/controls", "framework/streaming"}},
    {"framework/storage", {"framework/core"}},
    {"framework/platform/headless", {"framework/platform", "framework/graphics"}},
    {"framework/platform/x11", {"framework/platform"}},
    {"framework/platform/win32", {"framework/platform", "framework/graphics"}},
    // The Windows implementations of graphics headers (GDI text, GDI+ drawing).
    {"framework/graphics/win32", {"framework/graphics"}},
    {"framework/storage/win32", {"framework/storage"}},
    {"styling", {"framework/forms"}},
    {"menus", {"styling"}},
    {"toolbar", {"menus", "framework/storage"}},
    {"app", {"toolbar"}},
    // A main.cpp (WinMain.cpp on Windows) is the program, built beside its folder's
    // layer: it picks the backend.
    {"program", {"app", "framework/platform/headless", "framework/platform/x11", "framework/platform/win32"}},
};

/// The folder itself and everything it may reach.
std::set<std::string> Reachable(const std::string& folder) {
    std::set<std::string> seen;
    std::vector<std::string> todo = {folder};
    while (!todo.empty()) {
        std::string next = todo.back();
        todo.pop_back();
        if (!seen.insert(next).second) continue;
        if (auto it = kUses.find(next); it != kUses.end())
            for (const std::string& used : it->second)
                todo.push_back(used);
    }
    return seen;
}

fs::path SourceRoot() {
    const char* dir = std::getenv("EMR_SOURCE_DIR");
    return fs::path(dir ? dir : ".") / "src";
}

struct TSourceFile {
    fs::path Path;
    std::string Folder; // relative to src/, with forward slashes
};

std::vector<TSourceFile> SourceFiles() {
    std::vector<TSourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot())) {
        if (!entry.is_regular_file()) continue;
        auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        std::string folder = fs::relative(entry.path().parent_path(), SourceRoot()).generic_string();
        if (entry.path().filename() == "main.cpp" || entry.path().filename() == "WinMain.cpp")
            folder = "program";
        files.push_back({entry.path(), folder});
    }
    return files;
}

} // namespace

TEST(Layering, EveryFolderHasAPlaceInTheGraph) {
    std::set<std::string> folders;
    for (const TSourceFile& file : SourceFiles())
        folders.insert(file.Folder);
    EXPECT_GE(folders.size(), kUses.size() - 2);
    for (const std::string& folder : folders)
        EXPECT_TRUE(kUses.contains(folder)) << "src/" << folder << " is in no layer";
}

TEST(Layering, NoFileIncludesALayerItDoesNotBuildOn) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> violations;
    int checked = 0;
    for (const TSourceFile& file : SourceFiles()) {
        const std::set<std::string> allowed = Reachable(file.Folder);
        std::ifstream in(file.Path);
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            ++checked;
            const std::string target = m[1];
            const auto slash = target.rfind('/');
            // A bare name is a file of the same folder; a relative path would
            // slip past the build's include trees.
            const std::string folder = slash == std::string::npos ? file.Folder : target.substr(0, slash);
            if (target.find("..") != std::string::npos || !allowed.contains(folder))
                violations.push_back(file.Path.string() + ":" + std::to_string(number) + ": " + line);
        }
    }
    EXPECT_GT(checked, 500);
    for (const auto& v : violations)
        ADD_FAILURE() << v;
}

TEST(Layering, TheGraphHasNoCycles) {
    for (const auto& [folder, uses] : kUses)
        for (const std::string& used : uses)
            EXPECT_FALSE(Reachable(used).contains(folder)) << folder << " and " << used << " use each other";
}
