// The main window's exports to the exchange formats of today's 3D tools.
#include "app/u_exportcommands.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "foundation/u_language.h"
#include "foundation/u_text.h"
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
        form.SetStatusText(0, QString::fromStdString(Language().GetText(
                                  "MAIN2", 2, "Modell erfolgreich gespeichert")));
    } else {
        QMessageBox::warning(&form, form.windowTitle(), QString::fromStdString(error));
    }
}

}  // namespace

void BindExchangeExportCommands(TMainForm& form) {
    for (const TExchangeCommand& command : kCommands) {
        form.Commands().Bind(command.Id, [&form, &command] { ExportExchange(form, command); });
    }
}

}  // namespace kx
