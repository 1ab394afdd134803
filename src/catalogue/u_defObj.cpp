// Part definitions: the full reader, the library summary reader, the canonical writer, edits.
#include "catalogue/u_defObj.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

// --- The full reader's view of the file -------------------------------------------------------
//
// Definition files are read here, not through TIniFileEx. The INI reader of model and
// language files matches "key=" at the very start of a line and returns the value untouched;
// definitions, on the other hand, were always edited by hand and by outside tools, which put
// blanks around names, "=" and values. Their reader therefore trims section names, keys and
// values and compares names without regard to case. The first section of a name and the first
// line of a key count.

class TDefText {
public:
    explicit TDefText(std::string_view bytes) {
        const std::string text = Cp1252ToUtf8(bytes);
        TSection* current = nullptr;
        for (const std::string& raw : SplitLines(text)) {
            const std::string line = Trim(raw);
            if (line.empty()) {
                continue;
            }
            if (line.front() == '[') {
                const size_t close = line.find(']');
                const std::string name = UpperCase(Trim(std::string_view(line).substr(
                    1, close == std::string::npos ? std::string::npos : close - 1)));
                auto [it, added] = m_sections.try_emplace(name);
                current = added ? &it->second : nullptr;  // a repeated section is never seen
                continue;
            }
            if (!current) {
                continue;
            }
            const size_t eq = line.find('=');
            if (eq == std::string::npos) {
                continue;
            }
            current->try_emplace(UpperCase(Trim(std::string_view(line).substr(0, eq))),
                                 Trim(std::string_view(line).substr(eq + 1)));
        }
    }

    /// The trimmed value, or nothing if the section or key is missing.
    const std::string* Find(std::string_view section, std::string_view key) const {
        const auto s = m_sections.find(std::string(section));
        if (s == m_sections.end()) {
            return nullptr;
        }
        const auto k = s->second.find(std::string(key));
        return k == s->second.end() ? nullptr : &k->second;
    }

    std::string String(std::string_view section, std::string_view key, std::string_view def) const {
        const std::string* v = Find(section, key);
        return v ? *v : std::string(def);
    }

    int32_t Integer(std::string_view section, std::string_view key, int32_t def) const {
        const std::string* v = Find(section, key);
        return v ? StrToIntDef(*v, def) : def;
    }

    double Decimal(std::string_view section, std::string_view key, double def) const {
        const std::string* v = Find(section, key);
        return v ? StrToFloatDef(*v, def) : def;
    }

private:
    using TSection = std::unordered_map<std::string, std::string>;  // upper-case key -> value
    std::unordered_map<std::string, TSection> m_sections;           // upper-case name
};

uint8_t LowByte(int32_t v) {
    return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFF);
}

std::string DisplayName(const std::string& de, const std::string& eng,
                        const TCatalogueSettings& settings) {
    if (settings.IsGerman()) {
        return de;
    }
    return eng.empty() ? de : eng;
}

int32_t NumberAsInteger(std::string_view number) {
    return StrToIntDef(number, 0);
}

// --- Writing ----------------------------------------------------------------------------------

// Singles are written in their shortest form that reads back to the same single ("0,1", not
// the digits of the nearest double), so hand-typed values stay as typed.
std::string FormatSingle(float value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    double d = value;
    std::from_chars(buf, res.ptr, d);
    return FormatFloat(d);
}

// Two decimals with a comma and no thousands separator (0.5 -> "0,50").
std::string FormatTwoDecimals(double value) {
    const long long cents = std::llround(value * 100.0);
    const long long whole = std::llabs(cents) / 100;
    const long long frac = std::llabs(cents) % 100;
    std::string s = cents < 0 ? "-" : "";
    s += IntToStr(whole);
    s += ',';
    s += static_cast<char>('0' + frac / 10);
    s += static_cast<char>('0' + frac % 10);
    return s;
}

}  // namespace

// --- Settings, helpers ------------------------------------------------------------------------

bool TCatalogueSettings::IsGerman() const {
    return UpperCase(Trim(Language)) == "DEUTSCH";
}

