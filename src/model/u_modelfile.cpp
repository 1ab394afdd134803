// A whole model file as plain data: parsed and checked in one go, and written back line by line.
#include "model/u_modelfile.h"

#include <cmath>
#include <optional>

#include "foundation/u_iniex.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr uint32_t kDefaultHoseColour = 16760832;  // 0xFFC000
constexpr std::string_view kMissing = "\n";        // no value read from a file holds a break

const char* const kModusNames[] = {"ROTROT", "ROTFEST", "ROTTRANS"};
const char* const kAxisNames[] = {"PITCHP", "TURNP", "ROLLP", "PITCHN", "TURNN", "ROLLN"};

std::string Text(std::string_view section, int key, std::string_view german) {
    return Language().GetText(section, key, german);
}

/// Replaces the "%d" / "%s" placeholders in order; a value's own text is never looked into.
std::string Fill(std::string text, std::initializer_list<std::string> values) {
    size_t from = 0;
    for (const std::string& v : values) {
        const size_t at = text.find('%', from);
        if (at == std::string::npos || at + 1 >= text.size()) {
            break;
        }
        text.replace(at, 2, v);
        from = at + v.size();
    }
    return text;
}

// --- Reading ----------------------------------------------------------------------------------

/// Lookups through the INI reader, with the missing value told apart from an empty one.
class TSections {
public:
    explicit TSections(const std::vector<std::string>& lines) : m_ini(lines) {}

    std::optional<std::string> Value(std::string_view section, std::string_view key) const {
        std::string v = m_ini.ReadString(section, key, kMissing);
        if (v == kMissing) {
            return std::nullopt;
        }
        return v;
    }
    std::string String(std::string_view section, std::string_view key, std::string_view def) const {
        return m_ini.ReadString(section, key, def);
    }
    int32_t Int(std::string_view section, std::string_view key, int32_t def) const {
        return m_ini.ReadInteger(section, key, def);
    }
    double Float(std::string_view section, std::string_view key, double def) const {
        const auto v = Value(section, key);
        return v ? StrToFloatDef(*v, def) : def;
    }
    float Single(std::string_view section, std::string_view key, float def) const {
        return static_cast<float>(Float(section, key, def));
    }
    /// Non-empty lines of a section (0 when there is none).
    size_t LineCount(std::string_view section) const {
        const TIniFileSection* s = m_ini.FindSection(section);
        return s ? s->Lines.size() : 0;
    }
    size_t SectionCount() const { return m_ini.Sections().size(); }

private:
    TIniFileEx m_ini;
};

struct TParseError {
    std::string Message;
};

/// A count of sections: missing 0; it may not name more sections than the file holds, which
/// keeps a broken or hostile count from making millions of records.
int32_t SectionCount(const TSections& s, std::string_view key) {
    const int32_t n = s.Int("COMMON", key, 0);
    if (n > 0 && static_cast<size_t>(n) > s.SectionCount()) {
        throw TParseError{
            Fill(Text("MAINOBJ", 62,
                      "Die Modelldatei ist beschädigt: %s nennt %d Abschnitte, "
                      "die Datei enthält nur %d."),
                 {std::string(key), IntToStr(n), IntToStr(int64_t(s.SectionCount()))})};
    }
    return n;
}

/// A count of entries inside a section: missing 0; at most the section's lines.
int32_t EntryCount(const TSections& s, std::string_view section, std::string_view key,
                   size_t perEntry) {
    const int32_t n = s.Int(section, key, 0);
    if (n > 0 && static_cast<size_t>(n) * perEntry > s.LineCount(section)) {
        throw TParseError{Fill(Text("MAINOBJ", 63,
                                    "Die Modelldatei ist beschädigt: Abschnitt [%s] nennt %d "
                                    "Einträge, mehr als er enthält."),
                               {std::string(section), IntToStr(n)})};
    }
    return n;
}

