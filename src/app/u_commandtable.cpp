// One table of every menu command: id, caption key and German caption, shortcut. Menus, the
// jog dial and scripts dispatch through it; a command without a handler shows disabled.
#include "app/u_commandtable.h"

#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
using K = TCommandKind;
constexpr const char* kSection = "MAIN";

QString Q(const char* s) {
    return QString::fromUtf8(s);
}
}  // namespace

const std::vector<TCommandRow>& MainCommandRows() {
    // Keys 1-60 are the menu's original captions in menu order; captions added later use
    // keys from 114 on.
    static const std::vector<TCommandRow> rows = {
        {"menDatei", "", 1, "&Datei", "", K::Menu},
        {"menNew", "menDatei", 2, "Neu", "Ctrl+N", K::Item},
        {"menLoad", "menDatei", 3, "Modell laden", "Ctrl+O", K::Item},
        {"menMerge", "menDatei", 4, "Modell hinzuladen", "", K::Item},
        {"menSave", "menDatei", 5, "Modell speichern", "Ctrl+S", K::Item},
        {"menSaveAs", "menDatei", 6, "Modell speichern unter...", "", K::Item},
        {"sepDatei1", "menDatei", 0, "", "", K::Separator},
        {"menOnlineLibrary", "menDatei", 114, "Online-Bibliothek", "", K::Item},
        {"menSavePicture", "menDatei", 7, "Bild speichern als...", "", K::Menu},
        {"menSaveBMP", "menSavePicture", 8, "BMP Datei", "", K::Item},
        {"menSaveJPG", "menSavePicture", 9, "JPG Datei", "", K::Item},
        {"menSavePNG", "menSavePicture", 10, "PNG Datei", "Ctrl+Alt+S", K::Item},
        {"menCopyPicture", "menDatei", 11, "Bild in die Zwischenablage kopieren", "", K::Item},
        {"sepDatei2", "menDatei", 0, "", "", K::Separator},
        {"menExport", "menDatei", 115, "Export", "", K::Menu},
        {"menExportCSV", "menExport", 116, "Einzelteilübersicht (*.csv)", "", K::Item},
        {"menExportRaw", "menExport", 117, "RAW File Format (*.raw)", "", K::Item},
        {"menExportVRML", "menExport", 118, "VRML File Format (*.wrl)", "", K::Item},
        {"menExportPOV", "menExport", 119, "POV-Ray Format (*.pov)", "", K::Item},
        {"menExportX3D", "menExport", 120, "Extensible 3D-Format schattiert (*.x3d)", "", K::Item},
        {"menExportX3DFlat", "menExport", 121, "Extensible 3D-Format flach (*.x3d)", "", K::Item},
        {"menExportSTL", "menExport", 2401, "STL für den 3D-Druck (*.stl)", "", K::Item},
        {"menExportGLTF", "menExport", 2402, "glTF 2.0 für das Web (*.gltf)", "", K::Item},
        {"menExportGLB", "menExport", 2403, "glTF 2.0 binär (*.glb)", "", K::Item},
        {"menExportOBJ", "menExport", 2404, "Wavefront OBJ (*.obj)", "", K::Item},
        {"menExport3MF", "menExport", 2405, "3D Manufacturing Format (*.3mf)", "", K::Item},
        {"menImport", "menDatei", 123, "Import", "", K::Menu},
        {"menImportPart", "menImport", 124, "Bauteil (*.part)", "", K::Item},
        {"menPrint", "menDatei", 12, "Drucken", "", K::Menu},
        {"menPrintParts", "menPrint", 13, "Einzelteilübersicht", "", K::Item},
        {"menPrintLibrary", "menPrint", 14, "Bibliothek", "", K::Item},
        {"menRoundParts", "menDatei", 15, "Bauteile runden", "", K::Item, true},
        {"menOptions", "menDatei", 16, "Systemeinstellungen", "", K::Item},
        {"menSelectLibrary", "menDatei", 2202, "Schulbibliothek auswählen...", "", K::Item},
        {"sepDatei3", "menDatei", 0, "", "", K::Separator},
        {"menExit", "menDatei", 17, "Beenden", "Alt+F4", K::Item},

        {"menBearbeiten", "", 18, "&Bearbeiten", "", K::Menu},
        {"menUndo", "menBearbeiten", 122, "Rückgängig", "Ctrl+Z", K::Item},
        {"menDelete", "menBearbeiten", 19, "Entfernen", "Del", K::Item},
        {"menDuplicate", "menBearbeiten", 20, "Duplizieren", "Ctrl+V", K::Item},
        {"sepBearbeiten1", "menBearbeiten", 0, "", "", K::Separator},
        {"menSelectAll", "menBearbeiten", 21, "Alles selektieren", "Ctrl+A", K::Item},
        {"menSelectPhase", "menBearbeiten", 22,
         "Alle Bauteile aus der aktuellen Bauphase selektieren", "Ctrl+Shift+A", K::Item},
        {"menDeselectAll", "menBearbeiten", 23, "Alles deselektieren", "Ctrl+D", K::Item},
        {"sepBearbeiten2", "menBearbeiten", 0, "", "", K::Separator},
        {"menCameraCenter", "menBearbeiten", 24, "Objekt als Kamera-Mittelpunkt", "Ctrl+M",
         K::Item},
        {"menAlign", "menBearbeiten", 25, "Objekt(e) ausrichten", "", K::Item},
        {"menCable", "menBearbeiten", 26, "Kabel erzeugen", "Ctrl+K", K::Item},
        {"menHalbzeug", "menBearbeiten", 2101, "Kunststoff-Flachband...", "", K::Item},
        {"menAddMeasurement", "menBearbeiten", 125, "Bemaßung einfügen", "", K::Item},
        {"menShowOnlySelected", "menBearbeiten", 27, "Nur selektierte Bauteile sichtbar", "",
         K::Item},
        {"sepBearbeiten3", "menBearbeiten", 0, "", "", K::Separator},
        {"menGroup", "menBearbeiten", 127, "Bauteile gruppieren", "Ctrl+G", K::Item},
        {"menDeGroup", "menBearbeiten", 128, "Bauteilgruppe auflösen", "Ctrl+Shift+G", K::Item},
        {"sepBearbeiten4", "menBearbeiten", 0, "", "", K::Separator},
        {"menSearch", "menBearbeiten", 28, "Suchen", "Ctrl+F", K::Item},
        {"menRunLastPython", "menBearbeiten", 129, "Letztes Python-Script ausführen", "Ctrl+X",
         K::Item},

        {"menAnsicht", "", 29, "Ansicht", "", K::Menu},
        {"menRefresh", "menAnsicht", 30, "Aktualisieren", "F5", K::Item},
        {"menOutline", "menAnsicht", 31, "Bauteilkanten zeichnen", "Alt+O", K::Check},
        {"menModelInfo", "menAnsicht", 32, "Modell - Information", "", K::Item},
        {"menPictureSize", "menAnsicht", 33, "Bildgröße einstellen", "", K::Item},
        {"menGlInfo", "menAnsicht", 180, "OpenGL Information", "", K::Item},
        {"menStoreCamera", "menAnsicht", 132, "Kameraposition speichern", "", K::Menu},
        {"menHires", "menAnsicht", 34, "Hohe Qualität", "F3", K::KeyOnly},
        {"menLores", "menAnsicht", 35, "Niedrige Qualität", "F4", K::KeyOnly},
        {"menUpsideDown", "menAnsicht", 136, "Kamera umdrehen", "Ctrl+U", K::KeyOnly},
        {"menRenderManager", "menAnsicht", 137, "Render-Manager", "Alt+Y", K::KeyOnly},

        {"menBauphasen", "", 36, "Bauphasen", "", K::Menu},
        {"menNewPhase", "menBauphasen", 37, "Neue Bauphase", "", K::Item},
        {"menChangePhase", "menBauphasen", 38, "Bauphase wechseln", "F2", K::Item},
        {"menPhaseOverview", "menBauphasen", 39, "Bauphasen ein/ausblenden", "Alt+W", K::Item},
        {"menMovePhase", "menBauphasen", 40, "Selektierte Bauteile in andere Bauphase verschieben",
         "", K::Item},
        {"menShowPhaseParts", "menBauphasen", 41, "Bauteile der Bauphase zeigen", "Ctrl+B",
         K::Item},

        {"menAnimation", "", 42, "Animation", "", K::Menu},
        {"menMovie", "menAnimation", 43, "Film berechnen (.avi)", "", K::Item},
        {"menAniOptions", "menAnimation", 44, "Optionen", "", K::Item},
        {"menRecordKey", "menAnimation", 86, "Key setzen", "Ctrl+R", K::Item},

        {"menKinematik", "", 45, "Kinematik", "", K::Menu},
        {"menRotBinding", "menKinematik", 46, "Rotations-Bindung", "", K::Item},
        {"menFixBinding", "menKinematik", 47, "Feste Bindung", "", K::Item},
        {"menRotTransBinding", "menKinematik", 48, "Rotation-/Translation-Bindung", "", K::Item},
        {"menCollision", "menKinematik", 49, "Kollision einfügen", "", K::Item},
        {"menMotor", "menKinematik", 50, "Motor festlegen", "", K::Item},

        {"menSammlung", "", 133, "Sammlung", "", K::Menu},
        {"menNewCollection", "menSammlung", 134, "Neu", "", K::Item},
        {"menOpenCollection", "menSammlung", 135, "Sammlung laden", "", K::Item},
        {"menMergeCollection", "menSammlung", 138, "Sammlung hinzuladen", "", K::Item},
        {"menSaveCollection", "menSammlung", 139, "Sammlung speichern", "", K::Item},
        {"menCollectionOnline", "menSammlung", 140, "Online-Bibliothek", "", K::Item},
        {"menAddSelectedToCollection", "menSammlung", 141,
         "Selektierte Bauteile zur Sammlung hinzufügen", "", K::Item},
        {"menPrintCollection", "menSammlung", 142, "Sammlung drucken", "", K::Item},

        {"menFenster", "", 51, "Fenster", "", K::Menu},
        {"menCoordinates", "menFenster", 52, "Koordinaten-Manager", "Alt+Q", K::Item},
        {"menTubeManager", "menFenster", 53, "Schlauch-Manager", "Alt+1", K::Item},
        {"menTimeManager", "menFenster", 54, "Zeit-Manager", "Alt+A", K::Item},
        {"menLightManager", "menFenster", 55, "Licht-Manager", "Alt+L", K::Item},
        {"menKineManager", "menFenster", 56, "Kinematik-Manager", "Alt+K", K::Item},
        {"menLogicManager", "menFenster", 57, "Logik-Manager", "Alt+B", K::Item},
        {"menMeasurements", "menFenster", 143, "Bemaßungen", "Alt+M", K::Item},
        {"menPythonManager", "menFenster", 144, "Python-Manager", "Alt+P", K::Item},
        {"menPhaseInfo", "menFenster", 145, "Bauphase-Information", "", K::Item},

        {"menScripts", "", 146, "Skripte", "", K::Menu},

        {"menHilfe", "", 58, "Hilfe", "", K::Menu},
        {"menHelp", "menHilfe", 59, "Hilfe", "F1", K::Item},
        {"menYouTube", "menHilfe", 150, "YouTube-Kanal", "", K::Item},
        {"menHistory", "menHilfe", 151, "Änderungsmitteilungen", "", K::Item},
        {"menInfo", "menHilfe", 147, "Information", "", K::Item},
        {"sepHilfe1", "menHilfe", 0, "", "", K::Separator},
        {"menUpdateParts", "menHilfe", 60, "Internet-Update (Bauteile)", "", K::Item},
        {"menUpdateSoftware", "menHilfe", 179, "Internet-Update (Software)", "", K::Item},
        {"menServerSettings", "menHilfe", 290, "Bibliotheksserver...", "", K::Item},
    };
    return rows;
}

