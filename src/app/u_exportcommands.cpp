// The main window's exports: the model's own formats (RAW, VRML, POV-Ray, X3D) and the
// exchange formats of today's 3D tools.
#include "app/u_exportcommands.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "model/u_export.h"
#include "model/u_modernexport.h"
#include "view/u_viewer.h"

namespace kx {

namespace {

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
        form.SetStatusText(
            0, QString::fromStdString(Language().GetText("MAIN", 2801, "Export gespeichert: %s"))
                   .replace(QStringLiteral("%s"), QString::fromStdString(file)));
    } else {
        QMessageBox::warning(&form, form.windowTitle(), QString::fromStdString(error));
    }
}

struct TClassicCommand {
    const char* Id;
    TExportFormat Format;
    int FilterKey;  ///< section MAIN; 0: the fixed filter
    const char* Filter;
};

constexpr TClassicCommand kClassic[] = {
    {"menExportRaw", TExportFormat::Raw, 87,
     "RAW File Format (*.RAW)|*.RAW|Alle Dateien (*.*)|*.*"},
    {"menExportVRML", TExportFormat::Vrml, 90,
     "VRML File Format (*.wrl)|*.WRL|Alle Dateien (*.*)|*.*"},
    {"menExportPOV", TExportFormat::Pov, 88,
     "POV File Format (*.pov)|*.POV|Alle Dateien (*.*)|*.*"},
    {"menExportX3D", TExportFormat::X3DShaded, 0,
     "Extensible 3D Format|*.X3D|Alle Dateien (*.*)|*.*"},
    {"menExportX3DFlat", TExportFormat::X3DFlat, 0,
     "Extensible 3D Format|*.X3D|Alle Dateien (*.*)|*.*"},
};

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("MAIN", key, def));
}

// The export frame of the model's own formats. Each outcome is told: the status bar names the
// file written, and a failure says why in a message (nothing is left behind then).
void ExportClassic(TMainForm& form, const TClassicCommand& command) {
    Stack().Push(std::string("TMainForm.") + command.Id + "Click");
    const QString filter = QtFileFilter(command.FilterKey ? Text(command.FilterKey, command.Filter)
                                                          : QString::fromUtf8(command.Filter));
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
    const std::string file = ExportFileName(chosen.toStdString(), command.Format);
    TkxMain& model = form.Model();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TExportResult result;
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
    const QString name = QString::fromStdString(file);
    if (result) {
        form.SetStatusText(
            0, Text(2801, "Export gespeichert: %s").replace(QStringLiteral("%s"), name));
    } else {
        QMessageBox::warning(&form, form.windowTitle(),
                             Text(2802, "Der Export nach %s ist fehlgeschlagen.")
                                     .replace(QStringLiteral("%s"), name) +
                                 QStringLiteral("\n") + QString::fromStdString(result.Error));
    }
}

}  // namespace

void BindExchangeExportCommands(TMainForm& form) {
    for (const TExchangeCommand& command : kCommands) {
        form.Commands().Bind(command.Id, [&form, &command] { ExportExchange(form, command); });
    }
    for (const TClassicCommand& command : kClassic) {
        form.Commands().Bind(command.Id, [&form, &command] { ExportClassic(form, command); });
    }
}

}  // namespace kx
