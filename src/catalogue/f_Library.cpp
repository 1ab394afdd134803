// The library panel: both sets of tabs with their tile views, the set buttons, the tile menu.
#include "catalogue/f_Library.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalogue/d_AddCollection.h"
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
    btnNewBauteile->setText(QStringLiteral("N"));
    btnOldBauteile->setText(QStringLiteral("A"));
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
    connect(menAddToCollection, &QAction::triggered, this,
            [this] { m_library.AddSelectedToCollection(); });
    connect(menEditInCollection, &QAction::triggered, this,
            [this] { m_library.EditSelectedCollectionTile(); });
    connect(menRemoveFromCollection, &QAction::triggered, this,
            [this] { m_library.RemoveSelectedCollectionTile(); });
    connect(menRemoveFavourite, &QAction::triggered, this,
            [this] { m_library.RemoveSelectedFavourite(); });
    connect(menFindInModel, &QAction::triggered, this, [this] { m_library.FindPartsInModel(); });

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

TLibraryFillResult TLibraryPanel::Fill(const TPartFiles& files, const TLibraryFillOptions& options,
                                       TFormSplash* splash) {
    Stack().Push("TLibraryPanel.Fill");
    m_icons.clear();
    TPanelFill port(*this, splash);
    return m_library.Fill(files, options, port);
}

bool TLibraryPanel::OpenLastCollection() {
    const std::string file = Param().GetLastCollectionFile();
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(fs::path(file), ec)) {
        return false;
    }
    return m_library.OpenCollection(fs::path(file));
}

QString TLibraryPanel::CollectionFilter() const {
    // The stored filter pairs captions and patterns with "|"; Qt wants "caption (patterns)".
    const QStringList parts =
        Main(LibraryText::CollectionFilter, "Sammlung (*.kxc)|*.kxc|Alle Dateien (*.*)|*.*")
            .split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        if (!caption.contains(QLatin1Char('('))) {
            caption += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        }
        filters << caption;
    }
    return filters.join(QStringLiteral(";;"));
}

void TLibraryPanel::NewCollectionCommand() {
    Stack().Push("TMainForm.menNewCollectionClick");
    m_library.NewCollection();
}

void TLibraryPanel::OpenCollectionCommand() {
    Stack().Push("TMainForm.menOpenCollectionClick");
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(), CollectionFilter(), nullptr, QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty() && m_library.OpenCollection(fs::path(file.toStdString()))) {
        m_library.ShowLibraryPage({TLibrarySet::New, CollectionTab});
    }
}

void TLibraryPanel::MergeCollectionCommand() {
    Stack().Push("TMainForm.menMergeCollectionClick");
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(), CollectionFilter(), nullptr, QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty()) {
        m_library.MergeCollection(fs::path(file.toStdString()));
    }
}

void TLibraryPanel::SaveCollectionCommand() {
    Stack().Push("TMainForm.menSaveCollectionClick");
    const QString file = QFileDialog::getSaveFileName(
        this, QString(), QString(), CollectionFilter(), nullptr, QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty()) {
        m_library.SaveCollection(fs::path(CollectionFileName(file.toStdString())));
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
                       menRemoveFavourite, menFindInModel}) {
        a->setEnabled(onTile);
    }
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
    return QMessageBox::question(window(), QStringLiteral("Korvex designer"), Q(question),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<int32_t> TLibraryPanel::AskCollectionCount(int32_t initial) {
    return TdlgAddCollection::Ask(initial, window());
}

}  // namespace kx