TCommandTable::TCommandTable(const std::vector<TCommandRow>& rows, QWidget* owner)
    : QObject(owner), m_rows(rows), m_owner(owner) {
    for (const TCommandRow& row : m_rows) {
        m_parents.insert(Q(row.Id), Q(row.Parent));
    }
}

void TCommandTable::BuildMenus(QMenuBar* bar, bool developerMode) {
    for (const TCommandRow& row : m_rows) {
        const QString id = Q(row.Id);
        QMenu* parent = m_menus.value(Q(row.Parent), nullptr);
        switch (row.Kind) {
            case K::Menu: {
                QMenu* menu =
                    parent ? parent->addMenu(Q(row.Caption)) : bar->addMenu(Q(row.Caption));
                menu->setObjectName(id);
                m_menus.insert(id, menu);
                m_actions.insert(id, menu->menuAction());
                // A disabled item's tooltip says why it is disabled.
                menu->setToolTipsVisible(true);
                connect(menu, &QMenu::aboutToShow, this, &TCommandTable::UpdateEnabled);
                break;
            }
            case K::Separator:
                if (parent) {
                    parent->addSeparator()->setObjectName(id);
                }
                break;
            case K::Item:
            case K::Check:
            case K::KeyOnly: {
                auto* action = new QAction(Q(row.Caption), m_owner);
                action->setObjectName(id);
                if (*row.Shortcut) {
                    action->setShortcut(QKeySequence(Q(row.Shortcut), QKeySequence::PortableText));
                    action->setShortcutContext(Qt::WindowShortcut);
                }
                action->setCheckable(row.Kind == K::Check);
                if (row.Kind == K::KeyOnly) {
                    m_owner->addAction(action);
                } else if (parent) {
                    parent->addAction(action);
                }
                action->setVisible(!row.DeveloperOnly || developerMode);
                const std::string sid = row.Id;
                connect(action, &QAction::triggered, this, [this, sid] { Execute(sid); });
                m_actions.insert(id, action);
                break;
            }
        }
    }
    UpdateEnabled();
}

