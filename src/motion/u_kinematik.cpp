// The kinematics step: motors, gear, rigid and rotation/translation links, collision rules.
#include "motion/u_kinematik.h"

#include <cmath>
#include <numbers>

#include "foundation/u_text.h"
#include "view/u_sceneobject.h"

namespace kx {

namespace {

struct TVec {
    double X, Y, Z;
};

TVec D(const TVector3f& v) {
    return {v.X, v.Y, v.Z};
}
TVector3f F(const TVec& v) {
    return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)};
}
TVec Cross(const TVec& a, const TVec& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
TVec Unit(const TVec& a) {
    const double l = std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z);
    return l > 0 ? TVec{a.X / l, a.Y / l, a.Z / l} : a;
}

/// A rotation by degrees about a unit axis, counter-clockwise seen from the axis's tip (the
/// sense in which a scene object's stored angles turn it).
class TTurn {
public:
    TTurn(const TVec& axis, double degrees)
        : m_k(Unit(axis)),
          m_c(std::cos(degrees * std::numbers::pi / 180)),
          m_s(std::sin(degrees * std::numbers::pi / 180)) {}
    TVec operator()(const TVec& v) const {
        const TVec kv = Cross(m_k, v);
        const double kd = (m_k.X * v.X + m_k.Y * v.Y + m_k.Z * v.Z) * (1 - m_c);
        return {v.X * m_c + kv.X * m_s + m_k.X * kd, v.Y * m_c + kv.Y * m_s + m_k.Y * kd,
                v.Z * m_c + kv.Z * m_s + m_k.Z * kd};
    }

private:
    TVec m_k;
    double m_c, m_s;
};

bool Negative(uint8_t code) {
    return code >= kAxisPitchN;
}

/// The link axis code of a motor's turn: motor axis 0 pitch, 1 roll, 2 turn; status 1 left,
/// 2 right.
int MotorCode(int axis, int status) {
    const bool right = status == 2;
    switch (axis) {
        case 0:
            return right ? kAxisPitchP : kAxisPitchN;
        case 1:
            return right ? kAxisRollP : kAxisRollN;
        case 2:
            return right ? kAxisTurnP : kAxisTurnN;
        default:
            return -1;
    }
}

/// Carries part b along with the rotation the reference part has just made: its increments
/// applied as roll, then turn, then pitch about the reference's own axes through its origin,
/// as a child node of the reference would follow them.
void CarryRigid(const TSceneObject& ref, TSceneObject& b, float p, float t, float r) {
    const bool sameFrame = ref.Parent() == b.Parent();
    const TVec origin = D(sameFrame ? ref.Position() : ref.AbsolutePosition());
    TVec dir = D(sameFrame ? ref.Direction() : ref.AbsoluteDirection());
    TVec up = D(sameFrame ? ref.Up() : ref.AbsoluteUp());
    const TVec at = D(sameFrame ? b.Position() : b.AbsolutePosition());
    TVec rel{at.X - origin.X, at.Y - origin.Y, at.Z - origin.Z};
    TVec bd = D(sameFrame ? b.Direction() : b.AbsoluteDirection());
    TVec bu = D(sameFrame ? b.Up() : b.AbsoluteUp());
    const auto apply = [&](const TTurn& turn, bool frameDir, bool frameUp) {
        rel = turn(rel);
        bd = turn(bd);
        bu = turn(bu);
        if (frameDir) {
            dir = turn(dir);
        }
        if (frameUp) {
            up = turn(up);
        }
    };
    if (r != 0) {
        apply(TTurn(dir, r), false, true);
    }
    if (t != 0) {
        apply(TTurn(up, t), true, false);
    }
    if (p != 0) {
        apply(TTurn(Cross(dir, up), p), false, false);
    }
    const TVector3f position = F({origin.X + rel.X, origin.Y + rel.Y, origin.Z + rel.Z});
    if (sameFrame) {
        b.SetPosition(position);
        b.SetOrientation(F(bd), F(bu));
    } else {
        b.SetAbsolutePosition(position);
        b.SetAbsoluteDirection(F(bd));
        b.SetAbsoluteUp(F(bu));
    }
}

}  // namespace

int RuleMotorNumber(const std::string& param1) {
    return StrToIntDef(param1, 1);
}

TKinematik::TKinematik(std::vector<TKineData>& links, TMotors& motors,
                       std::vector<TCollData>& rules, TMotorPanels& panels, TPartLookup lookup,
                       TSceneGeneration generation)
    : m_links(links),
      m_motors(motors),
      m_rules(rules),
      m_panels(panels),
      m_lookup(std::move(lookup)),
      m_generation(std::move(generation)) {}

