// The model object's file: saving, loading and merging model files, and the recent files.
#include <utility>

#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "generated/u_HalbzeugFlachband.h"
#include "model/MainObj.h"
#include "model/u_semifinished.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

/// The wait window for a scope: shown at once, closed however the scope ends.
class TWaitScope {
public:
    TWaitScope(TWaitView& view, const std::string& title, int maximum) : m_view(view) {
        view.ShowWait(title, maximum);
        view.ProcessMessages();
    }
    ~TWaitScope() { m_view.CloseWait(); }
    TWaitScope(const TWaitScope&) = delete;
    TWaitScope& operator=(const TWaitScope&) = delete;

private:
    TWaitView& m_view;
};

/// Sets a flag for a scope and puts its previous value back however the scope ends.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : m_flag(flag), m_previous(flag) { flag = true; }
    ~TFlagScope() { m_flag = m_previous; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

std::string WithValue(std::string text, const std::string& value) {
    const size_t at = text.find("%s");
    if (at == std::string::npos) {
        return text + " " + value;
    }
    return text.replace(at, 2, value);
}

}  // namespace

void TkxMain::SetWaitView(TWaitView* view) {
    m_wait = view ? view : &m_nullWait;
}

bool TkxMain::DoLastFile(const std::string& fileName) {
    Stack().Push("tkxmain.DoLastFile", fileName);
    if (fileName.empty()) {
        return false;
    }
    // The list of recent files is a convenience: a settings file that cannot be written
    // must not turn a saved or loaded model into a failure.
    try {
        Param().DoLastFile(fileName);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// --- Saving -----------------------------------------------------------------------------------

TCameraPose TkxMain::CurrentCamera() const {
    TCameraPose pose;
    if (const TSceneCamera* camera = m_scene.Camera()) {
        pose.Position = camera->Position();
        pose.Direction = camera->Direction();
        pose.Up = camera->Up();
    }
    if (const TDummyCube* target = m_scene.CameraTarget()) {
        pose.Target = target->Position();
    }
    return pose;
}

TModelFile TkxMain::ToModelFile() const {
    TModelFile f;
    f.Parts.reserve(m_parts.Count());
    size_t keyCount = 0;
    for (const auto& r : m_parts) {
        TPartRecord p;
        p.StoredName = r->Name();
        p.XPos = r->Position().X;
        p.YPos = r->Position().Y;
        p.ZPos = r->Position().Z;
        p.XUp = r->Up().X;
        p.YUp = r->Up().Y;
        p.ZUp = r->Up().Z;
        p.XDir = r->Direction().X;
        p.YDir = r->Direction().Y;
        p.ZDir = r->Direction().Z;
        p.Color = static_cast<int32_t>(r->Color());
        p.Phase = r->Phase();
        f.Parts.push_back(std::move(p));
        keyCount += r->Keys().size();
    }
    f.Information = m_information;
    f.Motors = m_motors.All();
    f.AniLength = AniLength;
    f.HasCamera = true;
    f.Camera = CurrentCamera();
    if (m_cameraFromFile && f.Camera == m_loadedCamera.second) {
        f.Camera = m_loadedCamera.first;
    }
    for (const TCamera& c : m_cameras) {
        f.Cameras.push_back(
            {c.Name, c.PositionX, c.PositionY, c.PositionZ, c.TargetX, c.TargetY, c.TargetZ});
    }
    for (const TPipeEx* hose : Hoses()) {
        f.Hoses.push_back(hose->Record());
    }
    f.Keys.reserve(keyCount);
    for (const auto& r : m_parts) {
        for (const TKeyData& k : r->Keys()) {
            f.Keys.push_back({r->Name(), k});
        }
    }
    f.Links = m_kineLinks;
    f.SequenceLines = AblaufLines();
    f.CollisionRules = m_collisionRules;
    for (const auto& g : m_groups) {
        f.Groups.push_back({g->Name, g->Internal, g->Members});
    }
    for (const auto& m : m_measurements) {
        TMeasureRecord r;
        r.Visible = m->Visible;
        r.Part1 = m->Part1 ? m->Part1->Name() : std::string();
        r.Part2 = m->Part2 ? m->Part2->Name() : std::string();
        r.BaseLineHeight = m->BaseLineHeight;
        r.Rotation = m->Rotation;
        r.TextHeight = m->TextHeight;
        r.Lift1 = m->Lift1;
        r.Move1 = m->Move1;
        r.Slide1 = m->Slide1;
        r.Lift2 = m->Lift2;
        r.Move2 = m->Move2;
        r.Slide2 = m->Slide2;
        f.Measurements.push_back(std::move(r));
    }
    f.SemiFinished = m_semiFinished;
    return f;
}

TModelFileResult TkxMain::SaveModell(const std::string& fileName) {
    Stack().Push("tkxmain.SaveModell", fileName);
    TWaitScope wait(*m_wait, Language().GetText("MAINOBJ", 11, "Modell wird gesichert..."),
                    static_cast<int>(m_parts.Count()));
    const std::vector<std::string> lines = ModelFileLines(
        ToModelFile(), [this](size_t i) { m_wait->SetWaitPosition(static_cast<int>(i)); });
    std::string error;
    if (!WriteTextFile(fileName, lines, &error)) {
        return TModelFileResult::Failed(WithValue(
            Language().GetText("MAINOBJ", 65, "Das Modell konnte nicht gespeichert werden: %s"),
            error));
    }
    DoLastFile(fileName);
    MarkSaved();
    return TModelFileResult::Ok();
}

// --- Loading ----------------------------------------------------------------------------------

TModelFileResult TkxMain::LoadModell(const std::string& fileName, bool newModel) {
    Stack().Push("tkxmain.LoadModell", fileName, newModel);
    const auto bytes = ReadFileBytes(fileName);
    if (!bytes) {
        return TModelFileResult::Failed(WithValue(
            Language().GetText("MAINOBJ", 66, "Die Datei konnte nicht gelesen werden: %s"),
            fileName));
    }
    return LoadModellLines(fileName, newModel, SplitLines(Cp1252ToUtf8(*bytes)));
}

TModelFileResult TkxMain::LoadModell(const std::string& fileName, bool newModel,
                                     std::istream& stream) {
    Stack().Push("tkxmain.LoadModell", fileName, newModel, "stream");
    std::string bytes;
    if (!ReadWholeStream(stream, bytes)) {
        return TModelFileResult::Failed(WithValue(
            Language().GetText("MAINOBJ", 66, "Die Datei konnte nicht gelesen werden: %s"),
            fileName));
    }
    return LoadModellLines(fileName, newModel, SplitLines(Cp1252ToUtf8(bytes)));
}

TModelFileResult TkxMain::LoadModellLines(const std::string& fileName, bool newModel,
                                          const std::vector<std::string>& lines) {
    TModelFile file;
    TModelFileResult result = ParseModelFile(lines, file);
    if (!result) {
        return result;
    }
    const std::vector<std::string> refusedStrips =
        PrepareSemiFinished(file, m_semiFinished, newModel);

    // From here on the model changes. Should anything still go wrong, it is rebuilt from this
    // copy of itself, with its undo steps and the state the file does not hold.
    TModelFile backup = ToModelFile();
    TUndoList undo = m_undo;
    const std::string oldFileName = FileName;
    const int oldPhase = m_currentPhase;
    const int oldHighest = m_highestVisiblePhase;
    const auto oldVisible = m_phaseVisible;
    const std::vector<TSchlauch> oldRegister = m_hoseRegister;
    const bool oldModified = m_modified;
    const std::vector<std::string> oldSaved = m_savedLines;
    try {
        TWaitScope wait(*m_wait, Language().GetText("MAINOBJ", 12, "Modell wird geladen..."),
                        static_cast<int>(file.Parts.size()));
        result.MissingParts = ApplyModelFile(file, newModel);
    } catch (const std::exception& e) {
        std::string reason = e.what();
        try {
            TUndoSuspension suspended(*this);
            DeleteAll();
            ApplyModelFile(backup, true);
            m_undo = std::move(undo);
            m_view->EnableCommand(TModelCommand::Undo, !m_undo.Empty());
            FileName = oldFileName;
            m_hoseRegister = oldRegister;
            m_phaseVisible = oldVisible;
            m_highestVisiblePhase = oldHighest;
            SetBauphase(oldPhase);
            UpdateTreeView();
            m_savedLines = oldSaved;
            SetModified(oldModified);
        } catch (const std::exception& again) {
            reason += "; ";
            reason += again.what();
        }
        return TModelFileResult::Failed(WithValue(
            Language().GetText("MAINOBJ", 67, "Das Modell konnte nicht geladen werden: %s"),
            reason));
    }

    for (const std::string& number : refusedStrips) {
        m_view->ShowInformation(WithValue(
            Language().GetText("HALBZEUG", 1,
                               "Das Halbzeug \"%s\" hat keine gültige Nummer und wurde nicht "
                               "geladen."),
            number));
    }
    if (!result.MissingParts.empty()) {
        std::string text =
            Language().GetText("MAINOBJ", 13, "Folgende Bauteile sind nicht vorhanden: ");
        for (const std::string& number : result.MissingParts) {
            text += number + " ";
        }
        m_view->ShowInformation(text);
    }
    m_view->KineManagerChanged();
    DoLastFile(fileName);
    m_view->CollectionViewChanged();
    if (newModel) {
        MarkSaved();
    } else {
        MarkModified();
    }
    return result;
}

std::vector<std::string> TkxMain::ApplyModelFile(TModelFile& file, bool newModel) {
    TUndoSuspension suspended(*this);
    TFlagScope loading(Loading);
    const int rememberedPhase = m_currentPhase;
    std::vector<std::string> missing;

    if (newModel) {
        DeleteAll();
    }
    m_information = file.Information;
    // The strips become parts before the file's parts are placed, so that those find their
    // definitions and meshes.
    for (const THZData& hz : file.SemiFinished) {
        if (hz.Typ == 0) {
            BakeSemiFinished(m_files, hz, m_defs, m_meshes);
        }
        m_semiFinished.push_back(hz);
    }
    for (const THoseData& h : file.Hoses) {
        AddHoseFromRecord(h);
    }
    AniLength = file.AniLength;
    if (file.HasCamera) {
        if (TSceneCamera* camera = m_scene.Camera()) {
            camera->SetPosition(file.Camera.Position);
            camera->SetDirection(file.Camera.Direction);
            camera->SetUp(file.Camera.Up);
        }
        if (TDummyCube* target = m_scene.CameraTarget()) {
            target->SetPosition(file.Camera.Target);
        }
        m_scene.CameraLightToCamera();
        m_loadedCamera = {file.Camera, CurrentCamera()};
        m_cameraFromFile = true;
    }

    {
        // The tree is told once at the end instead of once per part.
        TPartsTreeView* treeView = m_treeView;
        struct TTreeBack {
            TPartsTreeView*& slot;
            TPartsTreeView* view;
            ~TTreeBack() { slot = view; }
        } back{m_treeView, treeView};
        treeView->SetTreeVisible(false);
        m_treeView = &m_nullTree;
        TFlagScope placeholders(m_placeholders);
        for (size_t i = 0; i < file.Parts.size(); ++i) {
            if (i % 51 == 0) {
                m_wait->ProcessMessages();
            }
            m_wait->SetWaitPosition(static_cast<int>(i + 1));
            m_currentPhase = newModel ? file.Parts[i].Phase : rememberedPhase;
            PlaceFilePart(file.Parts[i], newModel, i == 0, missing);
        }
        m_tree.SortPhases();
        m_treeView = treeView;
        treeView->TreeReset();
        treeView->SetTreeVisible(true);
    }

    const TNameMap names(file.Parts);
    bool measured = false;
    for (const TMeasureRecord& r : file.Measurements) {
        TSceneObject* part1 = r.Part1.empty() ? nullptr : FindPartObject(names(r.Part1), true);
        TSceneObject* part2 = r.Part2.empty() ? nullptr : FindPartObject(names(r.Part2), true);
        if (!part1 || !part2) {
            continue;
        }
        TMeasurement& m = NewMeasurement(part1, part2);
        m.SetVisible(r.Visible);
        m.BaseLineHeight = r.BaseLineHeight;
        m.Rotation = r.Rotation;
        m.SetTextHeight(r.TextHeight);
        m.Lift1 = r.Lift1;
        m.Move1 = r.Move1;
        m.Slide1 = r.Slide1;
        m.Lift2 = r.Lift2;
        m.Move2 = r.Move2;
        m.Slide2 = r.Slide2;
        m.Recompute();
        measured = true;
    }
    if (measured) {
        m_view->MeasurementsChanged();
    }

    for (size_t i = 0; i < file.Cameras.size() && i < m_cameras.size(); ++i) {
        const TCameraRecord& r = file.Cameras[i];
        TCamera& c = m_cameras[i];
        c.Name = r.Name;
        c.PositionX = r.PositionX;
        c.PositionY = r.PositionY;
        c.PositionZ = r.PositionZ;
        c.TargetX = r.TargetX;
        c.TargetY = r.TargetY;
        c.TargetZ = r.TargetZ;
    }

    for (const TKeyRecord& k : file.Keys) {
        if (TBauteil* part = FindBauteil(names(k.Name))) {
            part->AddKey(k.Key);
        }
    }
    for (TKineData link : file.Links) {
        link.Bauteil1 = names(link.Bauteil1);
        link.Bauteil2 = names(link.Bauteil2);
        m_kineLinks.push_back(std::move(link));
    }
    for (size_t m = 0; m < file.Motors.size(); ++m) {
        TMotorRec motor = file.Motors[m];
        motor.PartName = names(motor.PartName);
        m_motors.All()[m] = std::move(motor);
    }
    TakeAblaufLines(file.SequenceLines);
    for (TCollData rule : file.CollisionRules) {
        rule.ObjName1 = names(rule.ObjName1);
        rule.ObjName2 = names(rule.ObjName2);
        m_collisionRules.push_back(std::move(rule));
    }
    for (const TGroupRecord& r : file.Groups) {
        auto group = std::make_unique<TGroup>();
        group->Name = r.Name;
        group->Internal = r.Internal;
        for (const std::string& member : r.Members) {
            const std::string& name = names(member);
            if (FindBauteil(name)) {
                group->Add(name);
            }
        }
        m_groups.push_back(std::move(group));
    }

    UpdateGroupTreeView();
    m_scene.CameraLightToCamera();
    SetBauphase(1);
    UpdateTreeView();
    m_highestVisiblePhase = kNoPhaseLimit;
    return missing;
}

void TkxMain::PlaceFilePart(TPartRecord& record, bool newModel, bool first,
                            std::vector<std::string>& missing) {
    // A merged strip that had to take another number brings its parts under that number.
    const std::string& wanted = record.NewName.empty() ? record.StoredName : record.NewName;
    const std::string number = TBauteil::ShortName(wanted);
    if (!m_files.FindDef(number) || !m_files.FindPart(MeshFolder, number, "stl")) {
        missing.push_back(number);
    }
    m_lastAdded = nullptr;
    // A part without mesh still gets its record and a stand-in object, so it is kept, shown
    // and saved back as it was.
    record.NewName = AddBaustein(number, wanted);
    TFreeForm* object = m_lastAdded;
    TBauteil* part = object && !record.NewName.empty() ? object->Bauteil() : nullptr;
    if (!part) {
        return;
    }
    const TVector3f position{static_cast<float>(record.XPos), static_cast<float>(record.YPos),
                             static_cast<float>(record.ZPos)};
    const TVector3f direction{static_cast<float>(record.XDir), static_cast<float>(record.YDir),
                              static_cast<float>(record.ZDir)};
    const TVector3f up{static_cast<float>(record.XUp), static_cast<float>(record.YUp),
                       static_cast<float>(record.ZUp)};
    const auto colour = static_cast<uint32_t>(record.Color);
    object->SetDirection(direction);
    object->SetUp(up);
    object->SetPosition(position);
    object->Material().SetDiffuseColor(ColorFromWin(colour));
    if (const TMaterialPtr& lib = object->LibMaterial()) {
        lib->SetDiffuseColor(ColorFromWin(colour));
    }
    // The record keeps the file's values bit for bit; the object's frame is the normalised
    // one, which would drift in the last bits with every load and save.
    part->SetPosition(position);
    part->SetDirection(direction);
    part->SetUp(up);
    part->SetColor(colour);
    part->SetPhase(m_currentPhase);
    if (!newModel) {
        if (first) {
            SelectBaustein(record.NewName, false, true);
        } else {
            CoSelectBaustein(record.NewName, true, true, true);
        }
    }
}

}  // namespace kx