TCatalogueSettings CurrentCatalogueSettings() {
    TkxParam& param = Param();
    TCatalogueSettings s;
    s.Language = param.GetLanguage();
    s.CombineLibrary = param.GetCombineLibrary();
    s.DeveloperMode = param.DeveloperMode;
    return s;
}

std::array<float, 2> TDefObj::TexCoord(float x, float y) const {
    const float w = TxWidth == 0 ? 1.0f : static_cast<float>(TxWidth);
    const float h = TxHeight == 0 ? 1.0f : static_cast<float>(TxHeight);
    return {(static_cast<float>(TxOfsX) + x) / w, (static_cast<float>(TxOfsY) + y) / h};
}

std::string GroupName(int group, const TGetText& getText) {
    if (!getText) {
        return "?";
    }
    return getText("GROUPS", group, "?");
}

std::string GroupName(int group) {
    return Language().GetText("GROUPS", group, "?");
}

// --- Full reader ------------------------------------------------------------------------------

TDefObj ParseDefObj(std::string_view bytes, std::string_view number,
                    const TCatalogueSettings& settings) {
    const TDefText ini(bytes);
    TDefObj d;
    d.Number = std::string(number);

    d.Red = LowByte(ini.Integer("COLOR", "RED", 0));
    d.Green = LowByte(ini.Integer("COLOR", "GREEN", 0));
    d.Blue = LowByte(ini.Integer("COLOR", "BLUE", 0));
    if (d.Red == 0 && d.Green == 0 && d.Blue == 0) {
        d.Red = d.Green = d.Blue = 80;  // pure black would show no shape at all
    }
    d.Texture = ini.String("COLOR", "TEXTURE", "");
    d.TxWidth = ini.Integer("COLOR", "TXWIDTH", 1);
    d.TxHeight = ini.Integer("COLOR", "TXHEIGHT", 1);
    d.TxOfsX = ini.Integer("COLOR", "TXOFSX", 0);
    d.TxOfsY = ini.Integer("COLOR", "TXOFSY", 0);
    d.TxAlpha = ini.Integer("COLOR", "TXALPHA", 0);
    d.DisableShader = ini.Integer("COLOR", "DISABLESHADER", 0);
    {
        const std::string* a = ini.Find("COLOR", "ALPHA");
        d.Alpha = (!a || *a == "-1") ? 1.0 : StrToFloatDef(*a, 1.0);
        d.Alpha = std::clamp(d.Alpha, 0.0, 1.0);
    }

    d.NameDe = ini.String("COMMON", "NAME", "noname");
    d.NameEng = ini.String("COMMON", "ENG", "noname");
    d.Name = DisplayName(d.NameDe, d.NameEng, settings);
    d.Price = std::max(0.0, ini.Decimal("COMMON", "PRIZE", 0.0));
    d.Group = LowByte(ini.Integer("COMMON", "GROUP", 0));
    d.OrgNumber = ini.String("COMMON", "ORGNUMBER", "");
    if (d.OrgNumber.empty()) {
        d.OrgNumber = d.Number;
    }
    d.Printable = ini.Integer("COMMON", "PRINTABLE", 1);
    d.Version = ini.Integer("COMMON", "VERSION", 0);
    d.Hide = ini.String("COMMON", "HIDE", "0") == "1";
    {
        const std::string* s = ini.Find("COMMON", "SORTORDER");
        const int32_t byNumber = NumberAsInteger(d.Number);
        d.SortOrder = (!s || s->empty()) ? byNumber : StrToIntDef(*s, byNumber);
    }
    d.KineRot = ini.Integer("COMMON", "KINEROT", 0);
    d.Teeth = ini.Integer("COMMON", "TEETH", 1);
    d.Mirror = LowByte(ini.Integer("COMMON", "MIRROR", 0));
    if (d.Mirror > 3) {
        d.Mirror = 0;
    }

    d.OffsetX = ini.Decimal("OFFSET", "X", 0.0);
    d.OffsetY = ini.Decimal("OFFSET", "Y", 0.0);
    d.OffsetZ = ini.Decimal("OFFSET", "Z", 0.0);

    const int childCount = std::clamp(ini.Integer("CHILDS", "COUNT", 0), 0, MaxDefChildren);
    d.Children.reserve(static_cast<size_t>(childCount));
    for (int i = 1; i <= childCount; ++i) {
        d.Children.push_back(ini.String("CHILD" + IntToStr(i), "NUMBER", ""));
    }

    const int connCount = std::clamp(ini.Integer("CONNECTIONS", "COUNT", 0), 0, MaxDefConns);
    d.Conns.reserve(static_cast<size_t>(connCount));
    for (int i = 1; i <= connCount; ++i) {
        const std::string s = "CONN" + IntToStr(i);
        auto dec = [&](const char* key) { return static_cast<float>(ini.Decimal(s, key, 0.0)); };
        TConn c;
        c.Typ = ini.Integer(s, "TYP", 0);
        c.Thick = dec("THICK");
        c.NameDe = ini.String(s, "NAME", "noname");
        c.NameEng = ini.String(s, "ENG", "noname");
        c.Name = DisplayName(c.NameDe, c.NameEng, settings);
        c.X = dec("X");
        c.Y = dec("Y");
        c.Z = dec("Z");
        c.PF = dec("PF");
        c.RF = dec("RF");
        c.TF = dec("TF");
        c.PN = dec("PN");
        c.RN = dec("RN");
        c.TN = dec("TN");
        d.Conns.push_back(std::move(c));
    }
    return d;
}

