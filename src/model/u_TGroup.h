// A named group of placed parts: the names of its members, without duplicates.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kx {

class TGroup {
public:
    std::string Name = "Gruppe";
    std::vector<std::string> Members;  ///< part names, no duplicates
    bool Internal = false;             ///< kept and saved, but not shown in the groups tree

    /// Appends the name unless it is already a member (names compared exactly).
    void Add(const std::string& name);
    bool Contains(const std::string& name) const;
    /// Deletes the first equal member; false when there was none.
    bool Remove(const std::string& name);
};

/// A node of the groups tree: a group (state index 0, image 12, Group set) with one child per
/// member (state index 1, image 48, Group of its parent).
struct TGroupTreeNode {
    std::string Text;
    int StateIndex = 0;
    int Image = 12;
    TGroup* Group = nullptr;
    std::vector<TGroupTreeNode> Children;
};

/// A node of the groups tree: its group and the member's row (-1: the group node itself).
struct TGroupTreePos {
    TGroup* Group = nullptr;
    int Member = -1;
    bool operator==(const TGroupTreePos&) const = default;
};

/// The groups tree's nodes: every group that is not internal, in list order.
std::vector<TGroupTreeNode> BuildGroupsTree(const std::vector<std::unique_ptr<TGroup>>& groups);

}  // namespace kx
