// Profile definitions: the connector table of the slot profile, placed along its length.
#include "catalogue/u_profilegen.h"

#include <filesystem>
#include <system_error>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

/// One connector row; X is either a fixed text or a multiple of the half length plus an offset.
struct TProfileConn {
    const char* Name;
    const char* Eng;
    int Typ;
    int Thick;
    int XSign;       // 0: X is XFixed
    double XOffset;  // added to the half length before the sign
    const char* XFixed;
    const char* Y;
    const char* Z;
    const char* PF;
    const char* RF;
    const char* TF;
    const char* PN;
    const char* RN;
    const char* TN;
};

// The grooves' Y and Z put them on the four sides of the 11 mm profile; the angles turn each
// connector to face out of its side, so a slot nut joins from outside.
constexpr TProfileConn Conns[] = {
    {"Nut 1", "Groove 1", 0, 4, 0, 0, "0", "0", "-5,5", "0", "0", "90", "0", "0", "-90"},
    {"Nut 2", "Groove 2", 0, 4, 0, 0, "0", "5,5", "0", "-90", "0", "90", "-90", "-90", "180"},
    {"Nut 3", "Groove 3", 0, 4, 0, 0, "0", "0", "5,5", "-180", "0", "90", "-180", "0", "90"},
    {"Nut 4", "Groove 4", 0, 4, 0, 0, "0", "-5,5", "0", "-270", "0", "90", "-270", "90", "180"},
    {"Zapfen 1", "Pin 1", 1, 4, 1, 2, "", "0", "0", "0", "180", "0", "0", "180", "0"},
    {"Zapfen 2", "Pin 2", 1, 4, -1, 2, "", "0", "0", "0", "0", "0", "0", "0", "0"},
    {"Loch 1", "Hole 1", 0, 3, -1, 0, "", "0", "0", "0", "0", "90", "0", "0", "-90"},
    {"Loch 2", "Hole 2", 0, 3, 1, 0, "", "0", "0", "0", "0", "-90", "0", "0", "90"},
    {"Nut 5", "Groove 5", 0, 4, 1, -7.5, "", "0", "-5,5", "0", "0", "90", "0", "0", "-90"},
    {"Nut 6", "Groove 6", 0, 4, -1, -7.5, "", "0", "-5,5", "0", "0", "90", "0", "0", "-90"},
    {"Nut 7", "Groove 7", 0, 4, 1, -7.5, "", "5,5", "0", "-90", "0", "90", "-90", "-90", "180"},
    {"Nut 8", "Groove 8", 0, 4, -1, -7.5, "", "5,5", "0", "-90", "0", "90", "-90", "-90", "180"},
    {"Nut 9", "Groove 9", 0, 4, 1, -7.5, "", "0", "5,5", "-180", "0", "90", "-180", "0", "90"},
    {"Nut 10", "Groove 10", 0, 4, -1, -7.5, "", "0", "5,5", "-180", "0", "90", "-180", "0", "90"},
    {"Nut 11", "Groove 11", 0, 4, 1, -7.5, "", "-5,5", "0", "-270", "0", "90", "-270", "90", "180"},
    {"Nut 12", "Groove 12", 0, 4, -1, -7.5, "", "-5,5", "0", "-270", "0", "90", "-270", "90",
     "180"},
};

}  // namespace

std::optional<int32_t> ProfileLength(std::string_view text) {
    const int32_t length = StrToIntDef(Trim(text), 0);
    if (length <= 0) {
        return std::nullopt;
    }
    return length;
}

std::vector<std::string> ProfileDefinitionLines(int32_t length) {
    const std::string l = IntToStr(length);
    std::vector<std::string> lines = {
        "[COLOR]",
        "Blue=192",
        "Red=192",
        "Green=192",
        "",
        "[COMMON]",
        "SYSTEM=DEFMAKER",
        "NAME=Alu-Nutprofil " + l + "mm",
        "ENG=Aluminium slot profile " + l + "mm",
        "Group=19",
        "PRIZE=0,00",
        "OrgNumber=",
        "Printable=1",
        "SortOrder=0",
        "",
        "[OFFSET]",
        "X=0",
        "Y=0",
        "Z=0",
        "",
        "[CONNECTIONS]",
        "COUNT=16",
        "",
    };
    const double half = length / 2.0;
    const size_t count = std::size(Conns);
    for (size_t i = 0; i < count; ++i) {
        const TProfileConn& c = Conns[i];
        const std::string x =
            c.XSign == 0 ? std::string(c.XFixed) : FormatFloat(c.XSign * (half + c.XOffset));
        lines.push_back("[CONN" + IntToStr(static_cast<int64_t>(i) + 1) + "]");
        lines.push_back(std::string("NAME=") + c.Name);
        lines.push_back(std::string("ENG=") + c.Eng);
        lines.push_back("TYP=" + IntToStr(c.Typ));
        lines.push_back("THICK=" + IntToStr(c.Thick));
        lines.push_back("X=" + x);
        lines.push_back(std::string("Y=") + c.Y);
        lines.push_back(std::string("Z=") + c.Z);
        lines.push_back(std::string("PF=") + c.PF);
        lines.push_back(std::string("RF=") + c.RF);
        lines.push_back(std::string("TF=") + c.TF);
        lines.push_back(std::string("PN=") + c.PN);
        lines.push_back(std::string("RN=") + c.RN);
        lines.push_back(std::string("TN=") + c.TN);
        if (i + 1 < count) {
            lines.push_back("");
        }
    }
    return lines;
}

bool WriteProfileDefinition(TPartFiles& files, std::string_view number, int32_t length) {
    Stack().Push("TMainForm.menDefGeneratorClick", std::string(number), length);
    std::vector<std::string> lines = ProfileDefinitionLines(length);
    for (std::string& line : lines) {
        if (line == "OrgNumber=") {
            line += std::string(number);
        }
    }
    const std::filesystem::path file = files.UserPath("def", std::string(number) + ".def");
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (!WriteTextFile(file, lines)) {
        return false;
    }
    files.Refresh("def");
    DefCache().Invalidate(number);
    return true;
}

}  // namespace kx
