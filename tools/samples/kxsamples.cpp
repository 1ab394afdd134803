// Writes the sample models shipped beside the program, built from the bundled kit through the
// program's own model object and model file writer.
//
// kxsamples <program folder> <stamp file>: reads the kit from the program folder and writes
// <program folder>/samples/*.kxm, then touches the stamp file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace fs = std::filesystem;
using namespace kx;

namespace {

/// Millimetres to scene units.
TVector3f Mm(float x, float y, float z) {
    return {x / 10, y / 10, z / 10};
}

class TSampleBuilder {
public:
    TSampleBuilder(const fs::path& programDir, const fs::path& scratch)
        : m_files(programDir, scratch / "user") {
        BuildMainScene(m_scene);
        m_model = std::make_unique<TkxMain>(m_scene, m_files, m_defs, m_meshes);
    }

    TkxMain& Model() { return *m_model; }

    void NewModel() {
        m_model->DeleteAll();
        TSceneCamera* camera = m_scene.Camera();
        camera->SetPosition({-25, 20, -30});
        camera->SetDirection({25, -20, 30});
        m_scene.CameraLightToCamera();
    }

    /// Places a part of the kit at a point given in millimetres, turned about its up axis and
    /// then rolled about its direction, in degrees; returns its name.
    std::string Place(const std::string& number, float x, float y, float z, float turn = 0,
                      float roll = 0) {
        m_model->ClearLastAddedObject();
        const std::string name = m_model->AddBaustein(number);
        TFreeForm* object = m_model->LastAddedObject();
        if (name.empty() || !object) {
            throw std::runtime_error("the kit has no part " + number);
        }
        object->SetPosition(Mm(x, y, z));
        object->SetTurnAngle(turn);
        object->SetRollAngle(roll);
        m_model->RefreshBauteil(name, false, -1);
        return name;
    }

    void Group(const std::string& name, const std::vector<std::string>& members) {
        auto group = std::make_unique<TGroup>();
        group->Name = name;
        for (const std::string& m : members) {
            group->Add(m);
        }
        m_model->Groups().push_back(std::move(group));
    }

    void Rigid(const std::string& carrier, const std::string& carried) {
        TKineData link;
        link.Modus = kKineRotFest;
        link.Bauteil1 = carrier;
        link.Bauteil2 = carried;
        link.Z1 = link.Z2 = 1;
        m_model->KineLinks().push_back(link);
    }

    void Gear(const std::string& a, const std::string& b, uint8_t axisA, uint8_t axisB, int za,
              int zb) {
        TKineData link;
        link.Modus = kKineRotRot;
        link.Bauteil1 = a;
        link.Bauteil2 = b;
        link.Rotation1 = axisA;
        link.Rotation2 = axisB;
        link.Z1 = za;
        link.Z2 = zb;
        m_model->KineLinks().push_back(link);
    }

    void Hose(int tag, float radius, uint32_t colour, int phase, bool smooth,
              const std::vector<TVector3f>& nodesMm) {
        THoseData hose;
        hose.Tag = tag;
        hose.Radius = radius;
        hose.Colour = hose.DisplayColour = colour;
        hose.Phase = phase;
        hose.Smooth = smooth;
        for (const TVector3f& n : nodesMm) {
            hose.Nodes.push_back(Mm(n.X, n.Y, n.Z));
        }
        m_model->AddHoseFromRecord(hose);
    }

