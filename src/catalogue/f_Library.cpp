// The library panel: both sets of tabs with their tile views, the set buttons, the tile menu.
#include "catalogue/f_Library.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/d_Message.h"
#include "app/u_formstyle.h"
#include "catalogue/d_AddCollection.h"
#include "catalogue/d_PartTools.h"
#include "catalogue/f_SnapView.h"
#include "catalogue/f_Splash.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

QString Main(int key, const char* def) {
    return QString::fromStdString(Language().GetText("MAIN", key, def));
}

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

/// The picture of a set button: a building block in the set's colour.
QIcon SetIcon(const QColor& colour) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2.5, 6.5, 15, 10), 2, 2);
    p.drawRect(QRectF(5.5, 3.5, 3, 3));
    p.drawRect(QRectF(11.5, 3.5, 3, 3));
    return QIcon(pm);
}

/// The fill's view of the splash window and the icon list.
class TPanelFill : public TLibraryFillPort {
public:
    TPanelFill(TLibraryPanel& panel, TFormSplash* splash) : m_panel(panel), m_splash(splash) {}
    void FillStart(const std::string& text, int maximum) override {
        if (m_splash) {
            m_splash->SetMaximum(maximum);
            m_splash->SetPosition(0);
            m_splash->SetStatus(Q(text));
        }
    }
    void FillProgress(int position) override {
        if (m_splash) {
            m_splash->SetPosition(position);
        }
    }
    int LoadIcon(const fs::path& file) override { return m_panel.LoadIcon(file); }

private:
    TLibraryPanel& m_panel;
    TFormSplash* m_splash;
};

}  // namespace