void TCommandTable::Bind(const std::string& id, std::function<void()> handler,
                         std::function<bool()> enabledWhen) {
    m_bindings.insert(QString::fromStdString(id), {std::move(handler), std::move(enabledWhen)});
    UpdateEnabled();
}

QAction* TCommandTable::Action(const std::string& id) const {
    return m_actions.value(QString::fromStdString(id), nullptr);
}

QMenu* TCommandTable::Menu(const std::string& id) const {
    return m_menus.value(QString::fromStdString(id), nullptr);
}

bool TCommandTable::Execute(const std::string& id) {
    const QString key = QString::fromStdString(id);
    const auto it = m_bindings.constFind(key);
    if (it == m_bindings.constEnd() || !it->Handler || (it->EnabledWhen && !it->EnabledWhen()) ||
        !m_setStates.value(key, true) || LockedOut(key)) {
        return false;
    }
    // A copy: the handler may bind commands anew, which would free the one running.
    const std::function<void()> handler = it->Handler;
    handler();
    // Whatever the command changed may change what else is possible.
    UpdateEnabledLater();
    return true;
}

void TCommandTable::DoLanguage() {
    const TkxLanguage& lng = Language();
    for (const TCommandRow& row : m_rows) {
        QAction* action = m_actions.value(Q(row.Id), nullptr);
        if (!action || row.Key == 0) {
            continue;
        }
        // The German caption is the default, so a table without the key gives German back
        // after another language was shown.
        action->setText(QString::fromStdString(lng.GetText(kSection, row.Key, row.Caption)));
    }
    // The disabled items' hints are texts too.
    UpdateEnabled();
}