void TKinematik::Start() {
    for (int n = kMotorCount; n >= 1; --n) {
        const TMotorRec& motor = m_motors.Motor(n);
        TMotorPanelState& panel = *m_panels.Panel(n);
        panel.SetStatus(motor.Status);
        panel.SetSpeed(motor.Speed);
    }
    for (TCollData& rule : m_rules) {
        rule.InRange = false;
    }
    Prepare();
}

void TKinematik::Stop() {
    for (int n = 1; n <= kMotorCount; ++n) {
        m_motors.Motor(n).Speed = m_panels.Panel(n)->Speed();
    }
}

// --- What the step knows of the model --------------------------------------------------------

int TKinematik::PartId(const std::string& name) {
    const auto [it, added] = m_ids.try_emplace(name, static_cast<int>(m_names.size()));
    if (added) {
        m_names.push_back(name);
        m_objects.push_back(name.empty() ? nullptr : m_lookup(name));
        m_partLinks.emplace_back();
    }
    return it->second;
}

void TKinematik::Prepare() {
    m_ids.clear();
    m_names.clear();
    m_objects.clear();
    m_partLinks.clear();
    m_linkRefs.clear();
    m_ruleRefs.clear();
    m_motorParts.clear();
    m_seenMotorParts.clear();
    for (size_t i = 0; i < m_links.size(); ++i) {
        TLinkRef ref{PartId(m_links[i].Bauteil1), PartId(m_links[i].Bauteil2)};
        m_partLinks[static_cast<size_t>(ref.Part1)].push_back(static_cast<int>(i));
        if (ref.Part2 != ref.Part1) {
            m_partLinks[static_cast<size_t>(ref.Part2)].push_back(static_cast<int>(i));
        }
        m_linkRefs.push_back(ref);
    }
    for (const TCollData& rule : m_rules) {
        m_ruleRefs.push_back({PartId(rule.ObjName1), PartId(rule.ObjName2)});
    }
    for (const TMotorRec& motor : m_motors.All()) {
        m_motorParts.push_back(motor.PartName.empty() ? -1 : PartId(motor.PartName));
        m_seenMotorParts.push_back(motor.PartName);
    }
    m_seenGeneration = m_generation ? m_generation() : 0;
    m_seenLinks = m_links.data();
    m_seenLinkCount = m_links.size();
    m_seenRules = m_rules.data();
    m_seenRuleCount = m_rules.size();
    m_rotMarked.clear();
    m_transMarked.clear();
    for (TKineData& link : m_links) {
        link.RotVisited = 0;
        link.TransVisited = 0;
    }
    m_valid = true;
}

void TKinematik::PrepareIfStale() {
    bool stale = !m_valid || m_seenLinks != m_links.data() || m_seenLinkCount != m_links.size() ||
                 m_seenRules != m_rules.data() || m_seenRuleCount != m_rules.size() ||
                 (m_generation && m_generation() != m_seenGeneration);
    for (size_t i = 0; !stale && i < m_seenMotorParts.size(); ++i) {
        stale = m_seenMotorParts[i] != m_motors.All()[i].PartName;
    }
    if (stale) {
        Prepare();
    }
}

void TKinematik::ClearRotVisited() {
    // Only the links marked since the last clearing can carry a mark: a long chain must not
    // cost a walk of the whole list at every rotation/translation link.
    for (const int i : m_rotMarked) {
        m_links[static_cast<size_t>(i)].RotVisited = 0;
    }
    m_rotMarked.clear();
}

void TKinematik::ClearTransVisited() {
    for (const int i : m_transMarked) {
        m_links[static_cast<size_t>(i)].TransVisited = 0;
    }
    m_transMarked.clear();
}

void TKinematik::MarkRot(int i) {
    m_links[static_cast<size_t>(i)].RotVisited = 1;
    m_rotMarked.push_back(i);
}

void TKinematik::MarkTrans(int i) {
    m_links[static_cast<size_t>(i)].TransVisited = 1;
    m_transMarked.push_back(i);
}

// --- The step ---------------------------------------------------------------------------------