    void Save(const fs::path& file) {
        FrameTheModel();
        m_model->SetBauphase(1);
        const TModelFileResult r = m_model->SaveModell(file.string());
        if (!r) {
            throw std::runtime_error(r.Error);
        }
    }

private:
    // The stored camera looks at the middle of the model from the usual slant, from just so
    // far that the whole model is in view when the sample is opened.
    void FrameTheModel() {
        TVector3f lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
        for (const auto& child : m_scene.PartsRoot()->Children()) {
            if (child->Kind() != TSceneObjectKind::FreeForm) {
                continue;
            }
            const auto& part = static_cast<const TFreeForm&>(*child);
            if (!part.Mesh()) {
                continue;
            }
            const TMatrix4f world = part.AbsoluteMatrix();
            for (const TVector3f& p : part.Mesh()->Positions) {
                const TVector3f w = world.TransformPoint(p);
                lo = {std::min(lo.X, w.X), std::min(lo.Y, w.Y), std::min(lo.Z, w.Z)};
                hi = {std::max(hi.X, w.X), std::max(hi.Y, w.Y), std::max(hi.Z, w.Z)};
            }
        }
        if (lo.X > hi.X) {
            return;
        }
        const TVector3f centre = (lo + hi) * 0.5f;
        const float radius = Length(hi - lo) / 2;
        TSceneCamera& camera = *m_scene.Camera();
        const float halfField = camera.FieldOfViewY() / 2 * 3.14159265f / 180;
        const float distance = radius / std::sin(halfField) * 1.05f;
        const TVector3f direction = Normalized({25, -20, 30});
        m_scene.CameraTarget()->SetPosition(centre);
        camera.SetPosition(centre - direction * distance);
        camera.SetDirection(direction);
        m_scene.CameraLightToCamera();
    }

