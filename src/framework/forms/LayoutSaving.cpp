#include "framework/forms/LayoutSaving.h"

#include <utility>
#include <vector>

namespace emr {

namespace {

std::vector<std::pair<int, TLayoutSaver>>& Savers() {
    static std::vector<std::pair<int, TLayoutSaver>> savers;
    return savers;
}

} // namespace

int AddLayoutSaver(TLayoutSaver saver) {
    static int nextId = 0;
    Savers().emplace_back(++nextId, std::move(saver));
    return nextId;
}

void RemoveLayoutSaver(int id) {
    std::erase_if(Savers(), [id](const auto& s) { return s.first == id; });
}

void SaveLayouts(TComponent& root) {
    // A copy: a saver may register or remove another.
    const std::vector<std::pair<int, TLayoutSaver>> savers = Savers();
    for (const auto& [id, saver] : savers)
        saver(root);
}

} // namespace emr
