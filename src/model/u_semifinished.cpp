// The model's plastic strips as a model file brings them.
#include "model/u_semifinished.h"

#include <algorithm>

#include "foundation/u_text.h"
#include "generated/u_HalbzeugFlachband.h"
#include "model/u_TBauteil.h"

namespace kx {

namespace {

bool SameStep(const THZModData& a, const THZModData& b) {
    return a.Typ == b.Typ && a.X1 == b.X1 && a.X2 == b.X2 && a.D == b.D && a.Mode == b.Mode;
}

bool Uses(const std::vector<THZData>& strips, std::string_view number) {
    return std::any_of(strips.begin(), strips.end(),
                       [number](const THZData& s) { return SameText(s.Name, number); });
}

}  // namespace

bool SameWorkSteps(const THZData& a, const THZData& b) {
    return a.Typ == b.Typ &&
           std::equal(a.Mods.begin(), a.Mods.end(), b.Mods.begin(), b.Mods.end(), SameStep);
}

std::string NextFreeStripNumber(const std::vector<THZData>& strips) {
    for (int n = 1; n <= 9999; ++n) {
        std::string number = IntToStr(n);
        number = "X" + std::string(4 - number.size(), '0') + number;
        if (!Uses(strips, number)) {
            return number;
        }
    }
    return {};
}

std::vector<std::string> PrepareSemiFinished(TModelFile& file, const std::vector<THZData>& existing,
                                             bool newModel) {
    std::vector<std::string> refused;
    std::vector<THZData> kept;
    // Every number taken so far: the open model's (when merging) and the file's own.
    std::vector<THZData> taken = newModel ? std::vector<THZData>{} : existing;
    for (const THZData& s : file.SemiFinished) {
        taken.push_back(s);
    }
    for (THZData& strip : file.SemiFinished) {
        if (!IsStripNumber(strip.Name)) {
            refused.push_back(strip.Name);
            continue;
        }
        if (!newModel) {
            const auto same = std::find_if(existing.begin(), existing.end(), [&](const THZData& s) {
                return SameText(s.Name, strip.Name);
            });
            if (same != existing.end()) {
                if (SameWorkSteps(*same, strip)) {
                    continue;  // the model has this strip already; its parts join it
                }
                const std::string number = NextFreeStripNumber(taken);
                if (number.empty()) {
                    refused.push_back(strip.Name);
                    continue;
                }
                for (TPartRecord& part : file.Parts) {
                    const std::string& wanted =
                        part.NewName.empty() ? part.StoredName : part.NewName;
                    if (SameText(TBauteil::ShortName(wanted), strip.Name)) {
                        part.NewName =
                            "F" + number + wanted.substr(std::min<size_t>(6, wanted.size()));
                    }
                }
                strip.Name = number;
                taken.push_back(strip);
            }
        }
        kept.push_back(std::move(strip));
    }
    file.SemiFinished = std::move(kept);
    return refused;
}

}  // namespace kx