TDefObj ReadDefObj(const std::filesystem::path& file, std::string_view number,
                   const TCatalogueSettings& settings) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    TDefObj d = ParseDefObj(bytes ? *bytes : std::string(), number, settings);
    d.Path = file.string();
    return d;
}

TDefObj ReadDefObj(const TPartFiles& files, std::string_view number,
                   const TCatalogueSettings& settings) {
    if (const auto file = files.FindDef(number)) {
        return ReadDefObj(*file, number, settings);
    }
    TDefObj d = ParseDefObj({}, number, settings);
    d.Path = files.UserPath("def", std::string(number) + ".def").string();
    return d;
}

// --- Library reader ---------------------------------------------------------------------------
//
// Reads the raw lines and looks only at [COMMON]. Unlike the full reader it neither trims nor
// tolerates blanks: a key counts only at the very start of a line and directly followed by
// "=". The library reads thousands of files at start-up, so this works on the bytes and
// decodes only the texts it keeps.

TMiniDefObj ParseMiniDefObj(std::string_view bytes, std::string_view number,
                            const TCatalogueSettings& settings) {
    TMiniDefObj m;
    m.SortOrder = NumberAsInteger(number);
    m.OrgNumber = std::string(number);
    m.Prefix = std::string(number.substr(0, 5));
    std::string english;

    auto startsWith = [](std::string_view line, std::string_view upperKey) {
        return line.size() >= upperKey.size() &&
               SameText(line.substr(0, upperKey.size()), upperKey);
    };

    bool inCommon = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.front() == '[') {
            inCommon = SameText(line, "[COMMON]");
            continue;
        }
        if (!inCommon) {
            continue;
        }
        if (startsWith(line, "HIDE=")) {
            m.Hide = line.substr(5) == "1";
        } else if (startsWith(line, "GROUP=")) {
            m.Group = StrToIntDef(line.substr(6), 0);
        } else if (startsWith(line, "ORGNUMBER=")) {
            m.OrgNumber = Cp1252ToUtf8(line.substr(10));
        } else if (startsWith(line, "NAME=")) {
            m.Name = Cp1252ToUtf8(line.substr(5));
        } else if (startsWith(line, "ENG=")) {
            english = Cp1252ToUtf8(line.substr(4));
        } else if (startsWith(line, "SORTORDER=")) {
            m.SortOrder = StrToIntDef(line.substr(10), 0);
        } else if (startsWith(line, "VERSION=")) {
            // An unreadable revision counts as 0 rather than stopping the whole library.
            m.Version = StrToIntDef(line.substr(8, 20), 0);
        }
    }

    if (m.SortOrder == 0) {
        m.SortOrder = StrToIntDef(m.OrgNumber, 0);
    }
    if (!settings.IsGerman()) {
        m.Name = english;  // even when empty: the library shows what the English file says
    }
    if (settings.CombineLibrary && m.Group >= 9 && m.Group <= 18) {
        m.Group = m.Group == 18 ? 5 : m.Group - 9;
    }
    return m;
}