void ParseCommon(const TSections& s, TModelFile& f) {
    TModelInformation& info = f.Information;
    info.InfModell = s.String("COMMON", "INFMODELL", "");
    info.InfOriginal = s.String("COMMON", "INFORIGINAL", "");
    info.InfGebaut = s.String("COMMON", "INFGEBAUT", "");
    info.InfKategorie = s.String("COMMON", "INFKATEGORIE", "");
    const int32_t memos = EntryCount(s, "COMMON", "INFBESCHREIBUNGCOUNT", 1);
    for (int32_t k = 1; k <= memos; ++k) {
        info.Description.push_back(s.String("COMMON", "MEMO" + IntToStr(k), ""));
    }
    for (int m = 1; m <= kMotorCount; ++m) {
        TMotorRec& motor = f.Motors[static_cast<size_t>(m - 1)];
        const std::string n = IntToStr(m);
        motor.Speed = s.Int("COMMON", "MotorSpeed" + n, 1);
        motor.Rotation = s.Int("COMMON", "MOTORROTATION" + n, 0);
        motor.Status = s.Int("COMMON", "MOTORSTATUS" + n, 0);
        motor.PartName = s.String("COMMON", "Motor" + n, "");
        motor.Sound = s.Int("COMMON", "MOTORSOUND" + n, 0);
    }
    f.AniLength = s.Int("COMMON", "ANILENGTH", 100);
}

void ParseCamera(const TSections& s, TModelFile& f) {
    f.HasCamera = s.Value("CAMERA", "POSITIONX").has_value();
    if (!f.HasCamera) {
        return;
    }
    auto v = [&](std::string_view prefix) {
        const std::string p(prefix);
        return TVector3f{s.Single("CAMERA", p + "X", 0), s.Single("CAMERA", p + "Y", 0),
                         s.Single("CAMERA", p + "Z", 0)};
    };
    f.Camera.Position = v("Position");
    f.Camera.Direction = v("Direction");
    f.Camera.Up = v("Up");
    f.Camera.Target = v("Target");
}

void ParseSemiFinished(const TSections& s, TModelFile& f) {
    const int32_t count = SectionCount(s, "HALBZEUGCOUNT");
    for (int32_t j = 1; j <= count; ++j) {
        const std::string sec = "HZ" + IntToStr(j);
        THZData hz;
        hz.Name = s.String(sec, "NAME", "");
        hz.Bez = s.String(sec, "BEZ", "");
        hz.Typ = s.Int(sec, "TYP", 0);
        const int32_t mods = EntryCount(s, sec, "COUNT", 1);
        for (int32_t i = 0; i < mods; ++i) {
            const std::string n = IntToStr(i);
            THZModData m;
            m.Typ = s.Int(sec, "TYP_" + n, 0);
            m.X1 = s.Float(sec, "X1_" + n, 0);
            m.X2 = s.Float(sec, "X2_" + n, 0);
            m.D = s.Float(sec, "D_" + n, 0);
            m.Mode = s.Int(sec, "MODE_" + n, 0);
            hz.Mods.push_back(m);
        }
        f.SemiFinished.push_back(std::move(hz));
    }
}

void ParseHoses(const TSections& s, TModelFile& f) {
    const int32_t count = SectionCount(s, "TUBECOUNT");
    for (int32_t t = 1; t <= count; ++t) {
        const std::string sec = "TUBE" + IntToStr(t);
        THoseData hose;
        hose.Smooth = s.String(sec, "MODE", "") == "1";
        hose.Tag = s.Int(sec, "TAG", 0);
        hose.Radius = 0.2f;
        if (const auto radius = s.Value(sec, "RADIUS")) {
            const auto value = ParseFloat(*radius);
            if (value && std::isfinite(*value)) {
                hose.Radius = static_cast<float>(*value);
            } else {
                // One hose with a broken radius is no reason to refuse the whole model.
                hose.Radius = DefaultHoseRadius(hose.Tag);
                Stack().Push("TModelFile.HoseRadius", IntToStr(t), *radius);
            }
        }
        const int32_t colour = s.Int(sec, "COLOR", static_cast<int32_t>(kDefaultHoseColour));
        hose.Colour = static_cast<uint32_t>(colour);
        hose.DisplayColour = hose.Colour;
        hose.Phase = s.Int(sec, "PHASE", 0);
        const int32_t nodes = EntryCount(s, sec, "COUNT", 1);
        for (int32_t i = 1; i <= nodes; ++i) {
            const std::string n = IntToStr(i);
            hose.Nodes.push_back(
                {s.Single(sec, "X" + n, 0), s.Single(sec, "Y" + n, 0), s.Single(sec, "Z" + n, 0)});
        }
        f.Hoses.push_back(std::move(hose));
    }
}

