// The model's measurements: adding, deleting, highlighting.
#include <algorithm>

#include "catalogue/u_partcache.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

TMeasurement& TkxMain::AddMeasurement(TSceneObject* object1, TSceneObject* object2) {
    Stack().Push("tkxmain.AddMeasurement", object1 ? object1->Name() : std::string(),
                 object2 ? object2->Name() : std::string());
    TMeasurement& m = NewMeasurement(object1, object2);
    MarkModified();
    return m;
}

TMeasurement& TkxMain::NewMeasurement(TSceneObject* object1, TSceneObject* object2) {
    auto m = std::make_unique<TMeasurement>(object1, object2);
    if (TSceneObject* node = Node("dcMeasurements")) {
        m->CreateDrawing(*node);
    } else {
        m->Recompute();
    }
    m_measurements.push_back(std::move(m));
    return *m_measurements.back();
}

void TkxMain::DeleteMeasurement(const TMeasurement* measurement) {
    Stack().Push("tkxmain.DeleteMeasurement");
    const auto it = std::find_if(m_measurements.begin(), m_measurements.end(),
                                 [&](const auto& m) { return m.get() == measurement; });
    if (it == m_measurements.end()) {
        return;
    }
    RemoveMeasurement(static_cast<size_t>(it - m_measurements.begin()));
    MarkModified();
}

void TkxMain::UnHighlightAllMeasurements() {
    for (const auto& m : m_measurements) {
        m->SetHighlighted(false);
    }
}

std::shared_ptr<const TDefObj> TkxMain::PartDefinition(std::string_view partName) const {
    return m_defs.GetDef(m_files, TBauteil::ShortName(partName));
}

}  // namespace kx
