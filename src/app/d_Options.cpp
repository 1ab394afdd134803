// The options dialog "Systemeinstellungen": the user's settings on four pages, read when shown
// and written on OK; the model files' association, which acts at once.
#include "app/d_Options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "generated/d_SelectLibrary.h"
#include "view/f_EditModes.h"
#include "view/f_viewer.h"

namespace kx {

namespace {

constexpr const char* kSection = "D_OPTIONS";

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

// The antialiasing list's items in order; the first two have language keys.
constexpr TAntialias kModes[] = {TAntialias::None, TAntialias::Default, TAntialias::x2,
                                 TAntialias::x2HQ, TAntialias::x4,      TAntialias::x4HQ};

QColor FromWin(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
uint32_t ToWin(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

}  // namespace

TdlgOptions::TdlgOptions(QWidget* parent, const QString& languageDir, TAssociationFolders folders)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_folders(std::move(folders)) {
    FormCreate(languageDir.isEmpty() ? QString::fromStdString(Param().ProgramDir) : languageDir);
}

void TdlgOptions::FormCreate(const QString& languageDir) {
    Stack().Push("TdlgOptions.FormCreate");
    setObjectName(QStringLiteral("dlgOptions"));
    setWindowTitle(Text(4, "Systemeinstellungen"));

    // The picture strip at the left.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgOptions"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    picture->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    picture->setFixedWidth(64);
    picture->setEnabled(false);

    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("pcOptions"));

    // "Allgemein"
    auto* general = new QWidget(Pages);
    general->setObjectName(QStringLiteral("tsAllgemein"));
    cbUsePython = new QCheckBox(Text(23, "Python-Skripte aktivieren"), general);
    cbUsePython->setObjectName(QStringLiteral("cbUsePython"));
    eCountFavourites = new QLineEdit(general);
    eCountFavourites->setObjectName(QStringLiteral("eCountFavourites"));
    eCountFavourites->setMaxLength(3);
    eCountFavourites->setFixedWidth(60);
    // Only digits are typed; a pasted or empty text still ends as a number on OK.
    eCountFavourites->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}")), eCountFavourites));
    auto* favourites = new QLabel(Text(24, "Maximale Anzahl von Favouriten"), general);
    favourites->setBuddy(eCountFavourites);
    cbCombineLibrary =
        new QCheckBox(Text(25, "Alte und neue Bauteil-Bibliotheken zusammenlegen"), general);
    cbCombineLibrary->setObjectName(QStringLiteral("cbCombineLibrary"));
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(cbUsePython);
    auto* favouritesRow = new QHBoxLayout;
    favouritesRow->addWidget(favourites);
    favouritesRow->addWidget(eCountFavourites);
    favouritesRow->addStretch();
    generalLayout->addLayout(favouritesRow);
    generalLayout->addWidget(cbCombineLibrary);
    generalLayout->addStretch();

