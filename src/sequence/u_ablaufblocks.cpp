// The blocks of a sequence program: file keys, new-block values and what each block does.
#include "sequence/u_ablaufblocks.h"

#include <array>
#include <atomic>

#include "foundation/u_iniex.h"
#include "foundation/u_text.h"
#include "sequence/u_ablaufrun.h"

namespace kx {

namespace {

std::atomic<uint64_t> g_nextBlockId{1};

constexpr std::array<std::string_view, kBlockKindCount> kTypeNames = {
    "TBLOCKSTART",  "TBLOCKENDE",     "TBLOCKMOTOR", "TBLOCKKOLLISION", "TBLOCKPAUSE",
    "TBLOCKSETVAR", "TBLOCKJOYSTICK", "TBLOCKFARBE", "TBLOCKVARIABLE",  "TBLOCKINCVAR"};

void Key(std::vector<std::string>& lines, std::string_view key, int64_t value) {
    lines.push_back(std::string(key) + "=" + IntToStr(value));
}

/// A deflection beyond 60 percent counts as pushed.
constexpr int32_t kJoystickThreshold = 60;

}  // namespace

TBlock::TBlock(TBlockKind kind, uint32_t width, uint32_t height)
    : Width(width), Height(height), m_kind(kind), m_id(g_nextBlockId.fetch_add(1)) {}

// A copy keeps the original's id: the run's copies report back to the blocks they came from.
TBlock::TBlock(const TBlock& other)
    : X(other.X),
      Y(other.Y),
      Width(other.Width),
      Height(other.Height),
      m_kind(other.m_kind),
      m_id(other.m_id) {}

std::string_view TBlock::TypeName(TBlockKind kind) {
    return kTypeNames[static_cast<size_t>(kind)];
}

bool TBlock::KindOfType(std::string_view type, TBlockKind& kind) {
    for (size_t i = 0; i < kTypeNames.size(); ++i) {
        if (kTypeNames[i] == type) {
            kind = static_cast<TBlockKind>(i);
            return true;
        }
    }
    return false;
}

std::unique_ptr<TBlock> TBlock::Create(TBlockKind kind) {
    switch (kind) {
        case TBlockKind::Start:
            return std::make_unique<TBlockStart>();
        case TBlockKind::Ende:
            return std::make_unique<TBlockEnde>();
        case TBlockKind::Motor:
            return std::make_unique<TBlockMotor>();
        case TBlockKind::Kollision:
            return std::make_unique<TBlockKollision>();
        case TBlockKind::Pause:
            return std::make_unique<TBlockPause>();
        case TBlockKind::SetVar:
            return std::make_unique<TBlockSetVar>();
        case TBlockKind::Joystick:
            return std::make_unique<TBlockJoystick>();
        case TBlockKind::Farbe:
            return std::make_unique<TBlockFarbe>();
        case TBlockKind::Variable:
            return std::make_unique<TBlockVariable>();
        case TBlockKind::IncVar:
            return std::make_unique<TBlockIncVar>();
    }
    return nullptr;
}

void TBlock::DropCorner(TBlockKind kind, int32_t x, int32_t y, int32_t& cx, int32_t& cy) {
    // Integer division truncates towards zero, as the grid of the stored programs does.
    const int32_t sx = x / 8 * 8;
    const int32_t sy = y / 8 * 8;
    switch (kind) {
        case TBlockKind::Start:
        case TBlockKind::Ende:
            cx = sx - 40;
            cy = sy - 25;
            break;
        case TBlockKind::Motor:
            cx = sx - 70;
            cy = sy - 25;
            break;
        case TBlockKind::Kollision:
        case TBlockKind::Joystick:
        case TBlockKind::Variable:
            cx = sx - 75;
            cy = sy - 40;
            break;
        default:
            cx = sx - 75;
            cy = sy - 25;
            break;
    }
}

void TBlock::SaveToList(std::vector<std::string>& lines) const {
    lines.push_back("TYP=" + std::string(TypeName(m_kind)));
    Key(lines, "X", X);
    Key(lines, "Y", Y);
    SaveKeys(lines);
}

void TBlock::LoadFromIni(const TIniFileEx& ini, std::string_view section) {
    X = ini.ReadInteger(section, "X", 0);
    Y = ini.ReadInteger(section, "Y", 0);
    LoadKeys(ini, section);
}

void TBlock::SaveKeys(std::vector<std::string>&) const {}
void TBlock::LoadKeys(const TIniFileEx&, std::string_view) {}

// --- Motor ------------------------------------------------------------------------------------

int TBlockMotor::Execute(TAblaufRun& run) {
    TAblaufEffect e;
    e.Kind = TAblaufEffect::TKind::Motor;
    e.MotorNr = MotorNr;
    e.Status = Status;
    run.Post(std::move(e));
    return kOutYes;
}

void TBlockMotor::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "MOTORNR", MotorNr);
    Key(lines, "STATUS", Status);
}

