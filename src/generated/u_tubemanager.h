// The tube manager's working state: its own scene with copies of the model's parts and hoses,
// four cameras, the hose tree, and the editing operations the window's controls call.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generated/u_pipeex.h"
#include "view/u_scene.h"

namespace kx {

/// The four views: the perspective one and the orthographic side, front and top views.
enum class TTubeView : uint8_t { View3D = 0, Side = 1, Front = 2, Top = 3 };
/// The tools on the right; one is down at a time.
enum class TTubeTool : uint8_t { RotatePan, Move, NewPin };
/// The information messages the manager shows (D_TUBEMANAGER keys).
enum class TTubeMessage : uint8_t { None = 0, NoHose = 27, NoNode = 28, NotBeforeFirst = 29 };

/// The model's parts the manager shows, as plain copies.
struct TTubePartCopy {
    TVector3f Position, Direction, Up, Scale{1, 1, 1};
    TMeshPtr Mesh;
    TColor4f Colour;
    bool Visible = true;  ///< hidden parts (other build phases) stay hidden
};

/// One hose in the manager's tree: its label, its image, its hose and the markers of its
/// nodes in node order (a marker's index is its node's index).
struct TTubeEntry {
    std::string Text;
    int Image = 0;
    TPipeEx* Hose = nullptr;
    std::vector<TFreeForm*> Markers;
};

/// What is chosen in the tree: a hose, or one node of it.
struct TTubeSelection {
    int Hose = -1;
    int Node = -1;  ///< -1: the hose itself
    bool Empty() const { return Hose < 0; }
    bool operator==(const TTubeSelection&) const = default;
};

/// A mouse event in one of the views: pixel position from the top left, the view's size.
struct TTubePointer {
    TTubeView View = TTubeView::Side;
    float X = 0, Y = 0;
    int Width = 1, Height = 1;
    bool Left = true;
    bool Right = false;
    bool Control = false;
};

class TTubeManager {
public:
    static constexpr uint32_t kSelectedHoseColour = 0xFF80FF;
    static constexpr int kPinImage = 5;
    static constexpr float kMinSceneScale = 0.01f;

    TTubeManager();
    TTubeManager(const TTubeManager&) = delete;
    TTubeManager& operator=(const TTubeManager&) = delete;

    // --- Filling from the model and writing back ----------------------------------------------
    void AddPart(const TTubePartCopy& part);
    /// The perspective camera takes this pose and the target this position.
    void SetStartCamera(const TVector3f& position, const TVector3f& direction, const TVector3f& up,
                        const TVector3f& target);
    /// A copy of a model hose, labelled by its Tag with its number.
    void AddHoseCopy(const TPipeEx& hose);
    /// The hoses to write back, in tree order (every hose drawn in its own colour first).
    std::vector<const TPipeEx*> HosesForModel();

    // --- Scene and views ----------------------------------------------------------------------
    TScene& Scene() { return m_scene; }
    TSceneCamera& Camera(TTubeView view) { return *m_cameras[static_cast<size_t>(view)]; }
    TDummyCube& Target() { return *m_target; }
    /// The header button of an orthographic view: looks at the scene from the other side.
    void FlipView(TTubeView view);
    bool Flipped(TTubeView view) const { return m_flipped[static_cast<size_t>(view)]; }
    /// `light1` to the perspective camera.
    void LightToCamera();

    // --- Tree ---------------------------------------------------------------------------------
    const std::vector<TTubeEntry>& Entries() const { return m_entries; }
    const TTubeSelection& Selection() const { return m_selection; }
    /// The tree's chosen node changed (treeChange).
    void Select(TTubeSelection selection);
    void DeSelectAllTubes();
    /// "Stützpunkt n".
    static std::string PinText(size_t number);
    bool CanDelete() const { return !m_selection.Empty(); }
    bool CanMoveUp() const;
    bool CanMoveDown() const;

    // --- Editing ------------------------------------------------------------------------------
    /// A new hose of kind 1-5, selected; the new-node tool goes down. Returns its index.
    int NewSchlauch(int kind);
    /// Appends a node at p to the hose and its marker and tree node.
    void AddPin(const TVector3f& p, int hose);
    /// Deletes the chosen node (renumbering the rest) or the chosen hose.
    void DeleteSelected();
    void MoveNodeUp();
    void MoveNodeDown();
    /// "Zwischenpunkt einfügen": a node halfway between the chosen one and the one before.
    TTubeMessage InsertHalfway();
    /// Sets the chosen hose's own colour (drawn when the selection changes or on close).
    void SetSelectedColour(uint32_t colour);
    void SetSelectedPhase(int phase);
    TPipeEx* SelectedHose() const;

    // --- Grid and tools -----------------------------------------------------------------------
    bool GridOn() const { return m_gridOn; }
    void SetGridOn(bool on) { m_gridOn = on; }
    int GridDivisions() const { return m_gridDivisions; }
    /// A grid menu entry: the divisions per scene unit, and the grid goes on.
    void SetGridDivisions(int divisions);
    /// Each coordinate truncated toward zero to the grid when the grid is on.
    TVector3f doGrid(const TVector3f& p) const;
    TTubeTool Tool() const { return m_tool; }
    void SetTool(TTubeTool tool);
    const TVector3f& LastPin() const { return m_lastPin; }
    void SetLastPin(const TVector3f& p) { m_lastPin = p; }

    // --- Mouse --------------------------------------------------------------------------------
    /// The world point of a pixel of an orthographic view, on the grid.
    TVector3f WorldPoint(const TTubePointer& p) const;
    /// Returns the message to show, if any.
    TTubeMessage MouseDown(const TTubePointer& p);
    void MouseMove(const TTubePointer& p);

private:
    TTubeEntry& AddEntry(std::string text, int image, TPipeEx& hose);
    TFreeForm& AddMarker(TTubeEntry& entry, const TVector3f& p);
    void Renumber(TTubeEntry& entry);
    void ShowSelection();
    /// The node position from a view's plane coordinates and the third one of `rest`.
    static TVector3f InPlane(TTubeView view, const TVector3f& plane, const TVector3f& rest);
    void PlaceCamerasAndLights();

    TScene m_scene;
    TDummyCube* m_target = nullptr;  // dcCAM
    TDummyCube* m_parts = nullptr;   // dcFF
    TDummyCube* m_tubes = nullptr;   // dcTubes
    std::array<TSceneCamera*, 4> m_cameras{};
    std::array<TLightSource*, 4> m_lights{};
    std::array<bool, 4> m_flipped{};
    std::vector<TTubeEntry> m_entries;
    TTubeSelection m_selection;
    TVector3f m_lastPin{0, 0, 0};
    int m_gridDivisions = 10;
    bool m_gridOn = false;
    TTubeTool m_tool = TTubeTool::RotatePan;
    std::array<std::optional<std::array<float, 2>>, 4> m_lastMouse;
};

/// A unit sphere of a few hundred triangles, shared by every marker.
TMeshPtr MarkerSphereMesh();

}  // namespace kx