TMiniDefObj ReadMiniDefObj(const std::filesystem::path& file, std::string_view number,
                           const TCatalogueSettings& settings) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        throw TDefFileError("Die Def-Datei konnte nicht gelesen werden: " + file.string());
    }
    return ParseMiniDefObj(*bytes, number, settings);
}

// --- Canonical writer -------------------------------------------------------------------------

std::vector<std::string> DefinitionLines(const TDefObj& d) {
    std::vector<std::string> l;
    l.reserve(32 + d.Children.size() * 3 + d.Conns.size() * 15);
    auto add = [&l](std::string_view key, const std::string& value) {
        l.push_back(std::string(key) + value);
    };

    l.push_back("[COLOR]");
    add("Red=", IntToStr(d.Red));
    add("Green=", IntToStr(d.Green));
    add("Blue=", IntToStr(d.Blue));
    if (d.Alpha < 1) {
        add("Alpha=", FormatTwoDecimals(std::max(d.Alpha, 0.0)));  // reads back clamped anyway
    }
    if (!d.Texture.empty()) {
        add("Texture=", d.Texture);
        add("TxHeight=", IntToStr(d.TxHeight));
        add("TxWidth=", IntToStr(d.TxWidth));
        if (d.TxOfsX != 0) {
            add("TxOfsX=", IntToStr(d.TxOfsX));
        }
        if (d.TxOfsY != 0) {
            add("TxOfsY=", IntToStr(d.TxOfsY));
        }
        if (d.TxAlpha != 0) {
            add("TxAlpha=", IntToStr(d.TxAlpha));
        }
    }
    if (d.DisableShader > 0) {
        add("DisableShader=", IntToStr(d.DisableShader));
    }
    l.emplace_back();

    l.push_back("[COMMON]");
    if (d.Mirror != 0) {
        add("Mirror=", IntToStr(d.Mirror));
    }
    add("Name=", d.NameDe);
    add("Eng=", d.NameEng);
    if (d.Price > 0) {
        add("Prize=", FormatFloat(d.Price));
    }
    add("Group=", IntToStr(d.Group));
    add("OrgNumber=", d.OrgNumber);
    add("Printable=", IntToStr(d.Printable));
    if (d.Hide) {
        l.push_back("Hide=1");
    }
    add("SortOrder=", IntToStr(d.SortOrder));
    if (d.KineRot > 0) {
        add("KineRot=", IntToStr(d.KineRot));
    }
    if (d.Teeth > 1) {
        add("Teeth=", IntToStr(d.Teeth));
    }
    add("Version=", IntToStr(d.Version));
    l.emplace_back();

    l.push_back("[OFFSET]");
    add("X=", FormatFloat(d.OffsetX));
    add("Y=", FormatFloat(d.OffsetY));
    add("Z=", FormatFloat(d.OffsetZ));
    l.emplace_back();

    const int childCount = std::min(d.ChildCount(), MaxDefChildren);
    l.push_back("[CHILDS]");
    add("Count=", IntToStr(childCount));
    l.emplace_back();
    for (int i = 1; i <= childCount; ++i) {
        l.push_back("[CHILD" + IntToStr(i) + "]");
        add("Number=", d.Child(i));
        l.emplace_back();
    }

    const int connCount = std::min(d.ConnCount(), MaxDefConns);
    l.push_back("[CONNECTIONS]");
    add("Count=", IntToStr(connCount));
    l.emplace_back();
    for (int i = 1; i <= connCount; ++i) {
        const TConn& c = d.Conn(i);
        l.push_back("[CONN" + IntToStr(i) + "]");
        add("Typ=", IntToStr(c.Typ));
        add("Thick=", FormatSingle(c.Thick));
        add("Name=", c.NameDe);
        add("Eng=", c.NameEng);
        add("X=", FormatSingle(c.X));
        add("Y=", FormatSingle(c.Y));
        add("Z=", FormatSingle(c.Z));
        add("PF=", FormatSingle(c.PF));
        add("RF=", FormatSingle(c.RF));
        add("TF=", FormatSingle(c.TF));
        add("PN=", FormatSingle(c.PN));
        add("RN=", FormatSingle(c.RN));
        add("TN=", FormatSingle(c.TN));
        l.emplace_back();
    }
    return l;
}

