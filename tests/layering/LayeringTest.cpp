// Every folder of src/ is a layer that may include only its own headers and
// those of the layers below it. The build enforces the graph through per-layer
// include trees and writes the graph it built (every layer of every platform) to
// a file; this test reads that file, so the two never disagree, names the
// offending line, and fails for a folder that nobody placed in the graph.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

/// One line of the build's graph: a layer (its folders) or a program (its entry
/// files), and the layers it uses directly.
struct TNode {
    std::vector<std::string> Places; // relative to the source tree: "src/framework/core"
    std::vector<std::string> Uses;
};

struct TGraph {
    std::map<std::string, TNode> Layers;
    std::map<std::string, TNode> Programs;
};

TGraph ReadGraph() {
    TGraph graph;
    std::ifstream in(EMR_LAYER_GRAPH);
    EXPECT_TRUE(in) << "the build writes its layer graph to " << EMR_LAYER_GRAPH;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, name, word;
        words >> kind >> name;
        TNode node;
        bool uses = false;
        while (words >> word) {
            if (word == ":")
                uses = true;
            else
                (uses ? node.Uses : node.Places).push_back(word);
        }
        (kind == "program" ? graph.Programs : graph.Layers)[name] = node;
    }
    return graph;
}

const TGraph& Graph() {
    static const TGraph graph = ReadGraph();
    return graph;
}

/// The folders (below src/) a layer's files may include from: its own and those
/// of every layer it reaches.
std::set<std::string> Visible(const std::vector<std::string>& layers) {
    std::set<std::string> seen, folders;
    std::vector<std::string> todo = layers;
    while (!todo.empty()) {
        const std::string next = todo.back();
        todo.pop_back();
        if (!seen.insert(next).second) continue;
        auto it = Graph().Layers.find(next);
        if (it == Graph().Layers.end()) continue;
        for (const std::string& place : it->second.Places)
            if (place.starts_with("src/")) folders.insert(place.substr(4));
        for (const std::string& used : it->second.Uses)
            todo.push_back(used);
    }
    return folders;
}

fs::path SourceDir() {
    const char* dir = std::getenv("EMR_SOURCE_DIR");
    return fs::path(dir ? dir : ".");
}

struct TSourceFile {
    fs::path Path;
    std::string Folder; // relative to src/, with forward slashes
    std::string Layer;  // "" when the file's folder is in no layer
    std::set<std::string> Allowed;
};

std::vector<TSourceFile> SourceFiles() {
    std::map<std::string, std::string> layerOf; // folder below src/ -> layer
    for (const auto& [name, node] : Graph().Layers)
        for (const std::string& place : node.Places)
            if (place.starts_with("src/")) layerOf[place.substr(4)] = name;
    std::map<std::string, std::string> programOf; // file below the source tree -> program
    for (const auto& [name, node] : Graph().Programs)
        for (const std::string& place : node.Places)
            programOf[place] = name;

    std::vector<TSourceFile> files;
    const fs::path src = SourceDir() / "src";
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        auto ext = entry.path().extension();
        if (ext != ".h" && ext != ".cpp") continue;
        TSourceFile file{
            entry.path(), fs::relative(entry.path().parent_path(), src).generic_string(), "", {}};
        const std::string path = fs::relative(entry.path(), SourceDir()).generic_string();
        if (auto program = programOf.find(path); program != programOf.end()) {
            file.Layer = program->second;
            file.Allowed = Visible(Graph().Programs.at(program->second).Uses);
            file.Allowed.insert(file.Folder);
        } else if (auto layer = layerOf.find(file.Folder); layer != layerOf.end()) {
            file.Layer = layer->second;
            file.Allowed = Visible({layer->second});
        }
        files.push_back(file);
    }
    return files;
}

} // namespace

TEST(Layering, EveryFolderHasAPlaceInTheGraph) {
    EXPECT_GE(Graph().Layers.size(), 14u);
    EXPECT_GE(Graph().Programs.size(), 2u) << "the program of each platform";
    std::set<std::string> homeless;
    for (const TSourceFile& file : SourceFiles())
        if (file.Layer.empty()) homeless.insert(file.Folder);
    for (const std::string& folder : homeless)
        ADD_FAILURE() << "src/" << folder << " is in no layer";
}

TEST(Layering, NoFileIncludesALayerItDoesNotBuildOn) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> violations;
    int checked = 0;
    for (const TSourceFile& file : SourceFiles()) {
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
            if (target.find("..") != std::string::npos || !file.Allowed.contains(folder))
                violations.push_back(file.Path.string() + ":" + std::to_string(number) + ": " + line);
        }
    }
    EXPECT_GT(checked, 500);
    for (const auto& v : violations)
        ADD_FAILURE() << v;
}

TEST(Layering, StylingDoesNotSeeTheSettingsStores) {
    // The stores serve the toolbar's layout persistence and the program, not painting.
    EXPECT_FALSE(Visible({"styling"}).contains("framework/storage"));
    EXPECT_FALSE(Visible({"menus"}).contains("framework/storage"));
    EXPECT_TRUE(Visible({"toolbar"}).contains("framework/storage"));
}

TEST(Layering, TheGraphHasNoCycles) {
    for (const auto& [name, node] : Graph().Layers)
        for (const std::string& used : node.Uses) {
            EXPECT_TRUE(Graph().Layers.contains(used)) << name << " uses " << used << ", which is no layer";
            for (const std::string& place : node.Places) {
                if (!place.starts_with("src/")) continue;
                EXPECT_FALSE(Visible({used}).contains(place.substr(4)))
                    << name << " and " << used << " use each other";
            }
        }
}
