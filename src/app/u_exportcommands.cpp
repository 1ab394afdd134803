// The main window's export commands and the render manager.
#include "app/u_exportcommands.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_formstyle.h"
#include "app/u_mainports.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "model/u_modernexport.h"
#include "view/f_RenderManager.h"
#include "view/u_viewer.h"

namespace kx {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

/// The formats the program's own writers make from the scene as the view holds it.
struct TSceneExportCommand {
    const char* Id;
    TExportFormat Format;
    const char* Name;  ///< the format in the status text
    int FilterKey;     ///< MAIN key of the file filter, 0 for none
    const char* Filter;
};

const TSceneExportCommand kSceneCommands[] = {
    {"menExportRaw", TExportFormat::Raw, "RAW", 87,
     "RAW File Format (*.RAW)|*.RAW|Alle Dateien (*.*)|*.*"},
    {"menExportVRML", TExportFormat::Vrml, "VRML", 90,
     "VRML File Format (*.wrl)|*.WRL|Alle Dateien (*.*)|*.*"},
    {"menExportPOV", TExportFormat::Pov, "POV-Ray", 88,
     "POV File Format (*.pov)|*.POV|Alle Dateien (*.*)|*.*"},
    {"menExportX3D", TExportFormat::X3DShaded, "X3D", 0,
     "Extensible 3D Format|*.X3D|Alle Dateien (*.*)|*.*"},
    {"menExportX3DFlat", TExportFormat::X3DFlat, "X3D", 0,
     "Extensible 3D Format|*.X3D|Alle Dateien (*.*)|*.*"},
};

void RunSceneExport(TMainForm& form, const TSceneExportCommand& command) {
    Stack().Push(std::string("TMainForm.") + command.Id + "Click");
    const std::string stored = command.FilterKey
                                   ? Language().GetText("MAIN", command.FilterKey, command.Filter)
                                   : std::string(command.Filter);
    const QString filter = QtFileFilter(Q(stored));
    const QString chosen =
        form.FileChooser ? form.FileChooser(true, filter)
                         : QFileDialog::getSaveFileName(&form, QString(), QString(), filter,
                                                        nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) {
        return;
    }
    if (form.Interaction()) {
        form.Interaction()->SetSuppressMouseMove(true);
    }
    const std::string file = ExportFileName(chosen.toStdString(), command.Format);
    TkxMain& model = form.Model();
    TModelExportResult result;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (command.Format) {
        case TExportFormat::Raw:
            result = model.ExportAsRaw(file);
            break;
        case TExportFormat::Vrml:
            result = model.ExportAsVRML(file);
            break;
        case TExportFormat::Pov:
            result = model.ExportAsPOV(file, 0xFFFFFF);
            break;
        case TExportFormat::X3DShaded:
        case TExportFormat::X3DFlat:
            result = model.ExportAsX3D(file, command.Format == TExportFormat::X3DFlat);
            break;
    }
    QApplication::restoreOverrideCursor();
    // The status text names what was written: an export is no save of the model.
    if (result) {
        form.SetStatusText(0, Q(Language().GetText("EXPORT", 3, "Modell exportiert (%1): %2"))
                                  .arg(QString::fromUtf8(command.Name), Q(file)));
    } else {
        form.Ports().ShowInformation(
            Q(Language().GetText("EXPORT", 4,
                                 "Das Modell konnte nicht exportiert werden (%1): %2: %3"))
                .arg(QString::fromUtf8(command.Name), Q(file), Q(result.Error))
                .toStdString());
    }
}

struct TExchangeCommand {
    const char* Id;
    TModernFormat Format;
    const char* Extension;  ///< with the dot, lower case
    const char* Filter;
};

constexpr TExchangeCommand kCommands[] = {
    {"menExportSTL", TModernFormat::Stl, ".stl", "STL (*.stl)"},
    {"menExportGLTF", TModernFormat::Gltf, ".gltf", "glTF 2.0 (*.gltf)"},
    {"menExportGLB", TModernFormat::Glb, ".glb", "glTF 2.0 binär (*.glb)"},
    {"menExportOBJ", TModernFormat::Obj, ".obj", "Wavefront OBJ (*.obj)"},
    {"menExport3MF", TModernFormat::Mf3, ".3mf", "3MF (*.3mf)"},
};

void ExportExchange(TMainForm& form, const TExchangeCommand& command) {
    const QString filter = QString::fromUtf8(command.Filter) + QStringLiteral(";;") +
                           QString::fromStdString(Language().GetText("EXPORT", 2, "Alle Dateien")) +
                           QStringLiteral(" (*)");
    QString chosen;
    if (form.FileChooser) {
        chosen = form.FileChooser(true, filter);
    } else {
        chosen = QFileDialog::getSaveFileName(&form, QString(), QString(), filter, nullptr,
                                              QFileDialog::DontUseNativeDialog);
    }
    if (chosen.isEmpty()) {
        return;
    }
    if (form.Interaction()) {
        form.Interaction()->SetSuppressMouseMove(true);
    }
    std::string file = chosen.toStdString();
    if (UpperCase(file).find(UpperCase(command.Extension)) == std::string::npos) {
        file += command.Extension;
    }
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = ExportModern(form.Model(), command.Format, file, error);
    QApplication::restoreOverrideCursor();
    if (done) {
        // An export is no save of the model: the status names the format and the file.
        form.SetStatusText(0, Q(Language().GetText("EXPORT", 3, "Modell exportiert (%1): %2"))
                                  .arg(QString::fromUtf8(command.Extension + 1).toUpper(),
                                       Q(file)));
    } else {
        QMessageBox::warning(&form, form.windowTitle(), QString::fromStdString(error));
    }
}

}  // namespace

TFormRenderManager& RenderManager(TMainForm& form) {
    auto* manager = form.findChild<TFormRenderManager*>(QStringLiteral("FormRenderManager"));
    if (!manager) {
        manager = new TFormRenderManager(&form);
        manager->SetModel(&form.Model());
    }
    return *manager;
}

void BindExportCommands(TMainForm& form) {
    TCommandTable& c = form.Commands();
    for (const TSceneExportCommand& command : kSceneCommands) {
        c.Bind(command.Id, [&form, &command] { RunSceneExport(form, command); });
    }
    for (const TExchangeCommand& command : kCommands) {
        c.Bind(command.Id, [&form, &command] { ExportExchange(form, command); });
    }
    c.Bind("menRenderManager", [&form] {
        Stack().Push("tkxmain.ShowRenderManager");
        TFormRenderManager& manager = RenderManager(form);
        manager.show();
        manager.raise();
        manager.activateWindow();
    });
}

}  // namespace kx