    TPartFiles m_files;
    TDefCache m_defs;
    TffCache m_meshes;
    TScene m_scene;
    std::unique_ptr<TkxMain> m_model;
};

void SmallVehicle(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    b.Place("40405", 0, 45, 0);
    std::vector<std::string> axles, wheels;
    for (float x : {-60.0f, 60.0f}) {
        axles.push_back(b.Place("40303", x, 22.5f, 0));
        for (float z : {-50.0f, 50.0f}) {
            wheels.push_back(b.Place("40203", x, 22.5f, z));
            wheels.push_back(b.Place("40204", x, 22.5f, z));
        }
    }
    for (float z : {-15.0f, 0.0f, 15.0f}) {
        b.Place("40001", 82.5f, 52.5f, z);
    }
    b.Place("40002", -82.5f, 52.5f, 0, 90);
    b.Place("40803", -15, 52.5f, 0, 90);
    b.Place("40801", -15, 67.5f, 0, 90);
    b.Group("Räder", wheels);
    b.Group("Achsen", axles);
    m.Information() = {"Kleines Fahrzeug",
                       "Korvex",
                       "Korvex designer",
                       "Fahrzeuge",
                       {"Ein Fahrgestell mit Grundplatte, zwei Achsen und vier Rädern.",
                        "Die Räder bilden die Gruppe \"Räder\"."}};
    b.Save(out / "Fahrzeug.kxm");
}

void Crane(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    std::vector<std::string> base, tower, boom;
    m.SetBauphase(1);
    base.push_back(b.Place("40405", 0, 0, 0));
    for (float x : {-75.0f, 75.0f}) {
        for (float z : {-30.0f, 30.0f}) {
            base.push_back(b.Place("40002", x, 7.5f, z));
        }
    }
    // The upper works stand on a turntable, which motor 1 turns.
    const std::string turntable = b.Place("40712", 0, 7.5f, 0);
    base.push_back(turntable);
    m.SetBauphase(2);
    // Each corner of the tower is one girder of 210 mm from the turntable's top to the joint
    // block that carries the boom.
    for (float x : {-15.0f, 15.0f}) {
        for (float z : {-15.0f, 15.0f}) {
            tower.push_back(b.Place("40118", x, 120, z, 0, 90));
        }
    }
    tower.push_back(b.Place("40105", 0, 232.5f, 0));
    m.SetBauphase(3);
    for (float x : {30.0f, 150.0f}) {
        for (float z : {-10.0f, 10.0f}) {
            boom.push_back(b.Place("40102", x, 247.5f, z));
        }
    }
    boom.push_back(b.Place("40004", -52.5f, 247.5f, 0));
    boom.push_back(b.Place("40004", -52.5f, 262.5f, 0));
    boom.push_back(b.Place("40001", -52.5f, 277.5f, 0));
    // The cord runs from the drum on the counter-jib over the pulley at the tip down to the
    // load hook.
    boom.push_back(b.Place("40223", -30, 267, 0));
    boom.push_back(b.Place("40219", 195, 225, 0));
    boom.push_back(b.Place("40224", 210, 105.5f, 0));
    b.Hose(1, 0.05f, 0xFFFFFF, 3, false,
           {{-30, 279, 0}, {195, 240, 0}, {210, 225, 0}, {210, 120, 0}});
    for (const auto* list : {&tower, &boom}) {
        for (const std::string& part : *list) {
            b.Rigid(turntable, part);
        }
    }
    m.Motors().Motor(1) = {2, 1, 2, turntable, 0};
    b.Group("Fundament", base);
    b.Group("Turm", tower);
    b.Group("Ausleger", boom);
    m.Information() = {"Turmdrehkran",
                       "Korvex",
                       "Korvex designer",
                       "Kräne",
                       {"Drei Bauphasen: Fundament, Turm, Ausleger. Jede Bauphase ist auch eine "
                        "Gruppe.",
                        "Motor 1 dreht den Drehkranz; Turm und Ausleger sind fest mit ihm "
                        "verbunden. Der Lasthaken hängt am Seilzug über die Seilrolle an der "
                        "Auslegerspitze; das Seil bleibt beim Drehen stehen."}};
    b.Save(out / "Kran.kxm");
}

void GearTrain(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    b.Place("40405", 0, 0, 0);
    // Three gears on axles in bearing blocks; the pitch circles touch (module 1.5).
    const float axis = 37.5f;
    struct TStage {
        const char* Gear;
        int Teeth;
        float X;
    };
    const TStage stages[] = {{"40704", 10, -45}, {"40705", 20, -22.5f}, {"40707", 40, 22.5f}};
    std::vector<std::string> gears;
    for (const TStage& stage : stages) {
        b.Place("40001", stage.X, 7.5f, -22.5f);
        b.Place("40001", stage.X, 22.5f, -22.5f);
        b.Place("40005", stage.X, axis, -22.5f);
        const std::string axle = b.Place("40302", stage.X, axis, -10);
        gears.push_back(b.Place(stage.Gear, stage.X, axis, 0));
        b.Rigid(gears.back(), axle);
    }
    for (float x : {-75.0f, -45.0f}) {
        b.Place("40001", x, 7.5f, -52.5f);
        b.Place("40001", x, 22.5f, -52.5f);
    }
    b.Place("40701", -60, axis, -52.5f);
    // Meshing gears turn against each other: each link hands the turn on in the other sense.
    b.Gear(gears[0], gears[1], kAxisRollP, kAxisRollN, stages[0].Teeth, stages[1].Teeth);
    b.Gear(gears[1], gears[2], kAxisRollP, kAxisRollN, stages[1].Teeth, stages[2].Teeth);
    m.Motors().Motor(1) = {1, 4, 2, gears[0], 0};
    m.Information() = {"Zahnradgetriebe",
                       "Korvex",
                       "Korvex designer",
                       "Kinematik",
                       {"Motor 1 treibt das Zahnrad Z10; es treibt Z20, Z20 treibt Z40.",
                        "Jedes Zahnrad dreht seine Achse mit. Kinematik einschalten: das große "
                        "Rad dreht viermal langsamer als das kleine."}};
    b.Save(out / "Zahnradgetriebe.kxm");
}

/// Base plate, bearings, spindle, slide, a motor on the side and two collision bodies at the
/// ends of the travel; motor 1 (roll, speed 10) drives the spindle, `status` at the start.
struct TSpindle {
    std::string Spindle;
    std::string Slide;
    std::string Left;
    std::string Right;
};

TSpindle SpindleLayout(TSampleBuilder& b, int status) {
    TkxMain& m = b.Model();
    b.Place("40405", 0, 0, 0);
    const float axis = 37.5f;
    for (float x : {-52.5f, 52.5f}) {
        b.Place("40001", x, 7.5f, 0);
        b.Place("40001", x, 22.5f, 0);
        b.Place("40005", x, axis, 0, 90);
    }
    // Spindle and slide lie along X: their own direction axes point that way.
    TSpindle s;
    s.Spindle = b.Place("40710", 0, axis, 0, 90);
    s.Slide = b.Place("40711", 0, axis, 0, 90);
    b.Place("40001", 82.5f, 7.5f, -15);
    b.Place("40001", 82.5f, 22.5f, -15);
    b.Place("40701", 89.5f, axis, -15, -90);
    // Collision bodies mark the ends of the travel; shown or hidden with the toolbar button.
    s.Left = b.Place("COL01", -45, axis, 0);
    s.Right = b.Place("COL01", 45, axis, 0);
    TKineData screw;
    screw.Modus = kKineRotTrans;
    screw.Bauteil1 = s.Spindle;
    screw.Bauteil2 = s.Slide;
    screw.Z1 = screw.Z2 = 1;
    screw.DZ = 15;  // mm of travel per turn
    m.KineLinks().push_back(screw);
    m.Motors().Motor(1) = {1, 10, status, s.Spindle, 0};
    return s;
}

void SpindleDrive(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    const TSpindle s = SpindleLayout(b, 2);
    // Within 21 mm of an end the motor turns round and the next step takes the slide back out
    // of reach. The threshold lies between two step positions (a turn is 36 steps of 15/36 mm
    // each): a position exactly at the threshold could reverse the motor twice in a row.
    m.CollisionRules().push_back({true, s.Slide, s.Left, 21, 3, "1", false});
    m.CollisionRules().push_back({true, s.Slide, s.Right, 21, 3, "1", false});
    m.Information() = {"Spindelantrieb",
                       "Korvex",
                       "Korvex designer",
                       "Kinematik",
                       {"Motor 1 dreht die Gewindespindel; der Schlitten fährt 15 mm je "
                        "Umdrehung.",
                        "An beiden Enden kehrt eine Kollisionsregel den Motor um."}};
    b.Save(out / "Spindelantrieb.kxm");
}

/// The spindle slide driven by a sequence program: three times back and forth, timed by pauses
/// and counted in a variable, the slide coloured by its direction.
void SpindleProgram(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    const TSpindle s = SpindleLayout(b, 0);
    TAblauf& p = m.Ablauf();
    int32_t y = 40;
    const auto add = [&](TBlockKind kind, int32_t x = 200) -> TBlock& {
        TBlock& block = p.AddBlock(kind, x, y);
        y += 80;
        return block;
    };
    const auto motor = [&](int status) -> TBlock& {
        auto& block = static_cast<TBlockMotor&>(add(TBlockKind::Motor));
        block.Status = status;
        return block;
    };
    const auto pause = [&](int ms) -> TBlock& {
        auto& block = static_cast<TBlockPause&>(add(TBlockKind::Pause));
        block.Intervall = ms;
        return block;
    };
    const auto colour = [&](uint32_t farbe) -> TBlock& {
        auto& block = static_cast<TBlockFarbe&>(add(TBlockKind::Farbe));
        block.Bauteil = s.Slide;
        block.Farbe = static_cast<int32_t>(farbe);
        return block;
    };
    const auto set = [&](int variable, int value) -> TBlock& {
        auto& block = static_cast<TBlockSetVar&>(add(TBlockKind::SetVar));
        block.Variable = variable;
        block.Wert = value;
        return block;
    };
    const auto join = [&](TBlock& from, int output, TBlock& to) {
        if (!p.Connect(from, TAblauf::ConnectorPos(from, output), to,
                       TAblauf::ConnectorPos(to, 1))) {
            throw std::runtime_error("the sample program does not join up");
        }
    };
    TBlock& start = add(TBlockKind::Start);
    TBlock& rounds = set(2, 3);
    TBlock& counter = set(1, 0);
    TBlock& firstRight = motor(2);
    TBlock& half = pause(750);
    TBlock& left = motor(1);
    TBlock& orange = colour(0x0080FF);
    TBlock& leftPause = pause(1500);
    TBlock& right = motor(2);
    TBlock& green = colour(0x00C000);
    TBlock& rightPause = pause(1500);
    TBlock& count = add(TBlockKind::IncVar);
    auto& again = static_cast<TBlockVariable&>(add(TBlockKind::Variable));
    again.Art = 1;  // variable 1 < variable 2
    again.Var2 = 2;
    y -= 80;
    TBlock& stop = motor(0);
    stop.X += 250;
    TBlock& end = add(TBlockKind::Ende);
    end.X += 250;
    join(start, 1, rounds);
    const std::vector<TBlock*> chain = {&rounds, &counter,    &firstRight, &half,
                                        &left,   &orange,     &leftPause,  &right,
                                        &green,  &rightPause, &count,      &again};
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        join(*chain[i], kOutYes, *chain[i + 1]);
    }
    join(again, kOutYes, left);
    join(again, kOutNo, stop);
    join(stop, kOutYes, end);
    m.Information() = {"Spindel mit Ablaufsteuerung",
                       "Korvex",
                       "Korvex designer",
                       "Ablaufsteuerung",
                       {"Ein Logikplan fährt den Schlitten dreimal hin und her: Motor 1 läuft "
                        "je 1,5 Sekunden links und rechts herum, Variable 1 zählt die Runden.",
                        "Kinematik einschalten startet den Plan; der Schlitten wird je nach "
                        "Richtung orange oder grün."}};
    b.Save(out / "Spindelprogramm.kxm");
}

