// The parts tree as data: build-phase nodes with their part nodes, mirrored by the window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TBauteil;

struct TPartsTreeNode {
    std::string Text;
    int Image = 0;
    int StateIndex = 0;        ///< a phase node's phase number; -1 for a part node
    TBauteil* Data = nullptr;  ///< a part node's record; none for a phase node
};

struct TPhaseTreeNode : TPartsTreeNode {
    std::vector<TPartsTreeNode> Children;
};

/// Where a node is: the phase node's row, and the part node's row below it (-1: the phase
/// node itself).
struct TTreePos {
    int Phase = -1;
    int Child = -1;
    bool operator==(const TTreePos&) const = default;
};

/// Top-level nodes are build phases, their children placed parts. The model changes it and
/// tells the window which node changed (TPartsTreeView).
class TPartsTree {
public:
    const std::vector<TPhaseTreeNode>& Nodes() const { return m_nodes; }
    size_t Count() const { return m_nodes.size(); }
    bool Empty() const { return m_nodes.empty(); }
    const TPhaseTreeNode& Phase(size_t row) const { return m_nodes[row]; }
    TPhaseTreeNode& Phase(size_t row) { return m_nodes[row]; }
    /// The node at pos (a phase node when pos.Child is -1).
    const TPartsTreeNode& Node(TTreePos pos) const;

    void Clear() { m_nodes.clear(); }
    /// Appends a phase node; returns its row.
    int AddPhaseNode(std::string text, int image, int phase);
    /// Inserts a phase node at row (at the end when row is past it); returns its row.
    int InsertPhaseNode(size_t row, std::string text, int image, int phase);
    /// Appends a part node below a phase node; returns its position.
    TTreePos AddPartNode(int phaseRow, TPartsTreeNode node);
    /// Row of the first phase node whose state index is phase, or -1.
    int FindPhase(int phase) const;
    /// The first node of any level (each phase node before its children) with that text.
    std::optional<TTreePos> FindText(std::string_view text) const;
    /// Removes a node (a phase node with its children).
    void Remove(TTreePos pos);
    /// Orders the phase nodes by phase number; part nodes keep their order.
    void SortPhases();
    /// The largest state index of all nodes (0 for an empty tree).
    int HighestStateIndex() const;
    /// Total number of nodes of both levels.
    size_t NodeCount() const;

private:
    std::vector<TPhaseTreeNode> m_nodes;
};

}  // namespace kx
