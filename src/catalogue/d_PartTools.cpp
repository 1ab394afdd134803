// Maintainer dialogs of the library: copy a part, import a part from elsewhere, edit the order.
#include "catalogue/d_PartTools.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {
QString T(const char* section, int key, const char* def) {
    return QString::fromStdString(Language().GetText(section, key, def));
}
QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

// --- Copy ------------------------------------------------------------------------------------

TdlgCopyPart::TdlgCopyPart(TPartFiles& files, const std::string& source, TLibraryView& view,
                           QWidget* parent)
    : QDialog(parent), m_files(files), m_source(source), m_view(view) {
    Stack().Push("TdlgCopyPart.FormCreate", source);
    setWindowTitle(T("D_COPYPART", 1, "Bauteil kopieren"));
    auto* lblSource = new QLabel(Q(source), this);
    eTarget = new QLineEdit(this);
    eTarget->setObjectName(QStringLiteral("eTarget"));
    eTarget->setMaxLength(5);
    // Numbers become file names: letters, digits and a few marks only, shown in upper case.
    eTarget->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9_\\-]*")), eTarget));
    connect(eTarget, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = eTarget->cursorPosition();
        eTarget->setText(text.toUpper());
        eTarget->setCursorPosition(cursor);
    });
    cbGroup = new QComboBox(this);
    for (const std::string& name : CopyPartCategories()) {
        cbGroup->addItem(Q(name));
    }
    cbColour = new QComboBox(this);
    for (const TCopyPartColour& c : CopyPartColours()) {
        QPixmap swatch(14, 14);
        swatch.fill(QColor(c.Red, c.Green, c.Blue));
        cbColour->addItem(QIcon(swatch), Q(c.Name));
    }
    btnOK = new QPushButton(T("D_COPYPART", 6, "OK"), this);
    btnCancel = new QPushButton(T("D_COPYPART", 7, "Abbrechen"), this);
    btnOK->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(T("D_COPYPART", 2, "Quelle:"), lblSource);
    form->addRow(T("D_COPYPART", 3, "Neue Bauteilnummer:"), eTarget);
    form->addRow(T("D_COPYPART", 4, "Kategorie:"), cbGroup);
    form->addRow(T("D_COPYPART", 5, "Farbe:"), cbColour);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    connect(btnOK, &QPushButton::clicked, this, &TdlgCopyPart::Execute);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgCopyPart::Execute() {
    const std::string target = UpperCase(Trim(eTarget->text().toStdString()));
    if (target.empty()) {
        eTarget->setFocus();
        return;
    }
    const auto colours = CopyPartColours();
    const TCopyPartColour& c =
        colours.at(static_cast<size_t>(std::max(0, cbColour->currentIndex())));
    switch (CopyPart(m_files, m_source, target, std::max(0, cbGroup->currentIndex()), c.Red,
                     c.Green, c.Blue)) {
        case TCopyPartResult::Done:
            m_view.Message(TLibraryMessageKind::Information,
                           Language().GetText("MAINOBJ", 29, "OK"));
            accept();
            break;
        case TCopyPartResult::NumberTaken:
            m_view.Message(
                TLibraryMessageKind::Information,
                Language().GetText("D_COPYPART", 8, "Die Bauteilnummer ist bereits vergeben"));
            break;
        case TCopyPartResult::NoSource:
        case TCopyPartResult::Failed:
            m_view.Message(
                TLibraryMessageKind::Warning,
                Language().GetText("D_COPYPART", 9, "Das Bauteil konnte nicht kopiert werden."));
            break;
    }
}

// --- Import ----------------------------------------------------------------------------------

