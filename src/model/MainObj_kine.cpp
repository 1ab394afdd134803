// Kinematics mode of the model: entering, stepping and leaving it.
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

uint64_t TkxMain::KinematikGeneration() const {
    // Both counters only grow: objects added or removed, or renamed.
    const TSceneVersions v = m_scene.Versions();
    return v.Structure + v.State;
}

TSceneObject* TkxMain::KinematikPart(std::string_view name) const {
    return PartObject(name);
}

void TkxMain::StartKinematik() {
    Stack().Push("tkxmain.StartKinematik");
    m_kinematik.Start();
    m_kinematikActive = true;
    m_ablauf.StartProgram();
}

void TkxMain::StopKinematik() {
    Stack().Push("tkxmain.StopKinematik");
    // The runners end first: nothing they asked for may act on the parts put back below.
    m_ablauf.StopProgram();
    std::array<int32_t, kMotorCount> speeds{};
    for (int n = 1; n <= kMotorCount; ++n) {
        speeds[static_cast<size_t>(n - 1)] = m_motors.Motor(n).Speed;
    }
    m_kinematik.Stop();
    m_kinematikActive = false;
    for (int n = 1; n <= kMotorCount; ++n) {
        if (speeds[static_cast<size_t>(n - 1)] != m_motors.Motor(n).Speed) {
            MarkModified();
            break;
        }
    }
    Repaint();
}

void TkxMain::DoKinematik() {
    Stack().Push("tkxmain.DoKinematik");
    ApplyAblaufEffects();
    m_kinematik.DoKinematik();
}

void TkxMain::DoCollision() {
    Stack().Push("tkxmain.DoCollision");
    m_kinematik.DoCollision();
}

}  // namespace kx
