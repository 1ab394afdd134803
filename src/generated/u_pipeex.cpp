// A hose as a scene object: its nodes, shape, colours and export mesh.
#include "generated/u_pipeex.h"

#include <cmath>
#include <utility>

namespace kx {

TPipeEx::TPipeEx(std::string name) : TSceneObject(TSceneObjectKind::Pipe, std::move(name)) {}

void TPipeEx::AddNode(const TVector3f& p) {
    m_nodes.push_back(p);
    NoteGeometryChanged();
}

void TPipeEx::ClearNodes() {
    if (!m_nodes.empty()) {
        m_nodes.clear();
        NoteGeometryChanged();
    }
}

std::optional<TVector3f> TPipeEx::Node(size_t index) const {
    if (index >= m_nodes.size()) {
        return std::nullopt;
    }
    return m_nodes[index];
}

void TPipeEx::SetNode(size_t index, const TVector3f& p) {
    if (index < m_nodes.size() && !(m_nodes[index] == p)) {
        m_nodes[index] = p;
        NoteGeometryChanged();
    }
}

void TPipeEx::DeleteNode(size_t index) {
    if (index < m_nodes.size()) {
        m_nodes.erase(m_nodes.begin() + static_cast<std::ptrdiff_t>(index));
        NoteGeometryChanged();
    }
}

void TPipeEx::MoveNode(size_t from, size_t to) {
    if (from >= m_nodes.size() || to >= m_nodes.size() || from == to) {
        return;
    }
    const TVector3f p = m_nodes[from];
    m_nodes.erase(m_nodes.begin() + static_cast<std::ptrdiff_t>(from));
    m_nodes.insert(m_nodes.begin() + static_cast<std::ptrdiff_t>(to), p);
    NoteGeometryChanged();
}

void TPipeEx::SetNodes(std::vector<TVector3f> nodes) {
    m_nodes = std::move(nodes);
    NoteGeometryChanged();
}

void TPipeEx::SetRadius(float r) {
    if (std::isfinite(r) && r != m_radius) {
        m_radius = r;
        NoteGeometryChanged();
    }
}

void TPipeEx::SetSlices(int slices) {
    slices = slices < 3 ? 3 : slices;
    if (slices != m_slices) {
        m_slices = slices;
        NoteGeometryChanged();
    }
}

void TPipeEx::SetDivision(int division) {
    division = division < 1 ? 1 : division;
    if (division != m_division) {
        m_division = division;
        NoteGeometryChanged();
    }
}

void TPipeEx::SetSplineMode(TSplineMode mode) {
    if (mode != m_mode) {
        m_mode = mode;
        NoteGeometryChanged();
    }
}

void TPipeEx::SetParts(uint8_t parts) {
    if (parts != m_parts) {
        m_parts = parts;
        NoteGeometryChanged();
    }
}

TTubeShape TPipeEx::Shape() const {
    return {&m_nodes, m_radius, m_slices, m_division, m_mode, m_parts};
}

void TPipeEx::SetDisplayColour(uint32_t c) {
    c &= 0xFFFFFF;
    if (c != m_displayColour) {
        m_displayColour = c;
        NoteMaterialChanged();
    }
}

void TPipeEx::BuildMesh() {
    BuildTubeMesh(Shape(), m_triangles);
}

THoseData TPipeEx::Record() const {
    THoseData r;
    r.Name = Name();
    r.Radius = m_radius;
    r.Colour = m_colour;
    r.DisplayColour = m_displayColour;
    r.Phase = m_phase;
    r.Tag = m_tag;
    r.Smooth = m_mode == TSplineMode::lsmCubicSpline;
    r.Visible = Visible();
    r.Nodes = m_nodes;
    return r;
}

void TPipeEx::Assign(const THoseData& record) {
    SetRadius(record.Radius);
    SetColour(record.Colour);
    SetDisplayColour(record.Colour);
    SetPhase(record.Phase);
    SetTag(record.Tag);
    SetSplineMode(record.Smooth ? TSplineMode::lsmCubicSpline : TSplineMode::lsmLines);
    SetParts(ppOutside | ppInside);
    SetNodes(record.Nodes);
}

void TPipeEx::CopyFrom(const TPipeEx& other) {
    SetTag(other.Tag());
    SetRadius(other.Radius());
    SetDisplayColour(other.DisplayColour());
    SetColour(other.Colour());
    SetPhase(other.Phase());
    SetParts(other.Parts());
    SetSplineMode(other.SplineMode());
    SetNodes(other.Nodes());
}

std::vector<TPipeEx*> HosesBelow(const TSceneObject& hoseRoot) {
    std::vector<TPipeEx*> hoses;
    for (const auto& child : hoseRoot.Children()) {
        if (child->Kind() == TSceneObjectKind::Pipe) {
            hoses.push_back(static_cast<TPipeEx*>(child.get()));
        }
    }
    return hoses;
}

}  // namespace kx
