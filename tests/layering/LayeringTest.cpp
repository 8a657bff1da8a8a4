// Lower layers never include higher ones: framework < styling < menus < toolbar < app.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kLayers = {"framework", "styling", "menus", "toolbar", "app"};

int Rank(const std::string& layer) {
    for (std::size_t i = 0; i < kLayers.size(); ++i)
        if (kLayers[i] == layer) return static_cast<int>(i);
    return -1;
}

fs::path SourceRoot() {
    const char* dir = std::getenv("EMR_SOURCE_DIR");
    return fs::path(dir ? dir : ".") / "src";
}

} // namespace

TEST(Layering, NoLayerIncludesAHigherOne) {
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+)/)re");
    std::vector<std::string> violations;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot())) {
        if (!entry.is_regular_file()) continue;
        auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        ++files;
        std::string layer = fs::relative(entry.path(), SourceRoot()).begin()->string();
        int own = Rank(layer);
        std::ifstream in(entry.path());
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            std::smatch m;
            if (std::regex_search(line, m, include) && Rank(m[1]) > own)
                violations.push_back(entry.path().string() + ":" + std::to_string(number) + ": " + line);
        }
    }
    EXPECT_GT(files, 0);
    for (const auto& v : violations) ADD_FAILURE() << v;
}

TEST(Layering, FrameworkGraphicsKnowsNothingOfControls) {
    const std::regex include(R"re(#\s*include\s*"framework/(controls|forms|platform|streaming)/)re");
    for (const auto& entry : fs::directory_iterator(SourceRoot() / "framework" / "graphics")) {
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line))
            EXPECT_FALSE(std::regex_search(line, include)) << entry.path() << ": " << line;
    }
}
