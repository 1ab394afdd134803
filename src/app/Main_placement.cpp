// The main window's commands of the coordinates manager and of the measurements.
#include <QScrollArea>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_mainports.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "placement/d_MeasureManager.h"
#include "placement/f_koordinaten.h"
#include "view/u_sceneobjects.h"

namespace kx {

void TMainForm::BindPlacementCommands() {
    TCommandTable& c = *m_commands;
    const auto hasSelection = [this] { return m_model->SelectedPart() != nullptr; };
    m_ports->OnShowPart = [this](TFreeForm* part) {
        if (m_coordinates) {
            m_coordinates->ShowPart(part);
        }
    };
    m_ports->OnMeasurementsChanged = [this] {
        if (m_measureManager) {
            m_measureManager->FillList();
        }
    };

    c.Bind("menCoordinates", [this] {
        Stack().Push("TMainForm.KoordinatenManager1Click");
        GiveCoordinatesManagerTheModel();
        m_coordinates->move(sb->mapToGlobal(QPoint(0, 0)));
        m_coordinates->show();
        m_coordinates->raise();
    });
    c.Bind(
        "menDuplicate",
        [this] {
            Stack().Push("TMainForm.Duplizieren1Click");
            GiveCoordinatesManagerTheModel();
            m_coordinates->Positioning()->DuplicateSelection();
            RedrawView();
        },
        hasSelection);
    c.Bind(
        "menAlign",
        [this] {
            Stack().Push("TMainForm.Objekteausrichten1Click");
            GiveCoordinatesManagerTheModel();
            m_coordinates->Positioning()->ObjekteAusrichten();
            RedrawView();
        },
        hasSelection);
    c.Bind("menAddMeasurement", [this] {
        Stack().Push("TMainForm.menAddMeasurementClick");
        TFreeForm* selected = m_model->SelectedPart();
        const auto& marked = m_model->Parts().CoSelectedRecords();
        if (!selected || marked.size() != 1 || !(*marked.begin())->Object()) {
            m_ports->ShowInformation(
                Language().GetText("MAIN", 156, "Es müssen genau 2 Bauteile selektiert sein!"));
            return;
        }
        m_model->AddMeasurement(selected, (*marked.begin())->Object());
        m_model->DeSelectAllBausteine();
        if (m_measureManager) {
            m_measureManager->FillList();
        }
        m_commands->Execute("menMeasurements");
        RedrawView();
    });
    c.Bind("menMeasurements", [this] {
        Stack().Push("TMainForm.menMeasurementsClick");
        if (!m_measureManager) {
            m_measureManager = new TdlgMeasureManager(*m_model, this);
            connect(m_measureManager, &TdlgMeasureManager::Changed, this, [this] { RedrawView(); });
            m_measureManager->show();
            m_measureManager->move(sb->mapTo(this, QPoint(0, 0)));
        } else {
            m_measureManager->show();
        }
        m_measureManager->raise();
    });
}

void TMainForm::GiveCoordinatesManagerTheModel() {
    if (!m_coordinates) {
        // The program makes it at start beside this window; a window made alone makes its own.
        m_coordinates = findChild<TFormKoordinaten*>(QString(), Qt::FindDirectChildrenOnly);
        if (!m_coordinates) {
            m_coordinates = new TFormKoordinaten(this);
        }
        connect(m_coordinates, &TFormKoordinaten::Changed, this, [this] { RedrawView(); });
    }
    if (!m_coordinates->Positioning()) {
        m_coordinates->SetModel(m_model.get());
    }
}

void TMainForm::CloseMeasureManager() {
    if (m_measureManager) {
        m_measureManager->close();
        delete m_measureManager;
        m_measureManager = nullptr;
    }
}

void TMainForm::PlacementDoLanguage() {
    if (m_coordinates) {
        m_coordinates->DoLanguage();
    }
    if (m_measureManager) {
        m_measureManager->DoLanguage();
    }
}

}  // namespace kx
