// Test fixture for joining and the view's handling: a program folder of made-up parts with box
// meshes, a scene with its main nodes, private caches and settings, and the model on them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kxtest {

/// A closed box with its faces wound outwards.
kx::TMesh BoxMesh(const kx::TVector3f& min, const kx::TVector3f& max);

/// The model's window as far as joining needs it: the connector window is a callback.
class TJoinPorts : public kx::TNullModelView {
public:
    void ShowConnectorWindow(kx::TFreeForm& fixed, const std::string& number,
                             int preselected) override {
        ++ConnectorWindows;
        LastPreselected = preselected;
        if (OnConnectorWindow) {
            OnConnectorWindow(fixed, number, preselected);
        }
    }
    void GroupsTreeChanged() override { ++GroupRefreshes; }
    std::function<void(kx::TFreeForm&, const std::string&, int)> OnConnectorWindow;
    int ConnectorWindows = 0;
    int LastPreselected = -2;
    int GroupRefreshes = 0;
};

/// A connector of kind typ and gauge thick at (x, y, z) with the six angles.
kx::TConn Conn(int typ, float thick, kx::TVector3f at, std::array<float, 6> angles = {},
               std::string name = "c");

class JoinTest : public ::testing::Test {
protected:
    JoinTest();
    ~JoinTest() override;

    /// Writes a definition and a box mesh of `half` mesh units around the origin.
    void WriteDef(kx::TDefObj def, float half = 10);
    kx::TDefObj Def(const std::string& number, std::vector<kx::TConn> conns) const;
    /// Places a part; fails the test when it cannot.
    kx::TFreeForm& Place(const std::string& number);
    kx::TFreeForm* Object(const std::string& name) const;
    size_t PartCount() const { return m_model->Parts().Count(); }

    TPrivateSettings m_settings;
    TTempDir m_dir;
    kx::TPartFiles m_files;
    kx::TDefCache m_defs;
    kx::TffCache m_meshes;
    kx::TScene m_scene;
    TJoinPorts m_ports;
    std::unique_ptr<kx::TkxMain> m_model;
};

/// Whether two vectors agree within tol in every component.
::testing::AssertionResult Near(const kx::TVector3f& a, const kx::TVector3f& b, float tol = 1e-4f);

}  // namespace kxtest
