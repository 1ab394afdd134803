// The sequence program of a model: a flowchart of blocks and connections, its text format, its
// own file (.kxl), and starting and stopping it with one runner per start block.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sequence/u_ablaufblocks.h"
#include "sequence/u_ablaufrun.h"

namespace kx {

/// A point on the editor's surface, in pixels.
struct TAblaufPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TAblaufPoint&) const = default;
};

/// A connection from output `Conn1` of `Block1` to input `Conn2` of `Block2`. Several may
/// leave one output or enter one input; a block may be joined to itself.
struct TCon {
    TBlock* Block1 = nullptr;
    TBlock* Block2 = nullptr;
    int32_t Conn1 = 0;
    int32_t Conn2 = 0;
};

/// The outcome of an operation the user started; on failure, the text to show.
struct TAblaufResult {
    bool Success = false;
    std::string Message;
    explicit operator bool() const { return Success; }
    static TAblaufResult Ok() { return {true, {}}; }
    static TAblaufResult Failed(std::string message) { return {false, std::move(message)}; }
};

/// The model's one sequence program. Everything but the runners lives on the main thread.
class TAblauf {
public:
    TAblauf();
    /// Stops a running program first.
    ~TAblauf();
    TAblauf(const TAblauf&) = delete;
    TAblauf& operator=(const TAblauf&) = delete;

    // --- The flowchart -----------------------------------------------------------------------
    const std::vector<std::unique_ptr<TBlock>>& Blocks() const { return m_blocks; }
    const std::vector<TCon>& Connections() const { return m_connections; }
    /// The 1-based position of the block in Blocks, 0 when it is not one of them.
    size_t BlockNumber(const TBlock* block) const;

    /// A new block of the kind dropped at (x, y), appended to Blocks.
    TBlock& AddBlock(TBlockKind kind, int32_t x, int32_t y);
    /// The last block whose rectangle strictly contains the point, or nullptr.
    TBlock* BlockAt(int32_t x, int32_t y) const;
    /// The 1-based index of the block's connector nearest to the point (the lowest index on a
    /// tie), -1 for a block without connectors.
    static int NearestConnector(const TBlock& block, int32_t x, int32_t y);
    /// That connector's position on the surface, or the point itself.
    static TAblaufPoint NearestConnectorPos(const TBlock& block, int32_t x, int32_t y);
    /// Where connector `index` of the block lies on the surface.
    static TAblaufPoint ConnectorPos(const TBlock& block, int index);
    /// Joins the source's connector nearest to `sourcePoint` to the target's nearest to
    /// `targetPoint`; refused unless that runs from an output to an input.
    TAblaufResult Connect(TBlock& source, TAblaufPoint sourcePoint, TBlock& target,
                          TAblaufPoint targetPoint);
    /// Removes the block and every connection that touches it.
    void DeleteBlock(const TBlock* block);
    /// Removes every connection leaving or entering the block at its connector nearest to
    /// the point.
    void DeleteConnection(const TBlock& block, TAblaufPoint point);
    /// Moves a block's corner.
    void MoveBlock(TBlock& block, int32_t x, int32_t y);
    /// The editor changed a block's parameters.
    void NotifyChanged();
    /// Frees every block and connection.
    void Clear();

    /// The block that output `output` of `block` leads to: the last connection in list order
    /// that leaves the block there, or enters it there, decides; nullptr when none does.
    TBlock* NextBlock(const TBlock* block, int output) const;

    /// Called on every change of the flowchart (main thread).
    void SetOnChanged(std::function<void()> onChanged) { m_onChanged = std::move(onChanged); }
    /// Called after the model's handler: for the window that shows the flowchart.
    void SetOnShownChanged(std::function<void()> onChanged) {
        m_onShownChanged = std::move(onChanged);
    }
    /// Grows with every change: whoever keeps the program's text can tell it is still current.
    uint64_t Revision() const { return m_revision; }

    // --- Text format --------------------------------------------------------------------------
    /// The [LOGIKCOMMON], [LOGIKBLOCKn] and [LOGIKCONNn] sections.
    std::vector<std::string> SaveToList() const;
    /// Replaces the program by the one in the lines (other sections are ignored). A block of
    /// unknown type is left out without renumbering the blocks after it; a connection naming
    /// a block that is not there is left out and noted on the trace stack.
    void LoadFromList(const std::vector<std::string>& lines);

    /// "name.kxl" unless the chosen name holds the extension already, in any letter case.
    static std::string KxlFileName(const std::string& chosen);
    /// Writes the program's lines as a file of its own (atomically).
    TAblaufResult ExportToFile(const std::filesystem::path& file) const;
    /// Replaces the program by the file's; a file that cannot be read or holds no program
    /// leaves the program as it was.
    TAblaufResult ImportFromFile(const std::filesystem::path& file);

    // --- Running ------------------------------------------------------------------------------
    /// Variables to 0, then one runner per start block on private copies of the blocks.
    void StartProgram();
    /// Ends every wait, waits for every runner and discards the effects not yet carried out.
    void StopProgram();
    bool Running() const { return m_run != nullptr; }
    /// The current run (nullptr when stopped): its runners and whether they finished.
    TAblaufRun* Run() const { return m_run.get(); }

    TAblaufVariables& Variables() { return m_variables; }
    TJoystickState& Joystick() { return m_joystick; }
    /// Where collision blocks ask for a rule's state; set before the program starts.
    void SetCollisionSource(TCollisionSource source) { m_collisions = std::move(source); }
    /// What the runners asked of the model since the last call, oldest first.
    std::vector<TAblaufEffect> TakeEffects() { return m_effects.Take(); }

private:
    void Changed();

    std::vector<std::unique_ptr<TBlock>> m_blocks;
    std::vector<TCon> m_connections;
    std::function<void()> m_onChanged;
    std::function<void()> m_onShownChanged;
    uint64_t m_revision = 0;

    TAblaufVariables m_variables;
    TJoystickState m_joystick;
    TAblaufEffects m_effects;
    TCollisionSource m_collisions;
    std::unique_ptr<TAblaufRun> m_run;
    std::vector<uint64_t> m_runIds;  ///< the original block of each copy the run walks
};

}  // namespace kx