void ParseKeys(const TSections& s, TModelFile& f) {
    const int32_t count = SectionCount(s, "KEYCOUNT");
    for (int32_t n = 1; n <= count; ++n) {
        const std::string sec = "KEY" + IntToStr(n);
        TKeyRecord r;
        r.Name = s.String(sec, "NAME", "noname");
        TKeyData& k = r.Key;
        k.Time = s.Int(sec, "TIME", 0);
        k.PositionX = s.Single(sec, "POSITIONX", 0);
        k.PositionY = s.Single(sec, "POSITIONY", 0);
        k.PositionZ = s.Single(sec, "POSITIONZ", 0);
        k.DirectionX = s.Single(sec, "DIRECTIONX", 0);
        k.DirectionY = s.Single(sec, "DIRECTIONY", 0);
        k.DirectionZ = s.Single(sec, "DIRECTIONZ", 0);
        k.UpX = s.Single(sec, "UPX", 0);
        k.UpY = s.Single(sec, "UPY", 0);
        k.UpZ = s.Single(sec, "UPZ", 0);
        f.Keys.push_back(std::move(r));
    }
}

uint8_t Code(const std::optional<std::string>& value, const char* const* names, size_t count,
             uint8_t missing) {
    if (!value) {
        return missing;
    }
    for (size_t i = 0; i < count; ++i) {
        if (*value == names[i]) {
            return static_cast<uint8_t>(i);
        }
    }
    return 0;
}

void ParseLinks(const TSections& s, TModelFile& f) {
    const int32_t count = SectionCount(s, "KINEMATIKCOUNT");
    for (int32_t n = 1; n <= count; ++n) {
        const std::string sec = "KINE" + IntToStr(n);
        TKineData k;
        k.Modus = Code(s.Value(sec, "MODUS"), kModusNames, 3, kKineRotRot);
        k.Bauteil1 = s.String(sec, "BAUTEIL1", "");
        k.Bauteil2 = s.String(sec, "BAUTEIL2", "");
        k.Rotation1 = Code(s.Value(sec, "ROTATION1"), kAxisNames, 6, kAxisRollP);
        k.Rotation2 = Code(s.Value(sec, "ROTATION2"), kAxisNames, 6, kAxisRollP);
        k.Z1 = s.Int(sec, "Z1", 1);
        k.Z2 = s.Int(sec, "Z2", 1);
        k.DX = s.Single(sec, "DX", 0);
        k.DY = s.Single(sec, "DY", 0);
        k.DZ = s.Single(sec, "DZ", 0);
        f.Links.push_back(std::move(k));
    }
}

void ParseCollisions(const TSections& s, TModelFile& f) {
    const int32_t count = SectionCount(s, "COLLISIONCOUNT");
    for (int32_t n = 1; n <= count; ++n) {
        const std::string sec = "KINECOLL" + IntToStr(n);
        TCollData c;
        const auto active = s.Value(sec, "ACTIVE");
        c.Active = !active || *active == "1";
        c.ObjName1 = s.String(sec, "OBJNAME1", "");
        c.ObjName2 = s.String(sec, "OBJNAME2", "");
        c.Abstand = s.Single(sec, "ABSTAND", 8.0f);
        c.Aktion = s.Int(sec, "AKTION", 4);
        c.Param1 = s.String(sec, "PARAM1", "");
        f.CollisionRules.push_back(std::move(c));
    }
}

bool IsHeader(const std::string& line) {
    return !line.empty() && line.front() == '[';
}

// --- Writing ----------------------------------------------------------------------------------

/// A text value may not break its line: a break would start a line of its own.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

class TWriter {
public:
    explicit TWriter(std::vector<std::string>& lines) : m_lines(lines) {}
    void Header(std::string_view name) { m_lines.push_back("[" + std::string(name) + "]"); }
    void Header(std::string_view name, size_t n) {
        m_lines.push_back("[" + std::string(name) + IntToStr(int64_t(n)) + "]");
    }
    void Empty() { m_lines.emplace_back(); }
    void Text(std::string_view key, std::string_view value) {
        std::string line(key);
        line += '=';
        line += OneLine(value);
        m_lines.push_back(std::move(line));
    }
    void Int(std::string_view key, int64_t value) { Text(key, IntToStr(value)); }
    void Float(std::string_view key, double value) { Text(key, FormatFloat(value)); }
    /// Single precision widened first, so the file shows the stored binary value.
    void Single(std::string_view key, float value) { Float(key, static_cast<double>(value)); }

private:
    std::vector<std::string>& m_lines;
};

void WritePart(TWriter& w, size_t n, const TPartRecord& p) {
    w.Header("PART", n);
    w.Text("NAME", p.StoredName);
    w.Float("XPOS", p.XPos);
    w.Float("YPOS", p.YPos);
    w.Float("ZPOS", p.ZPos);
    w.Float("XUP", p.XUp);
    w.Float("YUP", p.YUp);
    w.Float("ZUP", p.ZUp);
    w.Float("XDIR", p.XDir);
    w.Float("YDIR", p.YDir);
    w.Float("ZDIR", p.ZDir);
    w.Int("COLOR", p.Color);
    w.Int("PHASE", p.Phase);
    w.Empty();
}

