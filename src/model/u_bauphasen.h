// Build phases: the windows the model opens to choose phases, and the limits of the phase table.
#pragma once

#include <vector>

namespace kx {

/// Phase numbers with a visibility flag run from 1 to this; the stage chooser never offers
/// more lines and "Neue Bauphase" never makes a higher phase.
inline constexpr int kHighestFlaggedPhase = 199;

/// The two phase windows as the model sees them; the GUI opens them modally.
class TPhaseWindows {
public:
    virtual ~TPhaseWindows() = default;
    /// The stage chooser with lines 1..count, the first chosen: the chosen line (1-based), or
    /// 0 when cancelled.
    virtual int SelectStage(int count) = 0;
    /// The visible-phases window: visible[i] is phase i + 1. Returns true on OK, with the
    /// vector holding the check states; on cancel the vector is left as it was.
    virtual bool ChooseVisiblePhases(std::vector<bool>& visible) = 0;
};

/// No windows: every choice is cancelled.
class TNullPhaseWindows : public TPhaseWindows {
public:
    int SelectStage(int) override { return 0; }
    bool ChooseVisiblePhases(std::vector<bool>&) override { return false; }
};

/// The entries of the groups tree's popup menu that are shown.
struct TGroupsPopup {
    bool ShowOnly = false;      ///< "Nur diese Gruppe sichtbar"
    bool RemovePart = false;    ///< "Bauteil aus der Gruppe entfernen"
    bool AddSelection = false;  ///< "Selektion der Gruppe hinzufügen"
    bool Duplicate = false;     ///< "Gruppe duplizieren"
    bool Close = true;          ///< "Schließen"
    bool operator==(const TGroupsPopup&) const = default;
};

}  // namespace kx