void TBlockMotor::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    MotorNr = ini.ReadInteger(section, "MOTORNR", 1);
    Status = ini.ReadInteger(section, "STATUS", 0);
}

// --- Collision --------------------------------------------------------------------------------

int TBlockKollision::Execute(TAblaufRun& run) {
    const bool in = run.CollisionState(Name, InRange.Load());
    InRange = in;
    return in ? kOutYes : kOutNo;
}

void TBlockKollision::SaveKeys(std::vector<std::string>& lines) const {
    lines.push_back("NAME=" + Name);
}

void TBlockKollision::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Name = ini.ReadString(section, "NAME", "0");
}

// --- Pause ------------------------------------------------------------------------------------

int TBlockPause::Execute(TAblaufRun& run) {
    run.Pause(Intervall);
    return kOutYes;
}

void TBlockPause::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "INTERVALL", Intervall);
}

void TBlockPause::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Intervall = ini.ReadInteger(section, "INTERVALL", 1000);
}

// --- Set variable -----------------------------------------------------------------------------

int TBlockSetVar::Execute(TAblaufRun& run) {
    run.Variables().Set(Variable, Wert);
    return kOutYes;
}

void TBlockSetVar::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "VARIABLE", Variable);
    Key(lines, "WERT", Wert);
}

void TBlockSetVar::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Variable = ini.ReadInteger(section, "VARIABLE", 1);
    Wert = ini.ReadInteger(section, "WERT", 0);
}

// --- Joystick ---------------------------------------------------------------------------------

int TBlockJoystick::Execute(TAblaufRun& run) {
    const TJoystickState& j = run.Joystick();
    bool yes = false;
    switch (Achse) {
        case 0:
            yes = j.X() > kJoystickThreshold;
            break;
        case 1:
            yes = j.X() < -kJoystickThreshold;
            break;
        case 2:
            yes = j.Y() > kJoystickThreshold;
            break;
        case 3:
            yes = j.Y() < -kJoystickThreshold;
            break;
        case 4:
        case 5:
        case 6:
        case 7:
            yes = (j.Buttons() >> (Achse - 4)) & 1u;
            break;
        default:
            break;
    }
    return yes ? kOutYes : kOutNo;
}

void TBlockJoystick::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "ACHSE", Achse);
}

void TBlockJoystick::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Achse = ini.ReadInteger(section, "ACHSE", 0);
}

// --- Colour -----------------------------------------------------------------------------------

int TBlockFarbe::Execute(TAblaufRun& run) {
    TAblaufEffect e;
    e.Kind = TAblaufEffect::TKind::Farbe;
    e.Bauteil = Bauteil;
    e.Farbe = Farbe;
    run.Post(std::move(e));
    return kOutYes;
}

void TBlockFarbe::SaveKeys(std::vector<std::string>& lines) const {
    lines.push_back("BAUTEIL=" + Bauteil);
    Key(lines, "FARBE", Farbe);
}

void TBlockFarbe::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Bauteil = ini.ReadString(section, "BAUTEIL", "");
    Farbe = ini.ReadInteger(section, "FARBE", 0);
}

// --- Compare ----------------------------------------------------------------------------------

int TBlockVariable::Execute(TAblaufRun& run) {
    const int32_t a = run.Variables().Get(Var1);
    const int32_t b = run.Variables().Get(Var2);
    bool holds = false;
    switch (Art) {
        case 0:
            holds = a == b;
            break;
        case 1:
            holds = a < b;
            break;
        case 2:
            holds = a > b;
            break;
        case 3:
            holds = a <= b;
            break;
        case 4:
            holds = a >= b;
            break;
        case 5:
            holds = a != b;
            break;
        default:
            break;
    }
    return holds ? kOutYes : kOutNo;
}

void TBlockVariable::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "ART", Art);
    Key(lines, "VAR1", Var1);
    Key(lines, "VAR2", Var2);
}

void TBlockVariable::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Art = ini.ReadInteger(section, "ART", 0);
    Var1 = ini.ReadInteger(section, "VAR1", 1);
    Var2 = ini.ReadInteger(section, "VAR2", 1);
}

// --- Change variable --------------------------------------------------------------------------

int TBlockIncVar::Execute(TAblaufRun& run) {
    run.Variables().Add(Variable, Wert);
    return kOutYes;
}

void TBlockIncVar::SaveKeys(std::vector<std::string>& lines) const {
    Key(lines, "VARIABLE", Variable);
    Key(lines, "WERT", Wert);
}

void TBlockIncVar::LoadKeys(const TIniFileEx& ini, std::string_view section) {
    Variable = ini.ReadInteger(section, "VARIABLE", 1);
    Wert = ini.ReadInteger(section, "WERT", 0);
}

}  // namespace kx