void TCommandTable::UpdateEnabled() {
    for (const TCommandRow& row : m_rows) {
        if (row.Kind == K::Menu || row.Kind == K::Separator) {
            continue;
        }
        QAction* action = m_actions.value(Q(row.Id), nullptr);
        if (!action) {
            continue;
        }
        const auto it = m_bindings.constFind(Q(row.Id));
        const bool bound = it != m_bindings.constEnd() && it->Handler;
        const auto set = m_setStates.constFind(Q(row.Id));
        if (LockedOut(Q(row.Id))) {
            action->setEnabled(false);
        } else if (set != m_setStates.constEnd()) {
            action->setEnabled(bound && *set);
        } else {
            action->setEnabled(bound && (!it->EnabledWhen || it->EnabledWhen()));
        }
        ShowHint(Q(row.Id), action, bound);
    }
}

void TCommandTable::SetDisabledHint(const std::string& id, const QString& hint) {
    m_disabledHints.insert(QString::fromStdString(id), hint);
    UpdateEnabled();
}

void TCommandTable::ShowHint(const QString& id, QAction* action, bool bound) {
    if (action->isEnabled()) {
        action->setToolTip(QString());  // Qt's default: the caption
        return;
    }
    QString hint = m_disabledHints.value(id);
    if (hint.isEmpty() && !bound) {
        hint = QString::fromStdString(
            Language().GetText(kSection, 2803, "Diese Funktion folgt in einer späteren Version."));
    }
    action->setToolTip(hint);
}

void TCommandTable::UpdateEnabledLater() {
    if (m_updatePending) {
        return;
    }
    m_updatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updatePending = false;
            UpdateEnabled();
        },
        Qt::QueuedConnection);
}

void TCommandTable::SetEnabled(const std::string& id, bool enabled) {
    const QString key = QString::fromStdString(id);
    m_setStates.insert(key, enabled);
    if (QAction* action = m_actions.value(key, nullptr)) {
        const auto it = m_bindings.constFind(key);
        const bool bound = it != m_bindings.constEnd() && it->Handler;
        action->setEnabled(enabled && bound && !LockedOut(key));
        ShowHint(key, action, bound);
    }
}

bool TCommandTable::Bound(const std::string& id) const {
    const auto it = m_bindings.constFind(QString::fromStdString(id));
    return it != m_bindings.constEnd() && it->Handler;
}

void TCommandTable::Lock(const std::vector<std::string>& openMenus) {
    m_openMenus.clear();
    for (const std::string& menu : openMenus) {
        m_openMenus << QString::fromStdString(menu);
    }
    m_locked = true;
    UpdateEnabled();
}

void TCommandTable::Unlock() {
    m_locked = false;
    UpdateEnabled();
}

bool TCommandTable::LockedOut(const QString& id) const {
    if (!m_locked) {
        return false;
    }
    QString top = id;
    for (QString parent = m_parents.value(id); !parent.isEmpty();
         parent = m_parents.value(parent)) {
        top = parent;
    }
    return !m_openMenus.contains(top);
}

}  // namespace kx

#include "moc_u_commandtable.cpp"