void Machine(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    b.Place("40405", 0, 0, 0);
    b.Place("40004", -30, 7.5f, 0);
    b.Place("40004", -30, 22.5f, 0);
    const std::string motor = b.Place("40701", -30, 37.5f, 0);
    const std::string small = b.Place("40704", -15, 37.5f, 25);
    const std::string large = b.Place("40706", 15, 37.5f, 25);
    const std::string axle = b.Place("40302", 15, 37.5f, 35);
    const std::string wheel = b.Place("40203", 15, 37.5f, 60);
    const std::string valve = b.Place("40602", -50, 7.5f, -30);
    const std::string cylinder = b.Place("40601", 40, 7.5f, -25);
    const std::string sw = b.Place("40504", -75, 7.5f, 25);
    const std::string figure = b.Place("40801", 70, 15, 30, 180);

    TKineData gear;
    gear.Modus = kKineRotRot;
    gear.Bauteil1 = small;
    gear.Bauteil2 = large;
    gear.Rotation1 = kAxisRollP;
    gear.Rotation2 = kAxisRollN;
    gear.Z1 = 10;
    gear.Z2 = 30;
    m.KineLinks().push_back(gear);
    TKineData fixed;
    fixed.Modus = kKineRotFest;
    fixed.Bauteil1 = large;
    fixed.Bauteil2 = axle;
    fixed.Z1 = fixed.Z2 = 1;
    m.KineLinks().push_back(fixed);
    fixed.Bauteil1 = axle;
    fixed.Bauteil2 = wheel;
    m.KineLinks().push_back(fixed);
    m.Motors().Motor(1) = {1, 2, 0, small, 0};
    m.CollisionRules().push_back({true, wheel, cylinder, 8, 0, "1", false});

    b.Hose(0, 0.2f, 0xFF4040, 0, true,
           {{-57.5f, 7.5f, -22.5f}, {-57.5f, 25, -10}, {0, 30, -15}, {25, 25, -25}, {25, 15, -25}});
    b.Hose(2, 0.05f, 0x0000FF, 0, true, {{-45, 37.5f, -3.5f}, {-60, 30, 10}, {-75, 15, 25}});

    TBauteil* walker = m.FindBauteil(figure);
    const TVector3f from = walker->Position();
    walker->AddKey({from.X, from.Y, from.Z, 0, 1, 0, 0, 0, -1, 1});
    walker->AddKey({from.X, from.Y, from.Z - 6, 0, 1, 0, 0, 0, -1, 50});
    m.AniLength = 50;

    auto measure = std::make_unique<TMeasurement>(m.PartObject(motor), m.PartObject(cylinder));
    measure->BaseLineHeight = 2;
    m.Measurements().push_back(std::move(measure));

    b.Group("Antrieb", {motor, small, large, axle, wheel});
    b.Group("Pneumatik", {valve, cylinder});
    b.Group("Schalter", {sw});
    m.Information() = {"Getriebe mit Pneumatik",
                       "Korvex",
                       "Korvex designer",
                       "Technik",
                       {"Motor 1 treibt das kleine Zahnrad; Zahnrad, Achse und Felge sind "
                        "verbunden.",
                        "Ein Pneumatikschlauch führt vom Handventil zum Zylinder; die Figur "
                        "läuft in 50 Bildern über die Platte."}};
    b.Save(out / "Getriebe.kxm");
}

