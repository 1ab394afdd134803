// The model's hoses: the hose command's register, node operations by hose name, and the hoses
// node filled from files and from the tube manager.
#include <charconv>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"

namespace kx {

namespace {

/// "%8.4f" with the files' decimal comma, whatever the C locale says.
std::string FixedCoordinate(float value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                 std::chars_format::fixed, 4);
    std::string text(buffer, r.ptr);
    if (const size_t dot = text.find('.'); dot != std::string::npos) {
        text[dot] = ',';
    }
    if (text.size() < 8) {
        text.insert(0, 8 - text.size(), ' ');
    }
    return text;
}

}  // namespace

std::vector<TPipeEx*> TkxMain::Hoses() const {
    if (const TSceneObject* root = HoseRoot()) {
        return HosesBelow(*root);
    }
    return {};
}

TPipeEx* TkxMain::FindSchlauch(std::string_view name) const {
    for (TPipeEx* hose : Hoses()) {
        if (SameText(hose->Name(), name)) {
            return hose;
        }
    }
    return nullptr;
}

TPipeEx* TkxMain::NewSchlauch(int kind, std::string& name) {
    Stack().Push("tkxmain.NewSchlauch", kind);
    TSceneObject* root = HoseRoot();
    if (!root) {
        name.clear();
        return nullptr;
    }
    name = Language().GetText("MAINOBJ", 16, "Schlauch") + "_" +
           IntToStr(static_cast<int64_t>(m_hoseRegister.size() + 1));
    TSchlauch entry;
    entry.Name = name;
    entry.Colour = ModelHoseColour(kind);
    entry.Radius = ModelHoseRadius(kind);
    m_hoseRegister.push_back(entry);
    auto& hose = root->AddNewChild<TPipeEx>(name);
    hose.SetRadius(entry.Radius);
    hose.SetColour(entry.Colour);
    hose.SetDisplayColour(entry.Colour);
    hose.SetSplineMode(TSplineMode::lsmLines);
    hose.SetParts(ppOutside | ppInside);
    MarkModified();
    return &hose;
}

void TkxMain::UpdateSchlauchItems(std::vector<std::string>& list) const {
    list.clear();
    for (const TSchlauch& entry : m_hoseRegister) {
        list.push_back(entry.Name);
    }
}

void TkxMain::AddSchlauchNode(std::string_view name, double x, double y, double z) {
    Stack().Push("tkxmain.AddSchlauchNode", name, x, y, z);
    if (TPipeEx* hose = FindSchlauch(name)) {
        hose->AddNode(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
        MarkModified();
    }
}

void TkxMain::UpdateSchlauchData(const TPipeEx& hose) {
    Stack().Push("tkxmain.UpdateSchlauchData", hose.Name());
    for (TSchlauch& entry : m_hoseRegister) {
        if (entry.Name == hose.Name()) {
            entry.Colour = hose.DisplayColour();
            entry.Radius = hose.Radius();
        }
    }
}

void TkxMain::UpdateSchlauchNodes(std::string_view name, std::vector<std::string>& list) const {
    Stack().Push("tkxmain.UpdateSchlauchNodes", name);
    list.clear();
    if (const TPipeEx* hose = FindSchlauch(name)) {
        for (const TVector3f& p : hose->Nodes()) {
            list.push_back(FixedCoordinate(p.X) + " " + FixedCoordinate(p.Y) + " " +
                           FixedCoordinate(p.Z));
        }
    }
}

std::optional<TVector3f> TkxMain::GetSchlauchNode(std::string_view name, size_t index) const {
    Stack().Push("tkxmain.GetSchlauchNode", name, static_cast<int64_t>(index));
    const TPipeEx* hose = FindSchlauch(name);
    return hose ? hose->Node(index) : std::nullopt;
}

void TkxMain::DeleteSchlauchNode(std::string_view name, size_t index) {
    Stack().Push("tkxmain.DeleteSchlauchNode", name, static_cast<int64_t>(index));
    if (TPipeEx* hose = FindSchlauch(name); hose && index < hose->NodeCount()) {
        hose->DeleteNode(index);
        hose->StructureChanged();
        MarkModified();
    }
}

void TkxMain::ReplaceHoses(const std::vector<const TPipeEx*>& hoses) {
    Stack().Push("tkxmain.ReplaceHoses", static_cast<int64_t>(hoses.size()));
    TSceneObject* root = HoseRoot();
    if (!root) {
        return;
    }
    root->DeleteChildren();
    for (const TPipeEx* source : hoses) {
        auto& hose = root->AddNewChild<TPipeEx>();
        hose.CopyFrom(*source);
        hose.SetDisplayColour(source->Colour());
        hose.StructureChanged();
    }
    MarkModified();
}

TPipeEx* TkxMain::AddHoseFromRecord(const THoseData& record) {
    TSceneObject* root = HoseRoot();
    if (!root) {
        return nullptr;
    }
    auto& hose = root->AddNewChild<TPipeEx>();
    hose.Assign(record);
    return &hose;
}

}  // namespace kx