void WriteCommon(TWriter& w, const TModelFile& f) {
    w.Header("COMMON");
    w.Text("Version", "1");
    w.Int("Count", int64_t(f.Parts.size()));
    w.Text("InfModell", f.Information.InfModell);
    w.Text("InfOriginal", f.Information.InfOriginal);
    w.Text("InfGebaut", f.Information.InfGebaut);
    w.Text("InfKategorie", f.Information.InfKategorie);
    w.Int("InfBeschreibungCount", int64_t(f.Information.Description.size()));
    for (size_t k = 0; k < f.Information.Description.size(); ++k) {
        w.Text("MEMO" + IntToStr(int64_t(k + 1)), f.Information.Description[k]);
    }
    w.Int("TubeCount", int64_t(f.Hoses.size()));
    w.Int("KinematikCount", int64_t(f.Links.size()));
    w.Int("CollisionCount", int64_t(f.CollisionRules.size()));
    w.Int("HalbzeugCount", int64_t(f.SemiFinished.size()));
    w.Int("GroupCount", int64_t(f.Groups.size()));
    w.Int("MeasureCount", int64_t(f.Measurements.size()));
    for (int m = 1; m <= kMotorCount; ++m) {
        const TMotorRec& motor = f.Motors[static_cast<size_t>(m - 1)];
        const std::string n = IntToStr(m);
        w.Int("MotorSpeed" + n, motor.Speed);
        w.Int("MOTORROTATION" + n, motor.Rotation);
        w.Int("MOTORSTATUS" + n, motor.Status);
        w.Text("Motor" + n, motor.PartName);
        w.Int("MOTORSOUND" + n, motor.Sound);
    }
    w.Int("KeyCount", int64_t(f.Keys.size()));
    w.Int("AniLength", f.AniLength);
    w.Empty();
}

void WriteCamera(TWriter& w, const TCameraPose& c) {
    w.Header("CAMERA");
    auto v = [&](const std::string& prefix, const TVector3f& p) {
        w.Single(prefix + "X", p.X);
        w.Single(prefix + "Y", p.Y);
        w.Single(prefix + "Z", p.Z);
    };
    v("Position", c.Position);
    v("Direction", c.Direction);
    v("Up", c.Up);
    v("Target", c.Target);
    w.Empty();
}

void WriteStoredCamera(TWriter& w, size_t n, const TCameraRecord& c) {
    w.Header("EXCAM", n);
    w.Text("CAMNAME", c.Name);
    w.Float("POSITIONX", c.PositionX);
    w.Float("POSITIONY", c.PositionY);
    w.Float("POSITIONZ", c.PositionZ);
    w.Float("TARGETX", c.TargetX);
    w.Float("TARGETY", c.TargetY);
    w.Float("TARGETZ", c.TargetZ);
    w.Empty();
}

void WriteHose(TWriter& w, size_t n, const THoseData& h) {
    w.Header("TUBE", n);
    w.Single("Radius", h.Radius);
    w.Int("Color", h.Colour);
    w.Int("Phase", h.Phase);
    w.Int("Tag", h.Tag);
    w.Int("Count", int64_t(h.Nodes.size()));
    w.Text("Mode", h.Smooth ? "1" : "0");
    for (size_t i = 0; i < h.Nodes.size(); ++i) {
        const std::string k = IntToStr(int64_t(i + 1));
        w.Single("X" + k, h.Nodes[i].X);
        w.Single("Y" + k, h.Nodes[i].Y);
        w.Single("Z" + k, h.Nodes[i].Z);
    }
    w.Empty();
}

void WriteKey(TWriter& w, size_t n, const TKeyRecord& r) {
    const TKeyData& k = r.Key;
    w.Header("KEY", n);
    w.Text("Name", r.Name);
    w.Int("Time", k.Time);
    w.Single("PositionX", k.PositionX);
    w.Single("PositionY", k.PositionY);
    w.Single("PositionZ", k.PositionZ);
    w.Single("DirectionX", k.DirectionX);
    w.Single("DirectionY", k.DirectionY);
    w.Single("DirectionZ", k.DirectionZ);
    w.Single("UpX", k.UpX);
    w.Single("UpY", k.UpY);
    w.Single("UpZ", k.UpZ);
    w.Empty();
}

