// A hose as a scene object: a tube of constant radius through its nodes, below the hoses node.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generated/u_schlauch.h"
#include "generated/u_tubegeometry.h"
#include "view/u_sceneobject.h"

namespace kx {

/// Nodes are in the coordinates of the hoses node. Every change of the shape (nodes, radius,
/// slices, division, mode, parts) raises the Geometry counter, so a view re-tessellates only
/// this hose; the display colour raises the Material counter.
class TPipeEx : public TSceneObject {
public:
    static constexpr int kSlices = 16;
    static constexpr int kDivision = 10;

    explicit TPipeEx(std::string name = {});

    // --- Nodes --------------------------------------------------------------------------------
    const std::vector<TVector3f>& Nodes() const { return m_nodes; }
    size_t NodeCount() const { return m_nodes.size(); }
    void AddNode(const TVector3f& p);
    void AddNode(float x, float y, float z) { AddNode(TVector3f{x, y, z}); }
    void ClearNodes();
    /// The node at index, or nothing outside the list.
    std::optional<TVector3f> Node(size_t index) const;
    /// Out-of-range indices change nothing.
    void SetNode(size_t index, const TVector3f& p);
    void DeleteNode(size_t index);
    /// Moves the node at `from` so that it stands at index `to` afterwards.
    void MoveNode(size_t from, size_t to);
    void SetNodes(std::vector<TVector3f> nodes);

    // --- Shape --------------------------------------------------------------------------------
    float Radius() const { return m_radius; }
    void SetRadius(float r);
    int Slices() const { return m_slices; }
    void SetSlices(int slices);  ///< at least 3
    int Division() const { return m_division; }
    void SetDivision(int division);  ///< at least 1
    TSplineMode SplineMode() const { return m_mode; }
    void SetSplineMode(TSplineMode mode);
    uint8_t Parts() const { return m_parts; }
    void SetParts(uint8_t parts);
    TTubeShape Shape() const;

    // --- What it is and how it looks ----------------------------------------------------------
    uint32_t Colour() const { return m_colour; }  ///< its own colour (0x00BBGGRR)
    void SetColour(uint32_t c) { m_colour = c & 0xFFFFFF; }
    uint32_t DisplayColour() const { return m_displayColour; }  ///< what the view draws
    void SetDisplayColour(uint32_t c);
    int32_t Phase() const { return m_phase; }  ///< 0: not bound to a build phase
    void SetPhase(int32_t phase) { m_phase = phase; }
    int32_t Tag() const { return m_tag; }  ///< hose kind (the tube manager's icon)
    void SetTag(int32_t tag) { m_tag = tag; }

    /// Marks the hose as changed, so that every view draws it anew.
    void StructureChanged() { NoteGeometryChanged(); }

    // --- Export mesh --------------------------------------------------------------------------
    /// Builds the triangle list anew from the nodes.
    void BuildMesh();
    const std::vector<TPipeVertex>& Triangles() const { return m_triangles; }

    // --- The model file's record --------------------------------------------------------------
    /// Kind, shape, colours, phase and nodes as the model file keeps them.
    THoseData Record() const;
    /// Takes everything of the record but its name; the record's colour becomes the display
    /// colour too.
    void Assign(const THoseData& record);
    /// Copies kind, shape, colours, phase and nodes of another hose (not its name).
    void CopyFrom(const TPipeEx& other);

private:
    std::vector<TVector3f> m_nodes;
    std::vector<TPipeVertex> m_triangles;
    float m_radius = 0.2f;
    int m_slices = kSlices;
    int m_division = kDivision;
    TSplineMode m_mode = TSplineMode::lsmLines;
    uint8_t m_parts = ppOutside | ppInside;
    uint32_t m_colour = 0xFFFFFF;
    uint32_t m_displayColour = 0xFFFFFF;
    int32_t m_phase = 0;
    int32_t m_tag = 0;
};

/// The hoses below a hoses node, in child order (other children are skipped).
std::vector<TPipeEx*> HosesBelow(const TSceneObject& hoseRoot);

}  // namespace kx
