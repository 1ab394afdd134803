// A named group of placed parts.
#include "model/u_TGroup.h"

#include <algorithm>

namespace kx {

void TGroup::Add(const std::string& name) {
    if (!Contains(name)) {
        Members.push_back(name);
    }
}

bool TGroup::Contains(const std::string& name) const {
    return std::find(Members.begin(), Members.end(), name) != Members.end();
}

bool TGroup::Remove(const std::string& name) {
    const auto it = std::find(Members.begin(), Members.end(), name);
    if (it == Members.end()) {
        return false;
    }
    Members.erase(it);
    return true;
}

std::vector<TGroupTreeNode> BuildGroupsTree(const std::vector<std::unique_ptr<TGroup>>& groups) {
    std::vector<TGroupTreeNode> nodes;
    for (const auto& g : groups) {
        if (g->Internal) {
            continue;
        }
        TGroupTreeNode node;
        node.Text = g->Name;
        node.Group = g.get();
        for (const std::string& member : g->Members) {
            node.Children.push_back({member, 1, 48, g.get(), {}});
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

}  // namespace kx
