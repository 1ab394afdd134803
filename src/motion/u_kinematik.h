// The kinematics step: motors turn their parts, links pass the motion on, collision rules
// switch motors. Runs on the live poses of the part objects; the records stay untouched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "motion/u_colldata.h"
#include "motion/u_kinedata.h"
#include "motion/u_motorstate.h"

namespace kx {

class TSceneObject;

/// The placed part's object of that instance name (letter case ignored), or nullptr.
using TPartLookup = std::function<TSceneObject*(std::string_view name)>;
/// A number that changes whenever objects are added, removed or renamed.
using TSceneGeneration = std::function<uint64_t()>;

/// A tooth count as the step uses it: counts below 1 would make the ratio infinite or turn it
/// round, so they count as 1; the stored value stays.
inline int32_t EffectiveTeeth(int32_t z) {
    return z < 1 ? 1 : z;
}

/// The motor number a rule's Param1 names (decimal text), 1 when it does not parse.
int RuleMotorNumber(const std::string& param1);

/// The model's kinematics: links, motors, collision rules and the motor panels, stepped by
/// whoever owns the clock (the main window's timer, a test, a benchmark).
class TKinematik {
public:
    TKinematik(std::vector<TKineData>& links, TMotors& motors, std::vector<TCollData>& rules,
               TMotorPanels& panels, TPartLookup lookup, TSceneGeneration generation);

    /// Panels take the motor records' status and speed; every rule's InRange is cleared.
    void Start();
    /// The panel speeds go back into the motor records (statuses do not).
    void Stop();
    /// One step: every motor in turn, then the collision rules.
    void DoKinematik();
    /// Rotation propagation from the part `name` that has just turned about `code`; rigid
    /// links carry their parts with the rotation (increments p, t, r) of the part `reference`.
    void KineRekursiv(const std::string& name, uint8_t code, bool firstLevel,
                      const std::string& reference, float p, float t, float r, double angle);
    /// Translation propagation from the part `name` that has just moved by (x, y, z).
    void KineTransRekursiv(const std::string& name, float x, float y, float z);
    /// Evaluates every rule once, in list order.
    void DoCollision();

    /// The rule state a sequence program's collision block sees for `name`: InRange of the
    /// last rule whose Param1 is exactly the name, or `previous` when no rule has it. Safe
    /// from any thread while the rule list itself is not changed (kinematics mode locks it).
    bool CollisionState(std::string_view name, bool previous) const;

    /// Forgets what the step knows of the lists and the scene; the next step looks again.
    void Invalidate() { m_valid = false; }

private:
    struct TLinkRef {
        int Part1 = -1;
        int Part2 = -1;
    };
    /// One level of the rotation propagation: the part that has just turned, how, and the
    /// next of its links to look at.
    struct TRotFrame {
        int Name;
        uint8_t Code;
        bool First;
        int Reference;
        float P, T, R;
        double Angle;
        size_t Next;
    };
    /// The step's view of the model: parts by exact name, their objects and their links.
    void Prepare();
    void PrepareIfStale();
    int PartId(const std::string& name);
    TSceneObject* Object(int id) const { return m_objects[static_cast<size_t>(id)]; }
    void Rot(int name, uint8_t code, bool firstLevel, int reference, float p, float t, float r,
             double angle);
    void Trans(int name, float x, float y, float z);
    void ClearRotVisited();
    void ClearTransVisited();
    void MarkRot(int link);
    void MarkTrans(int link);
    /// Turns the part about a link axis code by e; returns the increments handed on.
    static void TurnByCode(TSceneObject& part, uint8_t code, float e, float& p, float& t, float& r);

    std::vector<TKineData>& m_links;
    TMotors& m_motors;
    std::vector<TCollData>& m_rules;
    TMotorPanels& m_panels;
    TPartLookup m_lookup;
    TSceneGeneration m_generation;

    bool m_valid = false;
    uint64_t m_seenGeneration = 0;
    const TKineData* m_seenLinks = nullptr;
    size_t m_seenLinkCount = 0;
    const TCollData* m_seenRules = nullptr;
    size_t m_seenRuleCount = 0;
    std::vector<std::string> m_seenMotorParts;

    std::unordered_map<std::string, int> m_ids;
    std::vector<std::string> m_names;
    std::vector<TSceneObject*> m_objects;
    std::vector<std::vector<int>> m_partLinks;  ///< link indices naming the part, ascending
    std::vector<TLinkRef> m_linkRefs;
    std::vector<TLinkRef> m_ruleRefs;
    std::vector<int> m_motorParts;  ///< per motor, its part's id or -1
    std::vector<int> m_rotMarked;   ///< links whose RotVisited is set
    std::vector<int> m_transMarked;
    std::vector<TRotFrame> m_rotStack;
    std::vector<std::pair<int, size_t>> m_transStack;
};

}  // namespace kx