void WriteLink(TWriter& w, size_t n, const TKineData& k) {
    w.Header("KINE", n);
    if (k.Modus < 3) {
        w.Text("Modus", kModusNames[k.Modus]);
    }
    w.Text("Bauteil1", k.Bauteil1);
    w.Text("Bauteil2", k.Bauteil2);
    if (k.Rotation1 < 6) {
        w.Text("Rotation1", kAxisNames[k.Rotation1]);
    }
    if (k.Rotation2 < 6) {
        w.Text("Rotation2", kAxisNames[k.Rotation2]);
    }
    w.Int("Z1", k.Z1);
    w.Int("Z2", k.Z2);
    w.Single("DX", k.DX);
    w.Single("DY", k.DY);
    w.Single("DZ", k.DZ);
}

void WriteCollision(TWriter& w, size_t n, const TCollData& c) {
    w.Header("KINECOLL", n);
    w.Text("ACTIVE", c.Active ? "1" : "0");
    w.Text("OBJNAME1", c.ObjName1);
    w.Text("OBJNAME2", c.ObjName2);
    w.Single("ABSTAND", c.Abstand);
    w.Int("AKTION", c.Aktion);
    w.Text("PARAM1", c.Param1);
    w.Empty();
}

void WriteGroup(TWriter& w, size_t n, const TGroupRecord& g) {
    w.Header("GROUP", n);
    w.Text("GNAME", g.Name);
    w.Int("GCOUNT", int64_t(g.Members.size()));
    w.Text("GINTERNAL", g.Internal ? "TRUE" : "FALSE");
    for (size_t i = 0; i < g.Members.size(); ++i) {
        w.Text("GPART" + IntToStr(int64_t(i + 1)), g.Members[i]);
    }
}

void WriteMeasure(TWriter& w, size_t n, const TMeasureRecord& m) {
    w.Header("MEASURE", n);
    w.Text("VISIBLE", m.Visible ? "1" : "0");
    w.Text("PART1", m.Part1);
    w.Text("PART2", m.Part2);
    w.Float("BASELINEHEIGHT", m.BaseLineHeight);
    w.Float("ROTATION", m.Rotation);
    w.Float("TEXTHEIGHT", m.TextHeight);
    w.Float("LIFT1", m.Lift1);
    w.Float("MOVE1", m.Move1);
    w.Float("SLIDE1", m.Slide1);
    w.Float("LIFT2", m.Lift2);
    w.Float("MOVE2", m.Move2);
    w.Float("SLIDE2", m.Slide2);
}

void WriteSemiFinished(TWriter& w, size_t n, const THZData& hz) {
    w.Header("HZ", n);
    w.Text("NAME", hz.Name);
    w.Text("BEZ", hz.Bez);
    w.Int("TYP", hz.Typ);
    w.Int("COUNT", int64_t(hz.Mods.size()));
    for (size_t i = 0; i < hz.Mods.size(); ++i) {
        const THZModData& m = hz.Mods[i];
        const std::string k = IntToStr(int64_t(i));
        w.Int("TYP_" + k, m.Typ);
        w.Float("X1_" + k, m.X1);
        w.Float("X2_" + k, m.X2);
        w.Float("D_" + k, m.D);
        w.Int("MODE_" + k, m.Mode);
    }
    w.Empty();
}

}  // namespace

std::vector<std::string> EmptySequenceProgram() {
    return {"[LOGIKCOMMON]", "BLOCKCOUNT=0", "CONNCOUNT=0", ""};
}