TdlgImportPart::TdlgImportPart(TPartFiles& files, const std::filesystem::path& defFile,
                               const std::string& newNumber, TLibraryView& view, QWidget* parent)
    : QDialog(parent), m_files(files), m_view(view) {
    Stack().Push("TdlgImportPart.FormCreate", defFile.string(), newNumber);
    setWindowTitle(T("D_IMPORTPART", 1, "Bauteil importieren"));
    m_plan = PlanImport(files, defFile, newNumber);
    lvFiles = new QTreeWidget(this);
    lvFiles->setRootIsDecorated(false);
    lvFiles->setHeaderLabels({T("D_IMPORTPART", 2, "Quelle"), T("D_IMPORTPART", 3, "Ziel"),
                              T("D_IMPORTPART", 4, "Vorhanden")});
    const QString yes = T("D_IMPORTPART", 5, "ja");
    const QString no = T("D_IMPORTPART", 6, "nein");
    for (const TImportFile& f : m_plan) {
        auto* item = new QTreeWidgetItem(lvFiles);
        item->setText(0, QString::fromStdString(f.Source.string()));
        item->setText(1, QString::fromStdString(f.Target.string()));
        item->setText(2, f.SourceExists ? yes : no);
    }
    lvFiles->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    btnExecute = new QPushButton(T("D_IMPORTPART", 7, "Ausführen"), this);
    btnClose = new QPushButton(T("D_IMPORTPART", 8, "Schließen"), this);
    btnExecute->setEnabled(!m_plan.empty() && m_plan.front().SourceExists);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnExecute);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvFiles);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    resize(720, 260);
    connect(btnExecute, &QPushButton::clicked, this, &TdlgImportPart::Execute);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

TImportResult TdlgImportPart::Execute() {
    std::string error;
    const TImportResult result = ExecuteImport(m_plan, m_files, m_view, &error);
    if (result == TImportResult::Done) {
        accept();
    } else if (result == TImportResult::Failed) {
        m_view.Message(
            TLibraryMessageKind::Warning,
            Language().GetText("D_IMPORTPART", 9, "Das Bauteil konnte nicht importiert werden: ") +
                error);
    }
    return result;
}

// --- Sort order ------------------------------------------------------------------------------

TdlgEditSort::TdlgEditSort(TPartFiles& files, const TSnapViewData& tiles,
                           const std::vector<QPixmap>& icons, QWidget* parent)
    : QDialog(parent), m_files(files) {
    Stack().Push("TdlgEditSort.FormCreate");
    setWindowTitle(T("D_EDITSORT", 1, "Sortierung bearbeiten"));
    lbParts = new QListWidget(this);
    lbParts->setDragDropMode(QAbstractItemView::InternalMove);
    lbParts->setDefaultDropAction(Qt::MoveAction);
    lbParts->setIconSize(QSize(IconSize / 2, IconSize / 2));
    for (const TSnapViewItem& tile : tiles.Items) {
        auto* item = new QListWidgetItem(lbParts);
        const std::string number = tile.Number();
        item->setText(Q(number) + QStringLiteral("  ") + Q(tile.Hint));
        item->setData(Qt::UserRole, Q(number));
        const int image = tile.ImageIndex();
        if (image >= 0 && image < static_cast<int>(icons.size())) {
            item->setIcon(QIcon(icons[static_cast<size_t>(image)]));
        }
    }
    btnSave = new QPushButton(T("D_EDITSORT", 2, "Speichern"), this);
    btnClose = new QPushButton(T("D_EDITSORT", 3, "Schließen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbParts);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    resize(360, 480);
    connect(btnSave, &QPushButton::clicked, this, [this] {
        if (Save()) {
            accept();
        }
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<std::string> TdlgEditSort::Numbers() const {
    std::vector<std::string> numbers;
    for (int i = 0; i < lbParts->count(); ++i) {
        numbers.push_back(lbParts->item(i)->data(Qt::UserRole).toString().toStdString());
    }
    return numbers;
}

bool TdlgEditSort::Save() {
    return SaveSortOrder(m_files, Numbers());
}

}  // namespace kx

#include "moc_d_PartTools.cpp"
