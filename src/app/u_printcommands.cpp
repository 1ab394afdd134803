// The main window's parts-list commands: the CSV export, the picture of a phase's parts and
// the three printed parts sheets.
#include "app/u_printcommands.h"

#include <QFileDialog>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_mainports.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partcache.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "model/d_PhasePicture.h"
#include "model/f_Ausgabe.h"
#include "model/phasepicture.h"
#include "model/u_partslist.h"
#include "printing/d_Print.h"
#include "printing/f_PrintProgress.h"
#include "printing/u_sheetitems.h"
#include "view/u_viewer.h"

namespace kx {

namespace {

/// The first two print commands close the coordinates manager first.
void CloseCoordinatesManager(TMainForm& form) {
    if (auto* coordinates = form.findChild<QWidget*>(QStringLiteral("FormKoordinaten"))) {
        coordinates->hide();
    }
}

void ShowSheets(TMainForm& form, std::vector<TSpareData> items) {
    auto sheet = NewPartsSheet(std::move(items), form.Model().Files(), DefCache(),
                               CurrentCatalogueSettings());
    TdlgPrint dialog(*sheet, &form);
    dialog.exec();
}

void ExportCsv(TMainForm& form) {
    const QString filter = QStringLiteral("CSV File Format (*.csv);;Alle Dateien (*.*)");
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
    const std::string file = CsvFileName(chosen.toStdString());
    const bool done = ExportAsCSV(form.Model(), file);
    form.Ports().ShowInformation(
        done ? Language().GetText("MAIN", 148, "Die Einzelteilliste wurde erfolgreich exportiert.")
             : Language().GetText("MAIN", 149,
                                  "Die Einzelteilliste konnte nicht exportiert werden."));
}

void ShowBauteile(TMainForm& form) {
    Stack().Push("tkxmain.ShowBauteile");
    TdlgPhasePicture dialog(&form);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    TkxMain& model = form.Model();
    const QImage picture = PaintPhasePicture(PhasePartGroups(model.Parts(), model.CurrentPhase()),
                                             dialog.Options(), model.Files());
    auto* output = new TFormAusgabe(picture, &form);
    output->setAttribute(Qt::WA_DeleteOnClose);
    output->show();
}

}  // namespace

void BindPrintCommands(TMainForm& form) {
    TCommandTable& c = form.Commands();
    c.Bind("menExportCSV", [&form] { ExportCsv(form); });
    c.Bind("menShowPhaseParts", [&form] { ShowBauteile(form); });
    c.Bind("menPrintParts", [&form] {
        CloseCoordinatesManager(form);
        ShowSheets(form, OverviewItems(form.Model().Parts()));
    });
    c.Bind("menPrintLibrary", [&form] {
        CloseCoordinatesManager(form);
        TFormPrintProgress progress(&form);
        auto items =
            LibraryItems(form.Model().Files(), DefCache(), CurrentCatalogueSettings(), &progress);
        if (items) {
            ShowSheets(form, std::move(*items));
        }
    });
    c.Bind("menPrintCollection", [&form] {
        ShowSheets(form, CollectionItems(form.Library()->Library().CollectionPrintRows()));
    });
}

}  // namespace kx