void TKinematik::DoKinematik() {
    PrepareIfStale();
    for (int n = 1; n <= kMotorCount; ++n) {
        const TMotorPanelState& panel = *m_panels.Panel(n);
        const int speed = panel.Speed();
        const int status = panel.Status();
        const int id = m_motorParts[static_cast<size_t>(n - 1)];
        TSceneObject* part = id < 0 ? nullptr : Object(id);
        if (!part) {
            continue;
        }
        const float d = status == 2 ? 1.0f : (status == 1 ? -1.0f : 0.0f);
        const float a = d * static_cast<float>(speed);
        float p = 0, t = 0, r = 0;
        const int axis = m_motors.Motor(n).Rotation;
        switch (axis) {
            case 0:
                part->Pitch(a);
                p = a;
                break;
            case 1:
                part->Roll(a);
                r = -a;
                break;
            case 2:
                part->Turn(a);
                t = -a;
                break;
            default:
                continue;  // no axis: the motor drives nothing
        }
        ClearRotVisited();
        const int code = MotorCode(axis, status);
        if (status != 0 && code >= 0) {
            Rot(id, static_cast<uint8_t>(code), true, id, p, t, r, speed);
        }
    }
    DoCollision();
}

void TKinematik::TurnByCode(TSceneObject& part, uint8_t code, float e, float& p, float& t,
                            float& r) {
    p = t = r = 0;
    switch (code) {
        case kAxisPitchP:
            part.Pitch(e);
            p = e;
            break;
        case kAxisTurnP:
            part.Turn(e);
            t = -e;
            break;
        case kAxisRollP:
            part.Roll(e);
            r = -e;
            break;
        case kAxisPitchN:
            part.Pitch(-e);
            p = -e;
            break;
        case kAxisTurnN:
            part.Turn(-e);
            t = e;
            break;
        case kAxisRollN:
            part.Roll(-e);
            r = e;
            break;
        default:
            break;
    }
}

void TKinematik::KineRekursiv(const std::string& name, uint8_t code, bool firstLevel,
                              const std::string& reference, float p, float t, float r,
                              double angle) {
    PrepareIfStale();
    Rot(PartId(name), code, firstLevel, PartId(reference), p, t, r, angle);
}

void TKinematik::KineTransRekursiv(const std::string& name, float x, float y, float z) {
    PrepareIfStale();
    Trans(PartId(name), x, y, z);
}

void TKinematik::Rot(int name, uint8_t code, bool firstLevel, int reference, float p, float t,
                     float r, double angle) {
    // Each link is marked before it fires and marks are cleared once per motor, so every link
    // fires at most once per motor: loops of links end, and the depth is bounded by their
    // number. Only the links that name the part can fire; they are visited in list order.
    // A link that fires is followed at once, before the walk goes on (depth first); the walk
    // keeps its own stack, so a long chain of links cannot exhaust the thread's stack. A link
    // fires in at most one of its directions (the first marks it), so each visit of a link
    // adds at most one level.
    std::vector<TRotFrame>& stack = m_rotStack;
    stack.clear();
    stack.push_back({name, code, firstLevel, reference, p, t, r, angle, 0});
    while (!stack.empty()) {
        const std::vector<int>& incident = m_partLinks[static_cast<size_t>(stack.back().Name)];
        if (stack.back().Next >= incident.size()) {
            stack.pop_back();
            continue;
        }
        const int i = incident[stack.back().Next++];
        const TRotFrame f = stack.back();
        TKineData& link = m_links[static_cast<size_t>(i)];
        const TLinkRef ref = m_linkRefs[static_cast<size_t>(i)];
        switch (link.Modus) {
            case kKineRotRot: {
                if (link.RotVisited) {
                    break;
                }
                const bool forward = ref.Part1 == f.Name;
                if (!forward && ref.Part2 != f.Name) {
                    break;
                }
                MarkRot(i);
                double k = forward ? static_cast<double>(EffectiveTeeth(link.Z1)) /
                                         static_cast<double>(EffectiveTeeth(link.Z2))
                                   : static_cast<double>(EffectiveTeeth(link.Z2)) /
                                         static_cast<double>(EffectiveTeeth(link.Z1));
                if (Negative(forward ? link.Rotation1 : link.Rotation2) != Negative(f.Code)) {
                    k = -k;
                }
                const double e = k * f.Angle;
                const int driven = forward ? ref.Part2 : ref.Part1;
                const uint8_t drivenCode = forward ? link.Rotation2 : link.Rotation1;
                if (TSceneObject* part = Object(driven)) {
                    float dp, dt, dr;
                    TurnByCode(*part, drivenCode, static_cast<float>(e), dp, dt, dr);
                    stack.push_back({driven, drivenCode, false, driven, dp, dt, dr, e, 0});
                }
                break;
            }
            case kKineRotFest: {
                // At the first level (the motor's own part) a link whose Bauteil2 is that part
                // does not carry its Bauteil1.
                int carriedId = -1;
                if (ref.Part1 == f.Name && !link.RotVisited) {
                    carriedId = ref.Part2;
                } else if (ref.Part2 == f.Name && !link.RotVisited && !f.First) {
                    carriedId = ref.Part1;
                }
                if (carriedId < 0) {
                    break;
                }
                MarkRot(i);
                TSceneObject* carried = Object(carriedId);
                const TSceneObject* refObject = Object(f.Reference);
                if (carried && refObject) {
                    CarryRigid(*refObject, *carried, f.P, f.T, f.R);
                    stack.push_back(
                        {carriedId, f.Code, false, f.Reference, f.P, f.T, f.R, f.Angle, 0});
                }
                break;
            }
            case kKineRotTrans: {
                const float s = (f.P + f.T + f.R) / 3600.0f;
                if (ref.Part1 == f.Name && !link.RotVisited) {
                    MarkRot(i);
                    if (TSceneObject* moved = Object(ref.Part2)) {
                        const TVector3f before = moved->AbsolutePosition();
                        moved->Move(s * link.DZ);
                        moved->Lift(s * link.DY);
                        moved->Slide(s * link.DX);
                        const TVector3f shift = moved->AbsolutePosition() - before;
                        ClearTransVisited();
                        Trans(ref.Part2, shift.X, shift.Y, shift.Z);
                    }
                } else if (ref.Part2 == f.Name && !link.RotVisited) {
                    MarkRot(i);
                    // The turning part travels by its own turning, as a rolling wheel does.
                    if (TSceneObject* moved = Object(ref.Part2)) {
                        const TVector3f before = moved->AbsolutePosition();
                        moved->Translate({s * link.DX, s * link.DY, s * link.DZ});
                        const TVector3f shift = moved->AbsolutePosition() - before;
                        ClearTransVisited();
                        Trans(ref.Part2, shift.X, shift.Y, shift.Z);
                    }
                }
                break;
            }
            default:
                break;
        }
    }
}

