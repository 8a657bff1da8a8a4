#pragma once
// An accessible tree made by hand, for testing a platform bridge without controls.
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/platform/Accessible.h"

namespace emr::platform {

class TFakeAccessibleSource final : public AccessibleSource {
public:
    /// Adds a node under `parent` (0: a window's root, for `window`); returns its id.
    AccessibleId Add(AccessibleId parent, WindowId window, TAccessibleRole role, std::string name,
                     const TRect& extents, TAccessibleStates states = asEnabled | asVisible | asShowing) {
        const AccessibleId id = next_++;
        TAccessibleNode node;
        node.Role = role;
        node.Name = std::move(name);
        node.States = states;
        node.Extents = extents;
        node.Window = window;
        node.Parent = parent;
        Nodes[id] = node;
        if (parent)
            Nodes[parent].Children.push_back(id);
        else
            Roots[window] = id;
        return id;
    }

    /// Takes a node and what is below it out of the tree, as a destroyed control.
    void Remove(AccessibleId id) {
        auto it = Nodes.find(id);
        if (it == Nodes.end()) return;
        for (AccessibleId child : std::vector<AccessibleId>(it->second.Children))
            Remove(child);
        if (AccessibleId parent = Nodes[id].Parent) std::erase(Nodes[parent].Children, id);
        Nodes.erase(id);
    }

    std::vector<WindowId> TopLevelWindows() override {
        std::vector<WindowId> windows;
        for (const auto& [window, root] : Roots)
            windows.push_back(window);
        return windows;
    }
    AccessibleId WindowRoot(WindowId window) override {
        auto it = Roots.find(window);
        return it == Roots.end() ? 0 : it->second;
    }
    std::optional<TAccessibleNode> Describe(AccessibleId id) override {
        auto it = Nodes.find(id);
        if (it == Nodes.end()) return std::nullopt;
        return it->second;
    }
    AccessibleId At(TPoint screen) override {
        for (const auto& [window, root] : Roots)
            if (AccessibleId hit = Deepest(root, screen)) return hit;
        return 0;
    }
    AccessibleId Focused() override { return FocusedNode; }
    bool DoAction(AccessibleId id, int index) override {
        auto it = Nodes.find(id);
        if (it == Nodes.end() || index < 0 || index >= static_cast<int>(it->second.Actions.size()))
            return false;
        ActionsDone.emplace_back(id, index);
        return true;
    }

    std::map<AccessibleId, TAccessibleNode> Nodes;
    std::map<WindowId, AccessibleId> Roots;
    AccessibleId FocusedNode = 0;
    /// Each action run, in order: node and action number.
    std::vector<std::pair<AccessibleId, int>> ActionsDone;

private:
    AccessibleId Deepest(AccessibleId id, TPoint p) {
        const TAccessibleNode& node = Nodes[id];
        if (!node.Extents.Contains(p)) return 0;
        for (AccessibleId child : node.Children)
            if (AccessibleId hit = Deepest(child, p)) return hit;
        return id;
    }

    AccessibleId next_ = 1;
};

} // namespace emr::platform