TLibraryPanel::TLibraryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LibraryPanel"));
    m_library.SetView(this);

    btnNewBauteile = new QToolButton(this);
    btnNewBauteile->setObjectName(QStringLiteral("btnNewBauteile"));
    btnOldBauteile = new QToolButton(this);
    btnOldBauteile->setObjectName(QStringLiteral("btnOldBauteile"));
    btnNewBauteile->setIcon(SetIcon(QColor(30, 126, 183)));
    btnOldBauteile->setIcon(SetIcon(QColor(150, 150, 150)));
    auto* setButtons = new QButtonGroup(this);
    for (QToolButton* b : {btnNewBauteile, btnOldBauteile}) {
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFixedSize(28, 28);
        setButtons->addButton(b);
    }
    setButtons->setExclusive(true);
    btnNewBauteile->setChecked(true);
    connect(btnNewBauteile, &QToolButton::clicked, this,
            [this] { m_library.ShowSet(TLibrarySet::New); });
    connect(btnOldBauteile, &QToolButton::clicked, this,
            [this] { m_library.ShowSet(TLibrarySet::Old); });

    m_stack = new QStackedWidget(this);
    pcNew = new QTabWidget(m_stack);
    pcNew->setObjectName(QStringLiteral("pcNew"));
    pcOld = new QTabWidget(m_stack);
    pcOld->setObjectName(QStringLiteral("pcOld"));
    m_stack->addWidget(pcNew);
    m_stack->addWidget(pcOld);
    for (int s = 0; s < 2; ++s) {
        QTabWidget* pc = s == 0 ? pcNew : pcOld;
        pc->setDocumentMode(true);
        pc->setUsesScrollButtons(true);
        for (int t = 0; t < LibraryTabCount; ++t) {
            const TLibraryPage page{static_cast<TLibrarySet>(s), t};
            auto* view = new TSnapView(m_library, page, m_icons, pc);
            view->setObjectName(QStringLiteral("SnapView%1_%2").arg(s).arg(t));
            m_views[static_cast<size_t>(s)][static_cast<size_t>(t)] = view;
            pc->addTab(view, QString());
            connect(view, &TSnapView::PartDragStarted, this, &TLibraryPanel::PartDragStarted);
            connect(view, &TSnapView::TileMenuRequested, this,
                    [this, view](int index, const QPoint& pos) { ShowTileMenu(view, index, pos); });
        }
        connect(pc, &QTabWidget::currentChanged, this,
                [this, s](int tab) { m_library.SetActiveTab(static_cast<TLibrarySet>(s), tab); });
    }

    m_tileMenu = new QMenu(this);
    menAddToCollection = m_tileMenu->addAction(QString());
    menEditInCollection = m_tileMenu->addAction(QString());
    menRemoveFromCollection = m_tileMenu->addAction(QString());
    menRemoveFavourite = m_tileMenu->addAction(QString());
    m_tileMenu->addSeparator();
    menFindInModel = m_tileMenu->addAction(QString());
    menAddToCollection->setObjectName(QStringLiteral("menAddToCollection"));
    menEditInCollection->setObjectName(QStringLiteral("menEditInCollection"));
    menRemoveFromCollection->setObjectName(QStringLiteral("menRemoveFromCollection"));
    menRemoveFavourite->setObjectName(QStringLiteral("menRemoveFavourite"));
    menFindInModel->setObjectName(QStringLiteral("menFindInModel"));
    connect(menAddToCollection, &QAction::triggered, this,
            [this] { m_library.AddSelectedToCollection(); });
    connect(menEditInCollection, &QAction::triggered, this,
            [this] { m_library.EditSelectedCollectionTile(); });
    connect(menRemoveFromCollection, &QAction::triggered, this,
            [this] { m_library.RemoveSelectedCollectionTile(); });
    connect(menRemoveFavourite, &QAction::triggered, this,
            [this] { m_library.RemoveSelectedFavourite(); });
    connect(menFindInModel, &QAction::triggered, this, [this] { m_library.FindPartsInModel(); });
    m_developerLine = m_tileMenu->addSeparator();
    menCopyPart = m_tileMenu->addAction(QString());
    menEditDef = m_tileMenu->addAction(QString());
    menEditSort = m_tileMenu->addAction(QString());
    menImportExternalPart = m_tileMenu->addAction(QString());
    menCopyPart->setObjectName(QStringLiteral("menCopyPart"));
    menEditDef->setObjectName(QStringLiteral("menEditDef"));
    menEditSort->setObjectName(QStringLiteral("menEditSort"));
    menImportExternalPart->setObjectName(QStringLiteral("menImportExternalPart"));
    connect(menCopyPart, &QAction::triggered, this, [this] { CopyPartCommand(); });
    connect(menEditDef, &QAction::triggered, this, [this] { EditDefCommand(); });
    connect(menEditSort, &QAction::triggered, this, [this] { EditSortCommand(); });
    connect(menImportExternalPart, &QAction::triggered, this,
            [this] { ImportExternalPartCommand(); });
    BuildPartToolItems();
    SetDeveloperMode(false);

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(btnNewBauteile);
    buttons->addWidget(btnOldBauteile);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(m_stack, 1);
    DoLanguage();
}

TLibraryPanel::~TLibraryPanel() {
    m_library.SetView(nullptr);
}

void TLibraryPanel::DoLanguage() {
    for (int s = 0; s < 2; ++s) {
        QTabWidget* pc = s == 0 ? pcNew : pcOld;
        for (int t = 0; t < LibraryTabCount; ++t) {
            pc->setTabText(t, Q(PageCaption({static_cast<TLibrarySet>(s), t})));
        }
    }
    btnNewBauteile->setToolTip(Main(LibraryText::NewSetHint, "Aktuelle Bauteile"));
    btnOldBauteile->setToolTip(Main(LibraryText::OldSetHint, "Ältere Bauteile"));
    menAddToCollection->setText(
        Main(LibraryText::AddToCollection, "Bauteil zur Sammlung hinzufügen"));
    menEditInCollection->setText(
        Main(LibraryText::EditInCollection, "Bauteil in Sammlung bearbeiten"));
    menRemoveFromCollection->setText(
        Main(LibraryText::RemoveFromCollection, "Bauteil aus Sammlung entfernen"));
    menRemoveFavourite->setText(
        Main(LibraryText::RemoveFavourite, "Bauteil aus Favoriten entfernen"));
    menFindInModel->setText(Main(LibraryText::FindInModel, "Bauteil(e) im Modell selektieren"));
    menCopyPart->setText(Main(LibraryText::CopyPart, "Bauteil kopieren"));
    menEditDef->setText(Main(LibraryText::EditDef, "Bauteil bearbeiten (Dialog)"));
    menEditSort->setText(Main(LibraryText::EditSort, "Sortierung bearbeiten"));
    menImportExternalPart->setText(
        Main(LibraryText::ImportExternalPart, "Bauteil aus externer Quelle importieren..."));
    PartToolLanguage();
}