void TKinematik::Trans(int name, float x, float y, float z) {
    // Depth first like the rotation, on a stack of its own (parts and the next link to look
    // at); each visit of a link moves at most one part.
    const TVector3f shift{x, y, z};
    std::vector<std::pair<int, size_t>>& stack = m_transStack;
    stack.clear();
    stack.emplace_back(name, 0);
    while (!stack.empty()) {
        const int part = stack.back().first;
        const std::vector<int>& incident = m_partLinks[static_cast<size_t>(part)];
        if (stack.back().second >= incident.size()) {
            stack.pop_back();
            continue;
        }
        const int i = incident[stack.back().second++];
        TKineData& link = m_links[static_cast<size_t>(i)];
        const TLinkRef ref = m_linkRefs[static_cast<size_t>(i)];
        if (link.TransVisited) {
            continue;
        }
        int movedId = -1;
        if (link.Modus == kKineRotFest) {
            if (ref.Part1 == part) {
                movedId = ref.Part2;
            } else if (ref.Part2 == part) {
                movedId = ref.Part1;
            }
        } else if (link.Modus == kKineRotTrans && ref.Part1 == part) {
            movedId = ref.Part2;
        }
        if (movedId < 0) {
            continue;
        }
        MarkTrans(i);
        if (TSceneObject* moved = Object(movedId)) {
            moved->Translate(shift);
            stack.emplace_back(movedId, 0);
        }
    }
}

// --- Collision rules --------------------------------------------------------------------------

void TKinematik::DoCollision() {
    PrepareIfStale();
    for (size_t i = 0; i < m_rules.size(); ++i) {
        TCollData& rule = m_rules[i];
        const TLinkRef ref = m_ruleRefs[i];
        const TSceneObject* a = Object(ref.Part1);
        const TSceneObject* b = Object(ref.Part2);
        if (!a || !b) {
            continue;
        }
        const float d = Distance(a->AbsolutePosition(), b->AbsolutePosition());
        const float t = rule.Abstand / 10;
        rule.InRange = t > d;
        const bool fires = rule.Active ? t > d : t < d;
        if (!fires || rule.Aktion < 0 || rule.Aktion > 3) {
            continue;
        }
        // A motor number outside 1 to 8 (an edited file) names no panel: the rule does nothing.
        TMotorPanelState* panel = m_panels.Panel(RuleMotorNumber(rule.Param1));
        if (!panel) {
            continue;
        }
        if (rule.Aktion == 3) {
            panel->Reverse();
        } else {
            panel->SetStatus(rule.Aktion);
        }
    }
}

bool TKinematik::CollisionState(std::string_view name, bool previous) const {
    bool state = previous;
    for (const TCollData& rule : m_rules) {
        if (rule.Param1 == name) {
            state = rule.InRange.Load();
        }
    }
    return state;
}

}  // namespace kx