    // "3D-Fenster"
    auto* view = new QWidget(Pages);
    view->setObjectName(QStringLiteral("ts3DFenster"));
    lblBackgroundColor3D = new QLabel(view);
    lblBackgroundColor3D->setObjectName(QStringLiteral("lblBackgroundColor3D"));
    lblBackgroundColor3D->setFixedSize(60, 20);
    lblBackgroundColor3D->setFrameShape(QFrame::Box);
    lblBackgroundColor3D->setAutoFillBackground(true);
    btnBackgroundColor = new QPushButton(QStringLiteral("..."), view);
    btnBackgroundColor->setObjectName(QStringLiteral("btnBackgroundColor"));
    btnBackgroundColor->setFixedWidth(30);
    btnBackgroundColor->setAutoDefault(false);
    cbAntiAlias = new QComboBox(view);
    cbAntiAlias->setObjectName(QStringLiteral("cbAntiAlias"));
    cbAntiAlias->addItems({Text(9, "Aus"), Text(10, "Standard"), QStringLiteral("2x"),
                           QStringLiteral("2x HQ"), QStringLiteral("4x"), QStringLiteral("4x HQ")});
    cbPaintOldWhite =
        new QCheckBox(Text(11, "Bauteile aus älteren Bauphasen weiß darstellen"), view);
    cbPaintOldWhite->setObjectName(QStringLiteral("cbPaintOldWhite"));
    cbHideOtherStages =
        new QCheckBox(Text(12, "Nur Bauteile bis zur aktuellen Bauphase darstellen"), view);
    cbHideOtherStages->setObjectName(QStringLiteral("cbHideOtherStages"));
    auto* grid = new QGroupBox(Text(26, "Raster"), view);
    rGrid10mm = new QRadioButton(QStringLiteral("10mm"), grid);
    rGrid10mm->setObjectName(QStringLiteral("rGrid10mm"));
    rGrid15mm = new QRadioButton(QStringLiteral("15mm"), grid);
    rGrid15mm->setObjectName(QStringLiteral("rGrid15mm"));
    auto* gridLayout = new QHBoxLayout(grid);
    gridLayout->addWidget(rGrid10mm);
    gridLayout->addWidget(rGrid15mm);
    gridLayout->addStretch();
    tbOutlineWidth = new QSlider(Qt::Horizontal, view);
    tbOutlineWidth->setObjectName(QStringLiteral("tbOutlineWidth"));
    tbOutlineWidth->setRange(1, 10);
    tbOutlineWidth->setTickPosition(QSlider::TicksBelow);
    tbOutlineWidth->setPageStep(1);
    lblOutlineWidthPixel = new QLabel(view);
    lblOutlineWidthPixel->setObjectName(QStringLiteral("lblOutlineWidthPixel"));
    lblOutlineWidthPixel->setMinimumWidth(60);
    cbOutlineModeAtStart =
        new QCheckBox(Text(29, "Bauteilkanten-Modus beim Start aktivieren"), view);
    cbOutlineModeAtStart->setObjectName(QStringLiteral("cbOutlineModeAtStart"));
    auto* viewForm = new QFormLayout;
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(lblBackgroundColor3D);
    colourRow->addWidget(btnBackgroundColor);
    colourRow->addStretch();
    viewForm->addRow(Text(7, "Hintergrundfarbe"), colourRow);
    viewForm->addRow(Text(8, "Kantenglättung"), cbAntiAlias);
    auto* viewLayout = new QVBoxLayout(view);
    viewLayout->addLayout(viewForm);
    viewLayout->addWidget(cbPaintOldWhite);
    viewLayout->addWidget(cbHideOtherStages);
    viewLayout->addWidget(grid);
    auto* outline = new QGroupBox(Text(27, "Linienstärke für Bauteilkanten"), view);
    auto* outlineLayout = new QHBoxLayout(outline);
    outlineLayout->addWidget(tbOutlineWidth, 1);
    outlineLayout->addWidget(lblOutlineWidthPixel);
    viewLayout->addWidget(outline);
    viewLayout->addWidget(cbOutlineModeAtStart);
    viewLayout->addStretch();

    // "Sprache"
    auto* language = new QWidget(Pages);
    language->setObjectName(QStringLiteral("tsSprache"));
    lbSprachen = new QListWidget(language);
    lbSprachen->setObjectName(QStringLiteral("lbSprachen"));
    auto* languagePicture = new QLabel(language);
    languagePicture->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    languagePicture->setAlignment(Qt::AlignTop);
    auto* languageLayout = new QHBoxLayout(language);
    languageLayout->addWidget(lbSprachen, 1);
    languageLayout->addWidget(languagePicture);

    // "Programmverknüpfungen"
    auto* links = new QWidget(Pages);
    links->setObjectName(QStringLiteral("tsVerknuepfungen"));
    auto* linkCaption = new QLabel(Text(13, "*.kxm Dateien sind derzeit verknüpft mit:"), links);
    lblLinkDatei = new QLabel(links);
    lblLinkDatei->setObjectName(QStringLiteral("lblLinkDatei"));
    lblLinkDatei->setWordWrap(true);
    lblLinkDatei->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cbLinkKxm = new QCheckBox(
        Text(30, "*.kxm-Dateien mit Korvex designer öffnen (für diesen Benutzer)"), links);
    cbLinkKxm->setObjectName(QStringLiteral("cbLinkKxm"));
    auto* linksLayout = new QVBoxLayout(links);
    linksLayout->addWidget(linkCaption);
    linksLayout->addWidget(lblLinkDatei);
    linksLayout->addSpacing(12);
    linksLayout->addWidget(cbLinkKxm);
    linksLayout->addStretch();