// Every kind of hose the tube manager lays: a pneumatic circuit, two cables from a switch to a
// motor, a pull cord from the boom and a drive spring between two wheels.
void Lines(TSampleBuilder& b, const fs::path& out) {
    b.NewModel();
    TkxMain& m = b.Model();
    b.Place("40405", 0, 0, 0);
    b.Place("40405", 0, 0, 120);
    b.Place("40602", -60, 7.5f, -30);
    b.Place("40601", 50, 7.5f, -25);
    b.Place("40504", -75, 7.5f, 60);
    b.Place("40004", 40, 7.5f, 70);
    b.Place("40004", 40, 22.5f, 70);
    b.Place("40701", 40, 37.5f, 70);
    for (float y : {60.0f, 180.0f}) {
        b.Place("40102", -90, y, 130, 0, 90);
    }
    b.Place("40203", 0, 22.5f, 150);
    b.Place("40203", 80, 22.5f, 150);
    // Pneumatic hose, smooth, from the valve to the cylinder.
    b.Hose(0, 0.2f, 0xFF4040, 0, true,
           {{-67.5f, 7.5f, -22.5f}, {-60, 30, -5}, {0, 35, -10}, {35, 25, -25}, {35, 15, -25}});
    // Red and green cable from the switch to the motor.
    b.Hose(2, 0.05f, 0x0000FF, 0, true, {{-70, 15, 55}, {-30, 20, 65}, {25, 40, 62}});
    b.Hose(3, 0.05f, 0x008000, 0, true, {{-70, 15, 65}, {-30, 24, 75}, {25, 40, 78}});
    // Pull cord, straight segments, hanging from the mast.
    b.Hose(1, 0.05f, 0xFFFFFF, 0, false, {{-90, 240, 130}, {-40, 240, 130}, {-40, 60, 130}});
    // Drive spring around two wheels, in build phase 2.
    m.SetBauphase(2);
    b.Hose(1, 0.2f, 0x0000FF, 2, true,
           {{0, 52.5f, 150},
            {80, 52.5f, 150},
            {105, 22.5f, 150},
            {80, -7.5f, 150},
            {0, -7.5f, 150},
            {-25, 22.5f, 150},
            {0, 52.5f, 150}});
    m.Information() = {"Schläuche und Kabel",
                       "Korvex",
                       "Korvex designer",
                       "Technik",
                       {"Ein Pneumatikschlauch, ein rotes und ein grünes Kabel, ein Seilzug und "
                        "eine Antriebsfeder.",
                        "Im Schlauch-Manager (Alt+1) lassen sich alle Stützpunkte bearbeiten."}};
    b.Save(out / "Leitungen.kxm");
}

class TScratchDir {
public:
    TScratchDir() {
        std::string tmpl = (fs::temp_directory_path() / "kxsamples-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_path = tmpl;
    }
    ~TScratchDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kxsamples <program folder> <stamp file>\n");
        return 2;
    }
    try {
        const fs::path programDir = argv[1];
        const fs::path out = programDir / "samples";
        fs::create_directories(out);
        // Settings of their own: writing samples must not touch the user's recent files.
        const TScratchDir scratch;
        auto previous = SetParam(std::make_unique<TkxParam>(
            std::vector<std::string>{}, scratch.Path() / "config", scratch.Path() / "system"));
        {
            TSampleBuilder builder(programDir, scratch.Path());
            SmallVehicle(builder, out);
            Crane(builder, out);
            Machine(builder, out);
            GearTrain(builder, out);
            SpindleDrive(builder, out);
            SpindleProgram(builder, out);
            Lines(builder, out);
        }
        SetParam(std::move(previous));
        if (!WriteFileAtomic(argv[2], "samples\n")) {
            throw std::runtime_error("cannot write the stamp file");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kxsamples: %s\n", e.what());
        return 1;
    }
    return 0;
}
