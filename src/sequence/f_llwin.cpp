// "Logik-Manager": the flowchart window of the model's sequence program.
#include "sequence/f_llwin.h"

#include <QButtonGroup>
#include <QDrag>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/d_Message.h"
#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "sequence/blockpictures.h"
#include "sequence/d_AblaufDialogs.h"
#include "sequence/llsurface.h"

namespace kx {

namespace {

constexpr const char* kSection = "F_LLWIN";
constexpr const char* kFilter = "Logikplan (*.kxl)|*.kxl|Alle Dateien (*.*)|*.*";

/// The palette in list order: caption key, German caption, picture index.
struct TPaletteEntry {
    int Key;
    const char* Caption;
    int Picture;
};
constexpr TPaletteEntry kPalette[] = {
    {13, "Start", 0},
    {14, "Ende", 1},
    {15, "Motor", 2},
    {16, "Kollision", 3},
    {17, "Pause", 4},
    {18, "Bauteil einfärben", 7},
    {19, "Joystick", 6},
    {20, "Variable setzen", 5},
    {21, "Variable verändern", 9},
    {22, "Variable abfragen", 8},
};

/// The pictures of the two mode buttons: a pointer, and a line between two rings.
QIcon ModePicture(bool line) {
    QIcon icon;
    for (const int ratio : {1, 2}) {
        QPixmap pixmap(24 * ratio, 24 * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (line) {
            p.setPen(QPen(QColor(128, 128, 128), 2));
            p.drawPolyline(QPolygonF({{6, 4}, {6, 12}, {18, 12}, {18, 20}}));
            p.setPen(QPen(QColor(128, 96, 16), 1));
            p.setBrush(QColor(232, 190, 60));
            p.drawEllipse(QPointF(6, 4), 3, 3);
            p.drawEllipse(QPointF(18, 20), 3, 3);
        } else {
            QPainterPath arrow;
            arrow.moveTo(6, 3);
            arrow.lineTo(6, 20);
            arrow.lineTo(10.5, 15.5);
            arrow.lineTo(14, 22);
            arrow.lineTo(16.5, 21);
            arrow.lineTo(13, 14.5);
            arrow.lineTo(19, 14.5);
            arrow.closeSubpath();
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawPath(arrow);
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

// --- TLogicPalette ----------------------------------------------------------------------------

TLogicPalette::TLogicPalette(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lv"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setIconSize(QSize(50, 35));
    setGridSize(QSize(124, 66));
    setWordWrap(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

int TLogicPalette::SelectedPicture() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : items.first()->data(Qt::UserRole).toInt();
}

void TLogicPalette::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    QListWidgetItem* item = itemAt(event->position().toPoint());
    if (!item || event->button() != Qt::LeftButton || !isEnabled()) {
        return;
    }
    // The drag starts with the press: a short pull from the palette is enough.
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kLogicBlockMimeType),
                  QByteArray::number(item->data(Qt::UserRole).toInt()));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(item->icon().pixmap(iconSize(), devicePixelRatioF()));
    if (RunDrag) {
        RunDrag(drag);
        drag->deleteLater();
    } else {
        drag->exec(Qt::CopyAction);  // Qt frees the drag when it ends
    }
}

// --- TFormLLWin -------------------------------------------------------------------------------

TFormLLWin::TFormLLWin(TkxMain& model, QWidget* parent)
    : QDialog(parent, Qt::Window), m_model(model), m_editor(model.Ablauf()) {
    Stack().Push("TFormLLWin.FormCreate");
    setObjectName(QStringLiteral("FormLLWin"));
    setWindowTitle(QStringLiteral("Logik-Manager"));
    SetHelpContext(this, kHelpContext);

    m_menuBar = new QMenuBar(this);
    BuildMenu();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    lv = new TLogicPalette(splitter);
    lv->setMinimumWidth(100);
    BuildPalette();
    sb = new QScrollArea(splitter);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setFrameShape(QFrame::NoFrame);
    sb->setWidgetResizable(false);
    pb = new TLogicSurface(m_editor, *sb);
    sb->setWidget(pb);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({143, 700});

    auto* modes = new QWidget(this);
    modes->setFixedWidth(36);
    auto* modesLayout = new QVBoxLayout(modes);
    modesLayout->setContentsMargins(0, 0, 0, 0);
    modesLayout->setSpacing(0);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    const auto modeButton = [&](const char* name, bool line) {
        auto* b = new QToolButton(modes);
        b->setObjectName(QString::fromLatin1(name));
        b->setCheckable(true);
        b->setFixedSize(36, 36);
        b->setIcon(ModePicture(line));
        b->setIconSize(QSize(24, 24));
        group->addButton(b);
        modesLayout->addWidget(b);
        return b;
    };
    btnBlock = modeButton("btnBlock", false);
    btnLine = modeButton("btnLine", true);
    modesLayout->addStretch();
    btnBlock->setChecked(true);
    connect(group, &QButtonGroup::buttonClicked, this, [this] {
        const bool line = btnLine->isChecked();
        m_editor.SetMode(line ? TAblaufEditor::kConnectionMode : TAblaufEditor::kBlockMode);
        pb->setCursor(line ? Qt::CrossCursor : Qt::ArrowCursor);
    });

    pop = new QMenu(this);
    pop->setObjectName(QStringLiteral("pop"));
    B1 = pop->addAction(QString());
    B1->setObjectName(QStringLiteral("B1"));
    V1 = pop->addAction(QString());
    V1->setObjectName(QStringLiteral("V1"));
    connect(B1, &QAction::triggered, this, [this] { DeleteBlockCommand(); });
    connect(V1, &QAction::triggered, this, [this] { DeleteConnectionCommand(); });

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    m_status = new QLabel(statusBar);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    statusBar->addWidget(m_status, 1);

    auto* centre = new QHBoxLayout;
    centre->setContentsMargins(0, 0, 0, 0);
    centre->setSpacing(2);
    centre->addWidget(splitter, 1);
    centre->addWidget(modes);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setMenuBar(m_menuBar);
    layout->addLayout(centre, 1);
    layout->addWidget(statusBar);

    pb->OnDrop = [this](int32_t x, int32_t y) {
        // The entry selected in the palette decides the kind, whatever was dragged.
        const int picture = lv->SelectedPicture();
        if (picture >= 0) {
            m_editor.Drop(KindOfPicture(picture), x, y);
        }
    };
    pb->OnEdit = [this](TBlock& block) { EditBlockCommand(block); };
    pb->OnPopup = [this](const QPoint& at) { pop->exec(at); };
    pb->OnMessage = [this](const std::string& text) { Message(text); };
    pb->OnZoomChanged = [this] { UpdateReadOnly(); };
    QPointer<TFormLLWin> self(this);
    model.Ablauf().SetOnShownChanged([self] {
        if (self) {
            self->ProgramChanged();
        }
    });

    ApplyFormStyle(this);
    resize(881, 677);
    if (const QScreen* s = screen()) {
        move(s->availableGeometry().center() - rect().center());
    }
    DoLanguage();
    UpdateReadOnly();
    hide();
}

void TFormLLWin::BuildMenu() {
    menDatei = m_menuBar->addMenu(QString());
    menDatei->setObjectName(QStringLiteral("menDatei"));
    const auto item = [this](QMenu* menu, const char* name, auto handler) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    menNew = item(menDatei, "menNew", [this] { NewProgram(); });
    menExport = item(menDatei, "menExport", [this] { ExportProgram(); });
    menImport = item(menDatei, "menImport", [this] { ImportProgram(); });
    menDatei->addSeparator();
    Schlieen1 = item(menDatei, "Schlieen1", [this] { hide(); });
    menHilfe = m_menuBar->addMenu(QString());
    menHilfe->setObjectName(QStringLiteral("menHilfe"));
    menHelp = item(menHilfe, "menHelp", [this] { OpenHelp(); });
}

void TFormLLWin::BuildPalette() {
    for (const TPaletteEntry& e : kPalette) {
        auto* item = new QListWidgetItem(PalettePicture(e.Picture), QString::fromUtf8(e.Caption));
        item->setData(Qt::UserRole, e.Picture);
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        lv->addItem(item);
    }
}

QString TFormLLWin::Text(int key, const char* def) const {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

void TFormLLWin::DoLanguage() {
    setWindowTitle(Text(1, "Logik-Manager"));
    menDatei->setTitle(Text(2, "&Datei"));
    menNew->setText(Text(3, "Neu"));
    menExport->setText(Text(4, "Logikplan exportieren (*.kxl)"));
    menImport->setText(Text(5, "Logikplan importieren (*.kxl)"));
    Schlieen1->setText(Text(6, "Schließen"));
    menHilfe->setTitle(Text(7, "Hilfe"));
    menHelp->setText(Text(7, "Hilfe"));
    btnBlock->setToolTip(Text(11, "Block-Modus"));
    btnLine->setToolTip(Text(12, "Verbindungs-Modus"));
    for (int i = 0; i < lv->count(); ++i) {
        const TPaletteEntry& e = kPalette[i];
        lv->item(i)->setText(Text(e.Key, e.Caption));
    }
    B1->setText(Text(25, "Block löschen"));
    V1->setText(Text(26, "Verbindung löschen"));
    UpdateReadOnly();
}

void TFormLLWin::ShowWindow() {
    Stack().Push("tkxmain.ShowLogikManager");
    UpdateReadOnly();
    show();
    raise();
    activateWindow();
}

void TFormLLWin::showEvent(QShowEvent* event) {
    UpdateReadOnly();
    QDialog::showEvent(event);
}

void TFormLLWin::UpdateReadOnly() {
    const bool readOnly = m_model.KinematikActive();
    m_editor.SetReadOnly(readOnly);
    for (QAction* a : {menNew, menImport, B1, V1}) {
        a->setEnabled(!readOnly);
    }
    lv->setEnabled(!readOnly);
    const QString zoom = QStringLiteral("%1 %").arg(qRound(pb->Zoom() * 100));
    m_status->setText(readOnly ? Text(24,
                                      "Der Logikplan läuft im Kinematik-Modus und kann erst "
                                      "nach dem Ende des Modus bearbeitet werden.")
                               : zoom);
    pb->update();
}

QString TFormLLWin::StatusText() const {
    return m_status->text();
}

void TFormLLWin::ProgramChanged() {
    pb->UpdateExtent();
    pb->update();
}

void TFormLLWin::Message(const std::string& text) {
    QMessageBox::information(this, QStringLiteral("Korvex designer"), QString::fromStdString(text));
}

QString TFormLLWin::ChooseFile(bool save) {
    const QString filter = QtFileFilter(Text(8, kFilter));
    if (FileChooser) {
        return FileChooser(save, filter);
    }
    QFileDialog dialog(this);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

void TFormLLWin::NewProgram() {
    Stack().Push("TFormLLWin.menNewClick");
    if (m_editor.ReadOnly()) {
        return;
    }
    // A program with blocks is work the user may not want to lose.
    if (!m_editor.Program().Blocks().empty() &&
        AskYesNo(
            Text(23, "Soll der Logikplan mit allen Blöcken verworfen werden?").toStdString()) !=
            kAnswerYes) {
        return;
    }
    m_editor.Program().Clear();
    pb->update();
}

void TFormLLWin::ExportProgram() {
    Stack().Push("TFormLLWin.menExportClick");
    const QString chosen = ChooseFile(true);
    if (chosen.isEmpty()) {
        return;
    }
    const std::string file = TAblauf::KxlFileName(chosen.toStdString());
    if (const TAblaufResult result = m_editor.Program().ExportToFile(file); !result) {
        Message(result.Message);
    }
}

void TFormLLWin::ImportProgram() {
    Stack().Push("TFormLLWin.menImportClick");
    if (m_editor.ReadOnly()) {
        return;
    }
    const QString file = ChooseFile(false);
    if (file.isEmpty()) {
        return;
    }
    if (const TAblaufResult result = m_editor.Program().ImportFromFile(file.toStdString());
        !result) {
        Message(result.Message);
    }
    pb->update();
}

void TFormLLWin::DeleteBlockCommand() {
    m_editor.DeleteSelectedBlock();
    pb->update();
}

void TFormLLWin::DeleteConnectionCommand() {
    m_editor.DeleteSelectedConnection();
    pb->update();
}

void TFormLLWin::EditBlockCommand(TBlock& block) {
    Stack().Push("TFormLLWin.pbDblClick");
    if (m_editor.ReadOnly()) {
        return;
    }
    std::vector<std::string> before;
    block.SaveToList(before);
    if (!EditBlock(this, block, m_model.CollisionRules())) {
        return;
    }
    // A dialog confirmed without a change leaves the model as it was.
    std::vector<std::string> after;
    block.SaveToList(after);
    if (after != before) {
        m_editor.Program().NotifyChanged();
    }
    pb->update();
}

void TFormLLWin::OpenHelp() {
    Stack().Push("TFormLLWin.menHelpClick");
    ShowHelp(this, kHelpContext);
}

}  // namespace kx

#include "moc_f_llwin.cpp"