    Pages->addTab(general, Text(22, "Allgemein"));
    Pages->addTab(view, Text(5, "3D-Fenster"));
    Pages->addTab(language, Text(6, "Sprache"));
    Pages->addTab(links, Text(15, "Programmverknüpfungen"));
    Pages->setCurrentIndex(0);

    btnOK = new QPushButton(Text(2, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Text(1, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    btnHelp = new QPushButton(Text(3, "Hilfe"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    bottom->addWidget(btnHelp);
    auto* middle = new QHBoxLayout;
    middle->addWidget(picture);
    middle->addWidget(Pages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    // Every *.lng file offers its language, in name order.
    const QStringList files =
        QDir(languageDir).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    const QString current = QString::fromStdString(Param().GetLanguage());
    m_checking = true;
    for (const QString& file : files) {
        auto* item = new QListWidgetItem(file.left(file.size() - 4), lbSprachen);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(item->text().toUpper() == current ? Qt::Checked : Qt::Unchecked);
    }
    m_checking = false;

    connect(btnOK, &QPushButton::clicked, this, &TdlgOptions::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelp(this, kHelpContext); });
    connect(btnBackgroundColor, &QPushButton::clicked, this, &TdlgOptions::btnBackgroundColorClick);
    connect(lbSprachen, &QListWidget::itemChanged, this, &TdlgOptions::lbSprachenItemChanged);
    connect(tbOutlineWidth, &QSlider::valueChanged, this, &TdlgOptions::tbOutlineWidthChange);
    connect(cbLinkKxm, &QCheckBox::clicked, this, &TdlgOptions::cbLinkKxmClick);

    ApplyFormStyle(this);
    SetHelpContext(this, kHelpContext);
    setFixedSize(574, 374);
}

void TdlgOptions::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TdlgOptions::FormShow() {
    Stack().Push("TdlgOptions.FormShow");
    TkxParam& p = Param();
    SetSwatch(p.GetBackgroundColor3D());
    const TAntialias mode = p.GetAntialias();
    int index = 0;
    for (int i = 0; i < 6; ++i) {
        if (kModes[i] == mode) {
            index = i;
        }
    }
    cbAntiAlias->setCurrentIndex(index);
    cbPaintOldWhite->setChecked(p.GetPaintOldWhite());
    cbHideOtherStages->setChecked(p.GetHideOtherStages());
    cbUsePython->setChecked(p.GetUsePython());
    cbCombineLibrary->setChecked(p.GetCombineLibrary());
    cbOutlineModeAtStart->setChecked(p.GetOutlineModeAtStart());
    ShowAssociation();
    eCountFavourites->setText(QString::number(p.GetCountFavourites()));
    (p.GetGridDistance() == 10 ? rGrid10mm : rGrid15mm)->setChecked(true);
    tbOutlineWidth->setValue(p.GetOutlineWidth());  // the slider keeps it within 1-10
    tbOutlineWidthChange();
    // The school library has no page here; OK writes these back as they are now.
    m_lpeMode = p.GetLpeMode();
    for (int n = 1; n <= 4; ++n) {
        m_lpeBoxes[size_t(n - 1)] = p.GetLpeBox(n);
    }
}

void TdlgOptions::SetSwatch(uint32_t colour) {
    m_background = colour;
    QPalette pal = lblBackgroundColor3D->palette();
    pal.setColor(QPalette::Window, FromWin(ResolveColorCode(colour, palette())));
    lblBackgroundColor3D->setPalette(pal);
}

void TdlgOptions::btnBackgroundColorClick() {
    Stack().Push("TdlgOptions.btnBackgroundColorClick");
    std::optional<uint32_t> chosen;
    const uint32_t current = ResolveColorCode(m_background, palette());
    if (ChooseColor) {
        chosen = ChooseColor(current);
    } else {
        LoadCustomColors();
        const QColor c = QColorDialog::getColor(FromWin(current), this);
        // The dialog's own colours are kept whether it was confirmed or not.
        StoreCustomColors();
        if (c.isValid()) {
            chosen = ToWin(c);
        }
    }
    if (chosen) {
        SetSwatch(*chosen);
    }
}

void TdlgOptions::lbSprachenItemChanged(QListWidgetItem* item) {
    if (m_checking) {
        return;
    }
    m_checking = true;
    if (item->checkState() == Qt::Checked) {
        for (int i = 0; i < lbSprachen->count(); ++i) {
            if (lbSprachen->item(i) != item) {
                lbSprachen->item(i)->setCheckState(Qt::Unchecked);
            }
        }
    } else {
        // The one language in use cannot be unticked; tick another to change it.
        item->setCheckState(Qt::Checked);
    }
    m_checking = false;
}

void TdlgOptions::tbOutlineWidthChange() {
    lblOutlineWidthPixel->setText(QString::number(tbOutlineWidth->value()) + QLatin1Char(' ') +
                                  Text(28, "Point"));
}

void TdlgOptions::ShowAssociation() {
    const QString program = QString::fromStdString(AssociatedProgram(m_folders));
    lblLinkDatei->setText(program.isEmpty() ? Text(33, "(keinem Programm)") : program);
    const QSignalBlocker block(cbLinkKxm);
    cbLinkKxm->setChecked(UserAssociationInstalled(m_folders));
}

void TdlgOptions::cbLinkKxmClick(bool on) {
    Stack().Push("TdlgOptions.cbLinkKxmClick", on);
    const TAssociationResult result =
        on ? InstallUserAssociation(m_folders,
                                    QCoreApplication::applicationFilePath().toStdString(),
                                    "korvex-designer")
           : RemoveUserAssociation(m_folders);
    if (result.Ok) {
        // The desktop's caches learn of the new files; without the tools the files still
        // count wherever the desktop reads its folders directly.
        const auto refresh = [](const QString& tool, const std::filesystem::path& dir) {
            const QString program = QStandardPaths::findExecutable(tool);
            if (!program.isEmpty()) {
                QProcess tool;
                tool.setStandardOutputFile(QProcess::nullDevice());
                tool.setStandardErrorFile(QProcess::nullDevice());
                tool.start(program, {QString::fromStdString(dir.string())});
                tool.waitForFinished(10000);
            }
        };
        refresh(QStringLiteral("update-mime-database"), m_folders.DataHome / "mime");
        refresh(QStringLiteral("update-desktop-database"), m_folders.DataHome / "applications");
        Tell(on ? Text(16, "Die Verknüpfung wurde erfolgreich eingerichtet")
                : Text(31, "Die Verknüpfung wurde entfernt."));
    } else {
        Tell((on ? Text(17, "Die Verknüpfung konnte nicht erstellt werden.")
                 : Text(32, "Die Verknüpfung konnte nicht entfernt werden.")) +
             QStringLiteral("\n") + QString::fromStdString(result.Error));
    }
    ShowAssociation();
}

void TdlgOptions::Tell(const QString& text) {
    if (Inform) {
        Inform(text);
    } else {
        QMessageBox::information(this, windowTitle(), text);
    }
}

void TdlgOptions::btnOKClick() {
    Stack().Push("TdlgOptions.btnOKClick");
    TkxParam& p = Param();
    p.SetBackgroundColor3D(m_background);
    for (int i = 0; i < lbSprachen->count(); ++i) {
        if (lbSprachen->item(i)->checkState() == Qt::Checked) {
            p.SetLanguage(lbSprachen->item(i)->text().toUpper().toStdString());
        }
    }
    p.SetAntialias(kModes[std::clamp(cbAntiAlias->currentIndex(), 0, 5)]);
    p.SetPaintOldWhite(cbPaintOldWhite->isChecked());
    p.SetHideOtherStages(cbHideOtherStages->isChecked());
    p.SetLpeMode(m_lpeMode);
    for (int n = 1; n <= 4; ++n) {
        p.SetLpeBox(n, m_lpeBoxes[size_t(n - 1)]);
    }
    // All boxes off becomes box 1, and the library file follows; a file that cannot be
    // written is reported there and the other settings are still stored.
    WriteUserBibFromSettings(this);
    p.SetUsePython(cbUsePython->isChecked());
    bool ok = false;
    const int favourites = eCountFavourites->text().toInt(&ok);
    p.SetCountFavourites(ok ? favourites : 8);
    p.SetCombineLibrary(cbCombineLibrary->isChecked());
    p.SetGridDistance(rGrid10mm->isChecked() ? 10 : 15);
    p.SetOutlineWidth(tbOutlineWidth->value());
    p.SetOutlineModeAtStart(cbOutlineModeAtStart->isChecked());
    accept();
}

}  // namespace kx

#include "moc_d_Options.cpp"
