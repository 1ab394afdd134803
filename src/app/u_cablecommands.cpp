// The main window's commands that make parts' data: cables between plugs and rounded normals.
#include "app/u_cablecommands.h"

// The renderer's GL loader must come before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QMenu>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partcache.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "generated/d_RoundPart.h"
#include "generated/f_Kabel.h"
#include "generated/f_RoundFF.h"
#include "model/MainObj.h"

namespace kx {

namespace {

QString RoundPartCaption() {
    return QString::fromStdString(
        Language().GetText("MAIN", kRoundPartCaptionKey, "Bauteil runden (.nrm)"));
}

void menKabelerzeugenClick(TMainForm& form) {
    Stack().Push("TMainForm.menKabelerzeugenClick");
    TCableWindowQt window(form.Viewer(), [&form] { form.RedrawView(); });
    form.Model().CreateKabel(window);
    form.RedrawView();
}

void menRoundPartsClick(TMainForm& form) {
    Stack().Push("TMainForm.menRoundPartsClick");
    Stack().Push("tkxmain.RoundParts");
    const std::string question = Language().GetText(
        "MAINOBJ", 26,
        "Diese Funktion rundet alle existierenden Bauteile in der Bibliothek ab. Diese Funktion "
        "muss nur einmal durchgeführt werden und kann auch jederzeit abgebrochen und wieder "
        "aufgenommen werden. Möchten Sie diese Funktion jetzt durchführen?");
    if (AskYesNo(question) != kAnswerYes) {
        return;
    }
    TFormRoundFF window(form.Model().Files(), FfCache(), &form);
    window.exec();
}

void menRoundPartClick(TMainForm& form) {
    Stack().Push("TMainForm.menRoundPartClick");
    const std::string number = form.Library()->GetActualPartNumber();
    if (number.empty()) {
        return;
    }
    if (const auto limit = TdlgRoundPart::Execute(&form)) {
        form.Model().RoundSinglePart(number, *limit);
    }
}

}  // namespace

void BindCableAndRoundingCommands(TMainForm& form) {
    TCommandTable& c = form.Commands();
    c.Bind("menCable", [&form] { menKabelerzeugenClick(form); });
    c.Bind("menRoundParts", [&form] { menRoundPartsClick(form); });

    QMenu* tiles = form.Library()->TileMenu();
    auto* round = new QAction(RoundPartCaption(), tiles);
    round->setObjectName(QStringLiteral("menRoundPart"));
    // For everyone: beside the package export, above the maintainers' items.
    QAction* before = nullptr;
    for (QAction* a : tiles->actions()) {
        if (a->objectName() == QStringLiteral("menExportPart")) {
            before = a;
        }
    }
    tiles->insertAction(before, round);
    QObject::connect(round, &QAction::triggered, &form, [&form] { menRoundPartClick(form); });
    // The library renews its own captions; this one follows the language when the menu opens.
    QObject::connect(tiles, &QMenu::aboutToShow, round,
                     [round] { round->setText(RoundPartCaption()); });
}

}  // namespace kx