void TLibraryPanel::SetDeveloperMode(bool on) {
    for (QAction* a :
         {m_developerLine, menCopyPart, menEditDef, menEditSort, menImportExternalPart, menEditPart,
          menUploadPart, menWriteVersion, menPartNamesInClipboard, menIncVersionsnummer,
          menDefGenerator->menuAction(), menDefmaker, menOpenInBlender, menCloseMenu}) {
        a->setVisible(on);
    }
}

TSnapView* TLibraryPanel::View(const TLibraryPage& page) const {
    return m_views.at(static_cast<size_t>(page.Set)).at(static_cast<size_t>(page.Tab));
}

int TLibraryPanel::LoadIcon(const fs::path& file) {
    QImage image;
    const QString name = QString::fromStdString(file.string());
    if (!image.load(name, "BMP") && !image.load(name)) {
        return -1;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key) {
                line[x] = 0;
            }
        }
    }
    if (image.width() != IconSize || image.height() != IconSize) {
        image = image.scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    m_icons.push_back(QPixmap::fromImage(image));
    return static_cast<int>(m_icons.size()) - 1;
}

TLibraryFillResult TLibraryPanel::Fill(TPartFiles& files, const TLibraryFillOptions& options,
                                       TFormSplash* splash) {
    Stack().Push("TLibraryPanel.Fill");
    m_files = &files;
    m_icons.clear();
    TPanelFill port(*this, splash);
    ++m_deferMessages;
    const TLibraryFillResult result = m_library.Fill(files, options, port);
    --m_deferMessages;
    return result;
}

bool TLibraryPanel::OpenLastCollection() {
    const std::string file = Param().GetLastCollectionFile();
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(fs::path(file), ec)) {
        return false;
    }
    ++m_deferMessages;
    const bool ok = m_library.OpenCollection(fs::path(file));
    --m_deferMessages;
    return ok;
}

QString TLibraryPanel::CollectionFilter() const {
    return QtFileFilter(
        Main(LibraryText::CollectionFilter, "Sammlung (*.kxc)|*.kxc|Alle Dateien (*.*)|*.*"));
}

void TLibraryPanel::NewCollectionCommand() {
    Stack().Push("TMainForm.menNewCollectionClick");
    m_library.NewCollection();
}

QString TLibraryPanel::ChooseCollectionFile(bool save) {
    return save ? QFileDialog::getSaveFileName(window(), QString(), QString(), CollectionFilter())
                : QFileDialog::getOpenFileName(window(), QString(), QString(), CollectionFilter());
}

void TLibraryPanel::OpenCollectionCommand() {
    Stack().Push("TMainForm.menOpenCollectionClick");
    const QString file = ChooseCollectionFile(false);
    if (!file.isEmpty() && m_library.OpenCollection(fs::path(file.toStdString()))) {
        m_library.ShowLibraryPage({TLibrarySet::New, CollectionTab});
    }
}

void TLibraryPanel::MergeCollectionCommand() {
    Stack().Push("TMainForm.menMergeCollectionClick");
    const QString file = ChooseCollectionFile(false);
    if (!file.isEmpty()) {
        m_library.MergeCollection(fs::path(file.toStdString()));
    }
}

void TLibraryPanel::SaveCollectionCommand() {
    Stack().Push("TMainForm.menSaveCollectionClick");
    const QString file = ChooseCollectionFile(true);
    if (!file.isEmpty()) {
        m_library.SaveCollection(fs::path(CollectionFileName(file.toStdString())));
    }
}

