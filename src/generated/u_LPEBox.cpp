// The school library's boxes and the library configuration file written from them.
#include "generated/u_LPEBox.h"

#include <algorithm>

#include "catalogue/u_partfiles.h"
#include "foundation/u_iniex.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

// The ten pages of the old library set, as the school library names them in each language;
// the two kit-series pages keep their series' names in both.
constexpr std::array<const char*, 10> kOldPagesGerman = {
    "Standard", "Statik",    "Räder",          "Stangen", "Platten",
    "Orbis",    "Pneumatik", "Motor/Getriebe", "Figur",   "Vario"};
constexpr std::array<const char*, 10> kOldPagesEnglish = {
    "Standard", "Statics",    "Wheels",        "Axles",  "Plates",
    "Orbis",    "Pneumatics", "Engines/Gears", "Figure", "Vario"};

void AddNumbers(std::string_view text, std::vector<std::string>& parts) {
    std::string number;
    auto flush = [&] {
        if (!number.empty()) {
            parts.push_back(number);
            number.clear();
        }
    };
    for (char c : text) {
        if (c == ' ' || c == ',' || c == ';' || c == '\t') {
            flush();
        } else if (static_cast<unsigned char>(c) >= ' ') {
            number += c;
        }
    }
    flush();
}

}  // namespace

TLPEBoxes ParseLPEBoxes(const TIniFileEx& ini) {
    TLPEBoxes boxes;
    for (int b = 0; b < kLPEBoxCount; ++b) {
        const TIniFileSection* section = ini.FindSection("BOX" + std::to_string(b + 1));
        if (!section) {
            continue;
        }
        TLPEBoxDef& box = boxes[static_cast<size_t>(b)];
        for (const std::string& line : section->Lines) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos) {
                continue;
            }
            const std::string key = Trim(std::string_view(line).substr(0, eq));
            const std::string_view value = std::string_view(line).substr(eq + 1);
            if (SameText(key, "Name") && box.Name.empty()) {
                box.Name = Trim(value);
            } else if (SameText(key, "Parts")) {
                AddNumbers(value, box.Parts);
            }
        }
    }
    return boxes;
}

TLPEBoxes LoadLPEBoxes(const TPartFiles& files) {
    for (const std::filesystem::path& dir : {files.UserDir(), files.ProgramDir()}) {
        std::error_code ec;
        const std::filesystem::path file = dir / kLPEBoxesFile;
        if (!dir.empty() && std::filesystem::is_regular_file(file, ec)) {
            return ParseLPEBoxes(TIniFileEx(file));
        }
    }
    return {};
}

std::vector<std::string> TLPEBox::UserBibLines(const TLPEBoxes& boxes, const TLPEBoxSwitches& on) {
    std::vector<const TLPEBoxDef*> chosen;
    for (int b = 0; b < kLPEBoxCount; ++b) {
        if (on[static_cast<size_t>(b)]) {
            chosen.push_back(&boxes[static_cast<size_t>(b)]);
        }
    }
    std::vector<std::string> lines{"[COMMON]", "groupcountnew=" + std::to_string(chosen.size()),
                                   "groupcountold=10", ""};
    auto language = [&](const char* section, const std::array<const char*, 10>& oldPages) {
        lines.push_back(section);
        for (size_t k = 0; k < chosen.size(); ++k) {
            lines.push_back("groupnamenew" + std::to_string(k + 1) + "=" + chosen[k]->Name);
        }
        for (size_t k = 0; k < oldPages.size(); ++k) {
            lines.push_back("groupnameold" + std::to_string(k + 1) + "=" + oldPages[k]);
        }
        lines.emplace_back();
    };
    language("[DEUTSCH]", kOldPagesGerman);
    language("[ENGLISH]", kOldPagesEnglish);
    lines.emplace_back("[PARTS]");
    for (size_t k = 0; k < chosen.size(); ++k) {
        for (const std::string& part : chosen[k]->Parts) {
            lines.push_back(part + "=n" + std::to_string(k + 1));
        }
    }
    return lines;
}

TLPEBoxSwitches TLPEBox::ReadSwitches(TkxParam& param) {
    TLPEBoxSwitches on{};
    for (int b = 0; b < kLPEBoxCount; ++b) {
        on[static_cast<size_t>(b)] = param.GetLpeBox(b + 1);
    }
    return on;
}

void TLPEBox::StoreSwitches(TkxParam& param, TLPEBoxSwitches on) {
    if (std::none_of(on.begin(), on.end(), [](bool b) { return b; })) {
        on[0] = true;
    }
    for (int b = 0; b < kLPEBoxCount; ++b) {
        param.SetLpeBox(b + 1, on[static_cast<size_t>(b)]);
    }
}

bool TLPEBox::WriteUserBib(TkxParam& param, const TLPEBoxes& boxes,
                           const std::filesystem::path& dir, std::string* error) {
    Stack().Push("TLPEBox.WriteUserBib", dir.string());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return WriteTextFile(dir / kUserBibFile, UserBibLines(boxes, ReadSwitches(param)), error);
}

}  // namespace kx
