// Key-frame animation of the model: recording keys and putting the parts at a frame's pose.
#include <vector>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/u_keyframes.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

void TkxMain::Animate(int32_t t) {
    Stack().Push("tkxmain.Animate", t);
    bool moved = false;
    for (const auto& record : m_parts) {
        const std::optional<TKeyPose> pose = InterpolateKeys(record->Keys(), t);
        if (!pose) {
            continue;
        }
        // The pose goes into the record too, so a model saved now holds this frame.
        const bool changed = record->Position() != pose->Position || record->Up() != pose->Up ||
                             record->Direction() != pose->Direction;
        record->SetPosition(pose->Position);
        record->SetUp(pose->Up);
        record->SetDirection(pose->Direction);
        TFreeForm* object = record->Object();
        if (!object || object->Parent() != m_scene.PartsRoot()) {
            object = PartObject(record->Name());
        }
        if (object) {
            object->SetPosition(pose->Position);
            object->SetUp(pose->Up);
            object->SetDirection(pose->Direction);
        }
        moved = moved || changed;
    }
    if (moved) {
        for (const auto& m : m_measurements) {
            m->Recompute();
        }
        MarkModified();
    }
}

bool TkxMain::RecordAnimation(int32_t t) {
    Stack().Push("tkxmain.RecordAnimation", t);
    if (!m_selected) {
        m_view->ShowInformation(
            Language().GetText("MAINOBJ", 17, "Es wurde noch kein Bauteil selektiert."));
        return false;
    }
    const TBauteil* selected = RecordOf(m_selected);
    bool recorded = false;
    for (const auto& record : m_parts) {
        if (record.get() != selected && !record->CoSelected()) {
            continue;
        }
        // The object's pose counts: the part may have been moved since it was last stored.
        const TFreeForm* object = record->Object();
        if (!object) {
            object = PartObject(record->Name());
        }
        if (!object) {
            continue;
        }
        record->AddKey(MakeKey({object->Position(), object->Up(), object->Direction()}, t));
        recorded = true;
    }
    if (recorded) {
        MarkModified();
    }
    return recorded;
}

}  // namespace kx
