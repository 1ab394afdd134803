// The parts tree as data: build-phase nodes with their part nodes.
#include "model/u_partstree.h"

#include <algorithm>
#include <stdexcept>

namespace kx {

const TPartsTreeNode& TPartsTree::Node(TTreePos pos) const {
    const TPhaseTreeNode& phase = m_nodes.at(static_cast<size_t>(pos.Phase));
    if (pos.Child < 0) {
        return phase;
    }
    return phase.Children.at(static_cast<size_t>(pos.Child));
}

int TPartsTree::AddPhaseNode(std::string text, int image, int phase) {
    return InsertPhaseNode(m_nodes.size(), std::move(text), image, phase);
}

int TPartsTree::InsertPhaseNode(size_t row, std::string text, int image, int phase) {
    TPhaseTreeNode node;
    node.Text = std::move(text);
    node.Image = image;
    node.StateIndex = phase;
    row = std::min(row, m_nodes.size());
    m_nodes.insert(m_nodes.begin() + static_cast<std::ptrdiff_t>(row), std::move(node));
    return static_cast<int>(row);
}

TTreePos TPartsTree::AddPartNode(int phaseRow, TPartsTreeNode node) {
    auto& children = m_nodes.at(static_cast<size_t>(phaseRow)).Children;
    children.push_back(std::move(node));
    return {phaseRow, static_cast<int>(children.size()) - 1};
}

int TPartsTree::FindPhase(int phase) const {
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i].StateIndex == phase) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<TTreePos> TPartsTree::FindText(std::string_view text) const {
    for (size_t p = 0; p < m_nodes.size(); ++p) {
        if (m_nodes[p].Text == text) {
            return TTreePos{static_cast<int>(p), -1};
        }
        const auto& children = m_nodes[p].Children;
        for (size_t c = 0; c < children.size(); ++c) {
            if (children[c].Text == text) {
                return TTreePos{static_cast<int>(p), static_cast<int>(c)};
            }
        }
    }
    return std::nullopt;
}

void TPartsTree::Remove(TTreePos pos) {
    if (pos.Phase < 0 || static_cast<size_t>(pos.Phase) >= m_nodes.size()) {
        return;
    }
    if (pos.Child < 0) {
        m_nodes.erase(m_nodes.begin() + pos.Phase);
        return;
    }
    auto& children = m_nodes[static_cast<size_t>(pos.Phase)].Children;
    if (static_cast<size_t>(pos.Child) < children.size()) {
        children.erase(children.begin() + pos.Child);
    }
}

void TPartsTree::SortPhases() {
    std::stable_sort(m_nodes.begin(), m_nodes.end(),
                     [](const TPhaseTreeNode& a, const TPhaseTreeNode& b) {
                         return a.StateIndex < b.StateIndex;
                     });
}

int TPartsTree::HighestStateIndex() const {
    int highest = 0;
    for (const auto& p : m_nodes) {
        highest = std::max(highest, p.StateIndex);
        for (const auto& c : p.Children) {
            highest = std::max(highest, c.StateIndex);
        }
    }
    return highest;
}

size_t TPartsTree::NodeCount() const {
    size_t n = m_nodes.size();
    for (const auto& p : m_nodes) {
        n += p.Children.size();
    }
    return n;
}

}  // namespace kx
