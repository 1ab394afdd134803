// Test fixture of the model core: a tiny program folder, a scene, private caches and settings,
// and a recording fake of the model's ports.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_param.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kxtest {

/// Records what the model asks of the windows, and keeps the state a window would show.
class TRecordingPorts : public kx::TModelView,
                        public kx::TPartsTreeView,
                        public kx::TCoordinatesView {
public:
    // TModelView
    void SetStatusText(int panel, const std::string& text) override {
        Status.at(static_cast<size_t>(panel)) = text;
    }
    void EnableCommand(kx::TModelCommand command, bool enabled) override {
        Enabled[command] = enabled;
    }
    bool GroupModeDown() const override { return GroupMode; }
    void ShowInformation(const std::string& text) override { Messages.push_back(text); }
    void BeginWait() override { ++Waits; }
    void EndWait() override { --Waits; }
    void CurrentPhaseChanged(int phase) override { ShownPhase = phase; }
    void CollectionViewChanged() override { ++CollectionRefreshes; }
    void KineManagerChanged() override { ++KineRefreshes; }
    void GroupsTreeChanged() override { ++GroupRefreshes; }
    void MeasurementsChanged() override { ++MeasurementRefreshes; }
    void ClearSequenceProgram() override { ++SequenceClears; }
    void ShowConnectorWindow(kx::TFreeForm& fixed, const std::string& number,
                             int preselected) override {
        Events.push_back("connector " + fixed.Name() + " " + number + " " +
                         std::to_string(preselected));
        if (OnConnectorWindow) {
            OnConnectorWindow();
        }
    }
    bool EditModelInformation(kx::TModelInformation& info) override {
        info = EditedInformation;
        return ConfirmInformation;
    }
    void ModifiedChanged(bool modified) override { ModifiedReports.push_back(modified); }

    // TPartsTreeView
    void TreeReset() override { Events.push_back("tree reset"); }
    void TreeNodeInserted(kx::TTreePos pos) override {
        Events.push_back("tree insert " + std::to_string(pos.Phase) + "/" +
                         std::to_string(pos.Child));
    }
    void TreeNodeRemoved(kx::TTreePos pos) override {
        Events.push_back("tree remove " + std::to_string(pos.Phase) + "/" +
                         std::to_string(pos.Child));
    }
    void TreeNodesChanged() override { ++TreeUpdates; }
    bool TreeVisible() const override { return TreeShown; }
    void SetTreeVisible(bool visible) override {
        TreeShown = visible;
        Events.push_back(visible ? "tree shown" : "tree hidden");
    }
    void SelectTreeNode(kx::TTreePos pos) override { SelectedNode = pos; }

    // TCoordinatesView
    void ShowPart(kx::TFreeForm* part) override { CoordinatesPart = part; }

    bool IsEnabled(kx::TModelCommand c) const {
        const auto it = Enabled.find(c);
        return it != Enabled.end() && it->second;
    }

    std::array<std::string, 4> Status;
    std::map<kx::TModelCommand, bool> Enabled;
    bool GroupMode = false;
    std::vector<std::string> Messages;
    std::vector<std::string> Events;
    int Waits = 0;
    int ShownPhase = 0;
    int CollectionRefreshes = 0;
    int KineRefreshes = 0;
    int GroupRefreshes = 0;
    int MeasurementRefreshes = 0;
    int SequenceClears = 0;
    int TreeUpdates = 0;
    bool TreeShown = true;
    kx::TTreePos SelectedNode;
    kx::TFreeForm* CoordinatesPart = nullptr;
    std::function<void()> OnConnectorWindow;
    kx::TModelInformation EditedInformation;
    bool ConfirmInformation = false;
    std::vector<bool> ModifiedReports;
};

/// A triangle mesh of n facets (its size tells the definitions apart).
kx::TMesh TestMesh(int facets, float size);

/// A program folder with definitions 31010 (red, two connectors), 32064 (half transparent,
/// offset), 38423 (textured), COL01 (a collision body) and 99999 (definition, no mesh); a
/// scene with its main nodes; private caches and settings; and the model wired to the fake.
class ModelTest : public ::testing::Test {
protected:
    ModelTest();
    ~ModelTest() override;

    /// Adds a part and fails the test when it could not be placed.
    std::string Add(const std::string& number, const std::string& wanted = {});
    kx::TFreeForm* Object(const std::string& name) const;
    kx::TMaterialPtr LibMaterial(const std::string& name) const;
    /// The object's own diffuse colour as a Windows colour value.
    uint32_t ObjectColour(const std::string& name) const;
    uint32_t LibColour(const std::string& name) const;
    /// Moves a part's object and stores the pose in its record, as the positioning tools do.
    void MoveAndRefresh(const std::string& name, const kx::TVector3f& position);
    std::vector<std::string> PartNames() const;
    std::vector<std::string> TreeTexts() const;

    TTempDir m_dir;
    std::unique_ptr<kx::TkxParam> m_previousParam;
    kx::TPartFiles m_files;
    kx::TDefCache m_defs;
    kx::TffCache m_meshes;
    kx::TScene m_scene;
    TRecordingPorts m_ports;
    std::unique_ptr<kx::TkxMain> m_model;
};

}  // namespace kxtest
