// Cables between two selected plugs, and rounding a single part's normals.
#include "catalogue/u_partcache.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "generated/u_kabel.h"
#include "generated/u_rounding.h"
#include "model/MainObj.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

std::string FillIn(std::string text, std::string_view value) {
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

}  // namespace

bool TkxMain::CreateKabel(TCableWindow& window) {
    Stack().Push("tkxmain.CreateKabel");
    // The plugs stay highlighted while the window is open; afterwards nothing is selected,
    // however the command ends.
    struct TDeselectAtEnd {
        TkxMain& Model;
        ~TDeselectAtEnd() { Model.DeSelectAllBausteine(); }
    } deselect{*this};

    std::optional<TPlugFrame> plug1;
    const TBauteil* selected = RecordOf(m_selected);
    if (m_selected && IsPlugName(selected ? selected->Name() : m_selected->Name())) {
        plug1 = TPlugFrame{m_selected->AbsolutePosition(), m_selected->AbsoluteDirection(),
                           m_selected->AbsoluteUp()};
    }
    std::optional<TPlugFrame> plug2;
    for (const auto& record : m_parts) {
        if (record.get() != selected && record->CoSelected() && IsPlugName(record->Name())) {
            plug2 = TPlugFrame{record->Position(), record->Direction(), record->Up()};
        }
    }
    if (!plug1 || !plug2) {
        m_view->ShowInformation(Language().GetText(
            "MAINOBJ", 2, "Für diese Funktion müssen 2 Steckerstifte selektiert werden."));
        return false;
    }

    const bool wasModified = IsModified();
    std::string name;
    TPipeEx* hose = NewSchlauch(2, name);
    if (!hose) {
        return false;
    }
    hose->SetTag(kCableRedTag);
    hose->SetSplineMode(TSplineMode::lsmLines);
    hose->SetPosition({0, 0, 0});
    hose->SetPhase(0);
    TCableSession session(*hose, *plug1, *plug2);
    session.UpdateCable();

    auto dropCable = [&] {
        HoseRoot()->DeleteChild(*hose);
        if (!m_hoseRegister.empty()) {
            m_hoseRegister.pop_back();
        }
        // The model is as it was before the command: unchanged if it was then.
        if (!wasModified) {
            MarkSaved();
        }
    };
    bool confirmed = false;
    try {
        confirmed = window.Execute(session);
    } catch (...) {
        dropCable();
        throw;
    }
    if (!confirmed) {
        dropCable();
        return false;
    }
    UpdateSchlauchData(*hose);
    MarkModified();
    return true;
}

bool TkxMain::RoundSinglePart(std::string_view number, double limit) {
    Stack().Push("tkxmain.RoundSinglePart", number, limit);
    m_view->BeginWait();
    const TRoundResult result = RoundPartFile(m_files, m_meshes, number, limit);
    m_view->EndWait();
    switch (result.Status) {
        case TRoundResult::TStatus::Written:
            m_view->ShowInformation(Language().GetText("MAINOBJ", 29, "OK"));
            return true;
        case TRoundResult::TStatus::WriteFailed:
            m_view->ShowInformation(
                FillIn(Language().GetText("MAINOBJ", 2201,
                                          "Die Normalen-Datei konnte nicht geschrieben werden: %s"),
                       result.File.string() + " (" + result.Error + ")"));
            return false;
        default:
            m_view->ShowInformation(FillIn(
                Language().GetText("MAINOBJ", 2202, "Das Netz des Bauteils %s ist nicht lesbar."),
                number));
            return false;
    }
}

}  // namespace kx