TModelFileResult ParseModelFile(const std::vector<std::string>& lines, TModelFile& f) {
    f = TModelFile{};
    // One pass sorts the lines: the scanner sees them all; the part sections, which the
    // scanner alone reads, stay away from the INI reader (they are most of a big file); the
    // sequence program's sections are kept as they stand.
    std::vector<std::string> other;
    other.reserve(256);
    enum class TIn { Other, Part, Logik } in = TIn::Other;
    for (const std::string& line : lines) {
        if (IsHeader(line)) {
            const std::string_view header = std::string_view(line).substr(1);
            in = StartsWithText(header, "PART")    ? TIn::Part
                 : StartsWithText(header, "LOGIK") ? TIn::Logik
                                                   : TIn::Other;
        }
        switch (in) {
            case TIn::Part:
                break;
            case TIn::Logik:
                f.SequenceLines.push_back(line);
                break;
            case TIn::Other:
                other.push_back(line);
                break;
        }
    }

    // Each of the program's sections ends in one empty line; the empty lines after that stand
    // for the (possibly empty) lists written after the program.
    while (f.SequenceLines.size() >= 2 && f.SequenceLines.back().empty() &&
           f.SequenceLines[f.SequenceLines.size() - 2].empty()) {
        f.SequenceLines.pop_back();
    }

    TModelLoader loader;
    loader.Scan(lines);
    const TSections s(other);
    try {
        int32_t count = 0;
        if (const auto text = s.Value("COMMON", "COUNT")) {
            const auto value = ParseInt(*text);
            if (!value || *value < 0) {
                throw TParseError{Fill(Text("MAINOBJ", 60,
                                            "Die Modelldatei ist beschädigt: die Anzahl der "
                                            "Bauteile (%s) ist keine gültige Zahl."),
                                       {*text})};
            }
            count = *value;
        }
        if (static_cast<size_t>(count) > loader.Parts.size()) {
            throw TParseError{Fill(Text("MAINOBJ", 61,
                                        "Die Modelldatei ist unvollständig: sie nennt %d "
                                        "Bauteile, enthält aber nur %d."),
                                   {IntToStr(count), IntToStr(int64_t(loader.Parts.size()))})};
        }
        loader.Parts.resize(static_cast<size_t>(count));
        f.Parts = std::move(loader.Parts);
        f.Measurements = std::move(loader.Measurements);
        f.Cameras = std::move(loader.Cameras);
        f.Groups = std::move(loader.Groups);

        ParseCommon(s, f);
        ParseSemiFinished(s, f);
        ParseHoses(s, f);
        ParseCamera(s, f);
        ParseKeys(s, f);
        ParseLinks(s, f);
        ParseCollisions(s, f);
    } catch (const TParseError& e) {
        f = TModelFile{};
        return TModelFileResult::Failed(e.Message);
    }
    return TModelFileResult::Ok();
}

std::vector<std::string> ModelFileLines(const TModelFile& f,
                                        const std::function<void(size_t)>& progress) {
    std::vector<std::string> lines;
    lines.reserve(f.Parts.size() * 14 + f.Keys.size() * 13 + 256);
    TWriter w(lines);
    for (size_t i = 0; i < f.Parts.size(); ++i) {
        if (progress) {
            progress(i);
        }
        WritePart(w, i + 1, f.Parts[i]);
    }
    WriteCommon(w, f);
    WriteCamera(w, f.Camera);
    for (size_t i = 0; i < f.Cameras.size(); ++i) {
        WriteStoredCamera(w, i + 1, f.Cameras[i]);
    }
    for (size_t i = 0; i < f.Hoses.size(); ++i) {
        WriteHose(w, i + 1, f.Hoses[i]);
    }
    for (size_t i = 0; i < f.Keys.size(); ++i) {
        WriteKey(w, i + 1, f.Keys[i]);
    }
    for (size_t i = 0; i < f.Links.size(); ++i) {
        WriteLink(w, i + 1, f.Links[i]);
    }
    const std::vector<std::string>& sequence =
        f.SequenceLines.empty() ? EmptySequenceProgram() : f.SequenceLines;
    lines.insert(lines.end(), sequence.begin(), sequence.end());
    for (size_t i = 0; i < f.CollisionRules.size(); ++i) {
        WriteCollision(w, i + 1, f.CollisionRules[i]);
    }
    for (size_t i = 0; i < f.Groups.size(); ++i) {
        WriteGroup(w, i + 1, f.Groups[i]);
    }
    w.Empty();
    for (size_t i = 0; i < f.Measurements.size(); ++i) {
        WriteMeasure(w, i + 1, f.Measurements[i]);
    }
    w.Empty();
    for (size_t i = 0; i < f.SemiFinished.size(); ++i) {
        WriteSemiFinished(w, i + 1, f.SemiFinished[i]);
    }
    return lines;
}

TNameMap::TNameMap(const std::vector<TPartRecord>& parts) {
    m_names.reserve(parts.size());
    for (const TPartRecord& p : parts) {
        if (p.StoredName.empty()) {
            continue;  // an empty name stands for "no part" wherever a part is named
        }
        m_names.emplace(p.StoredName, p.NewName.empty() ? p.StoredName : p.NewName);
    }
}

const std::string& TNameMap::operator()(const std::string& storedName) const {
    const auto it = m_names.find(storedName);
    return it == m_names.end() ? storedName : it->second;
}

}  // namespace kx