std::string DefinitionBytes(const TDefObj& def) {
    return Utf8ToCp1252(JoinLines(DefinitionLines(def)));
}

bool SaveDefinition(const TDefObj& def, const std::filesystem::path& file) {
    const std::filesystem::path target = file.empty() ? std::filesystem::path(def.Path) : file;
    if (target.empty()) {
        return false;
    }
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    return WriteFileAtomic(target, DefinitionBytes(def));
}

bool SaveDefinition(const TDefObj& def, TPartFiles& files) {
    const bool ok = SaveDefinition(def, files.UserPath("def", def.Number + ".def"));
    files.Refresh("def");
    return ok;
}

// --- Edits as text ----------------------------------------------------------------------------

void BumpVersionLines(std::vector<std::string>& lines) {
    bool found = false;
    for (std::string& line : lines) {
        if (StartsWithText(line, "VERSION=")) {
            const std::string_view rest = std::string_view(line).substr(8, 100);
            line = "Version=" + IntToStr(int64_t(StrToIntDef(rest, 0)) + 1);
            found = true;
        }
    }
    if (found) {
        return;
    }
    const auto common = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return StartsWithText(line, "[COMMON]");
    });
    if (common != lines.end()) {
        lines.insert(common + 1, "Version=1");
    }
}

namespace {

TDefEditResult EditFile(const std::filesystem::path& source, const std::filesystem::path& target,
                        const std::function<void(std::vector<std::string>&)>& edit) {
    std::optional<std::vector<std::string>> lines = ReadTextFile(source);
    if (!lines) {
        return TDefEditResult::NotFound;
    }
    edit(*lines);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    return WriteTextFile(target, *lines) ? TDefEditResult::Ok : TDefEditResult::NotWritten;
}

}  // namespace

TDefEditResult BumpDefinitionVersion(const std::filesystem::path& source,
                                     const std::filesystem::path& target) {
    return EditFile(source, target, BumpVersionLines);
}

TDefEditResult BumpDefinitionVersion(TPartFiles& files, std::string_view number) {
    const auto source = files.FindDef(number);
    if (!source) {
        return TDefEditResult::NotFound;
    }
    const TDefEditResult result =
        BumpDefinitionVersion(*source, files.UserPath("def", std::string(number) + ".def"));
    files.Refresh("def");
    return result;
}

void CopyEditLines(std::vector<std::string>& lines, std::string_view targetNumber, int red,
                   int green, int blue, int group) {
    for (std::string& line : lines) {
        const std::string u = UpperCase(line);
        if (u.find("ORGNUMBER=") != std::string::npos) {
            line = "OrgNumber=" + std::string(targetNumber);
        } else if (u.find("BLUE=") != std::string::npos) {
            line = "Blue=" + IntToStr(blue);
        } else if (u.find("RED=") != std::string::npos) {
            line = "Red=" + IntToStr(red);
        } else if (u.find("GREEN=") != std::string::npos) {
            line = "Green=" + IntToStr(green);
        } else if (u.find("GROUP=") != std::string::npos) {
            line = "Group=" + IntToStr(group);
        }
    }
}

TDefEditResult CopyDefinition(const std::filesystem::path& source,
                              const std::filesystem::path& target, std::string_view targetNumber,
                              int red, int green, int blue, int group) {
    return EditFile(source, target, [&](std::vector<std::string>& lines) {
        CopyEditLines(lines, targetNumber, red, green, blue, group);
    });
}

TDefEditResult CopyDefinition(TPartFiles& files, std::string_view sourceNumber,
                              std::string_view targetNumber, int red, int green, int blue,
                              int group) {
    const auto source = files.FindDef(sourceNumber);
    if (!source) {
        return TDefEditResult::NotFound;
    }
    const TDefEditResult result =
        CopyDefinition(*source, files.UserPath("def", std::string(targetNumber) + ".def"),
                       targetNumber, red, green, blue, group);
    files.Refresh("def");
    return result;
}

}  // namespace kx