void TLibraryPanel::CopyPartCommand() {
    Stack().Push("TMainForm.menCopyPartClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    TdlgCopyPart dlg(*m_files, number, *this, window());
    dlg.exec();
}

void TLibraryPanel::ImportExternalPartCommand() {
    Stack().Push("TMainForm.menImportExternalPartClick");
    if (!m_files) {
        return;
    }
    const QString file =
        QFileDialog::getOpenFileName(window(),
                                     QString::fromStdString(Language().GetText(
                                         "D_IMPORTPART", 10, "Definitions-Datei auswählen")),
                                     QString(), QStringLiteral("*.def"));
    if (file.isEmpty()) {
        return;
    }
    bool ok = false;
    const QString number = QInputDialog::getText(
        window(), QStringLiteral("Korvex designer"),
        QString::fromStdString(Language().GetText("D_IMPORTPART", 11, "Neue Bauteilnummer")),
        QLineEdit::Normal, QFileInfo(file).fileName().left(5), &ok);
    if (!ok || number.trimmed().isEmpty()) {
        return;
    }
    TdlgImportPart dlg(*m_files, fs::path(file.toStdString()), number.trimmed().toStdString(),
                       *this, window());
    dlg.exec();
}

void TLibraryPanel::EditSortCommand() {
    Stack().Push("TMainForm.menEditSortClick");
    if (!m_files) {
        return;
    }
    TdlgEditSort dlg(*m_files, m_library.Page(m_library.ActivePage()), m_icons, window());
    dlg.exec();
}

void TLibraryPanel::EditDefCommand() {
    Stack().Push("TMainForm.menEditDefClick");
    const std::string number = GetActualPartNumber();
    if (m_files && !number.empty() && !RewriteDefinition(*m_files, number)) {
        Message(TLibraryMessageKind::Warning,
                Language().GetText("D_COPYPART", 10,
                                   "Die Definition konnte nicht geschrieben werden."));
    }
}

void TLibraryPanel::ShowTileMenu(TSnapView* view, int index, const QPoint& globalPos) {
    const TSnapViewData& data = view->Data();
    const bool onTile = index >= 0;
    menAddToCollection->setVisible(!data.IsCollection);
    menEditInCollection->setVisible(data.IsCollection);
    menRemoveFromCollection->setVisible(data.IsCollection);
    menRemoveFavourite->setVisible(data.IsFavourites);
    for (QAction* a : {menAddToCollection, menEditInCollection, menRemoveFromCollection,
                       menRemoveFavourite, menFindInModel, menExportPart}) {
        a->setEnabled(onTile);
    }
    UpdatePartToolStates();
    if (onTile) {
        m_tileMenu->popup(globalPos);
    }
}

// --- TLibraryView -----------------------------------------------------------------------------

void TLibraryPanel::PageChanged(const TLibraryPage& page) {
    View(page)->Relayout();
}

void TLibraryPanel::SelectionChanged(const TLibraryPage& page) {
    View(page)->viewport()->update();
}

void TLibraryPanel::ShowPage(const TLibraryPage& page) {
    QTabWidget* pc = page.Set == TLibrarySet::New ? pcNew : pcOld;
    m_stack->setCurrentWidget(pc);
    pc->setCurrentIndex(page.Tab);
    (page.Set == TLibrarySet::New ? btnNewBauteile : btnOldBauteile)->setChecked(true);
}

void TLibraryPanel::ScrollToTile(const TLibraryPage& page, int index) {
    View(page)->ScrollToTile(index);
}

void TLibraryPanel::Message(TLibraryMessageKind kind, const std::string& text) {
    if (m_deferMessages > 0) {
        // During start-up the splash window stays on top and would hide a message box that
        // waits for an answer; the message comes once the event loop runs.
        QTimer::singleShot(0, this, [this, kind, text] { Message(kind, text); });
        return;
    }
    const QString title = QStringLiteral("Korvex designer");
    QWidget* parent = window();
    switch (kind) {
        case TLibraryMessageKind::Information:
            QMessageBox::information(parent, title, Q(text));
            break;
        case TLibraryMessageKind::Warning:
            QMessageBox::warning(parent, title, Q(text));
            break;
        case TLibraryMessageKind::Error:
            QMessageBox::critical(parent, title, Q(text));
            break;
    }
}

bool TLibraryPanel::AskYesNo(const std::string& question) {
    // The program's own question dialog: its caption and buttons follow the language setting.
    return kx::AskYesNo(question) == kAnswerYes;
}

std::optional<int32_t> TLibraryPanel::AskCollectionCount(int32_t initial) {
    return TdlgAddCollection::Ask(initial, window());
}

}  // namespace kx

#include "moc_f_Library.cpp"
