// Undo snapshots of the placed parts and the bounded list that keeps them.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "model/u_TBauteil.h"

namespace kx {

/// One snapshot: copies of every part record in parts-list order, with the label of the
/// operation that took it.
struct TUndoData {
    TPartsSnapshot Parts;
    std::string Action;
    std::string Argument;  ///< usually the name of the part concerned; may be empty
};

/// The undo list, oldest first. It keeps the newest MaxSteps snapshots: a long session
/// drops its oldest steps instead of growing without end.
class TUndoList {
public:
    static constexpr size_t MaxSteps = 100;

    size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    const TUndoData& Last() const { return m_items.back(); }
    const TUndoData& operator[](size_t i) const { return m_items[i]; }

    void Push(TUndoData data);
    /// Takes the newest snapshot out of the list.
    TUndoData Pop();
    void Clear() { m_items.clear(); }

private:
    std::deque<TUndoData> m_items;
};

}  // namespace kx
