// The model object's plastic strips made in the strip editor.
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "generated/u_HalbzeugFlachband.h"
#include "model/MainObj.h"
#include "model/u_semifinished.h"

namespace kx {

std::string TkxMain::AddSemiFinished(THZData part, std::string* error) {
    Stack().Push("tkxmain.AddSemiFinished", part.Bez);
    part.Name = NextFreeStripNumber(m_semiFinished);
    if (part.Name.empty()) {
        if (error) {
            *error = Language().GetText("HALBZEUG", 2,
                                        "Alle Nummern für Halbzeuge (X0001 bis X9999) sind "
                                        "vergeben.");
        }
        return {};
    }
    part.Typ = 0;
    const THZBakeResult baked = BakeSemiFinished(m_files, part, m_defs, m_meshes);
    if (!baked.Ok) {
        if (error) {
            *error = baked.Error;
        }
        return {};
    }
    m_semiFinished.push_back(part);
    MarkModified();
    return part.Name;
}

}  // namespace kx
