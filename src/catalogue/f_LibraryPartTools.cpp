// The library panel's part package commands and the maintainers' commands on the actual part.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QProcess>
#include <cstdlib>
#include <stdexcept>

#include "app/u_formstyle.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_defObj.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_partpackage.h"
#include "catalogue/u_profilegen.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/u_partslist.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

QString Main(int key, const char* def) {
    return QString::fromStdString(Language().GetText("MAIN", key, def));
}

std::string Pkg(int key, const char* def) {
    return Language().GetText("PARTPACKAGE", key, def);
}

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string FillIn(std::string text, std::string_view value) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

/// The icon list of the panel for a single part shown after the fill.
class TIconsOnly : public TLibraryFillPort {
public:
    explicit TIconsOnly(TLibraryPanel& panel) : m_panel(panel) {}
    void FillStart(const std::string&, int) override {}
    void FillProgress(int) override {}
    int LoadIcon(const fs::path& file) override { return m_panel.LoadIcon(file); }

private:
    TLibraryPanel& m_panel;
};

}  // namespace

void TLibraryPanel::BuildPartToolItems() {
    // The export is for everyone: it joins the items above the maintainers' line.
    menExportPart = new QAction(m_tileMenu);
    m_tileMenu->insertAction(m_developerLine, menExportPart);
    menExportPart->setObjectName(QStringLiteral("menExportPart"));
    connect(menExportPart, &QAction::triggered, this, [this] { ExportPartCommand(); });

    auto add = [this](QAction*& action, const char* name, void (TLibraryPanel::*command)()) {
        action = m_tileMenu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    };
    add(menEditPart, "menEditPart", &TLibraryPanel::EditPartCommand);
    add(menUploadPart, "menUploadPart", &TLibraryPanel::UploadPartCommand);
    add(menWriteVersion, "menWriteVersion", &TLibraryPanel::WriteVersionCommand);
    add(menPartNamesInClipboard, "menPartNamesInClipboard",
        &TLibraryPanel::PartNamesToClipboardCommand);
    add(menIncVersionsnummer, "menIncVersionsnummer", &TLibraryPanel::PublishRevisionCommand);
    menDefGenerator = m_tileMenu->addMenu(QString());
    menDefGenerator->setObjectName(QStringLiteral("menDefGenerator"));
    menProfileGenerator = menDefGenerator->addAction(QString());
    menProfileGenerator->setObjectName(QStringLiteral("menProfileGenerator"));
    connect(menProfileGenerator, &QAction::triggered, this, [this] { ProfileGeneratorCommand(); });
    add(menDefmaker, "menDefmaker", &TLibraryPanel::DefmakerCommand);
    add(menOpenInBlender, "menOpenInBlender", &TLibraryPanel::BlenderCommand);
    menCloseMenu = m_tileMenu->addAction(QString());
    menCloseMenu->setObjectName(QStringLiteral("menCloseMenu"));
    connect(menCloseMenu, &QAction::triggered, m_tileMenu, &QMenu::close);
    // Disabled items say why in their tooltip.
    m_tileMenu->setToolTipsVisible(true);
    // The server settings may have changed since the menu was last open.
    connect(m_tileMenu, &QMenu::aboutToShow, this, [this] { UpdatePartToolStates(); });
}

void TLibraryPanel::PartToolLanguage() {
    menExportPart->setText(Main(LibraryText::ExportPart, "Bauteil exportieren (.part)"));
    menEditPart->setText(Main(LibraryText::EditPart, "Bauteil bearbeiten (Texteditor)"));
    menUploadPart->setText(Main(LibraryText::UploadPart, "Bauteil upload (ftp)"));
    menWriteVersion->setText(Main(LibraryText::WriteVersion, "Versionsnummer online schreiben"));
    menPartNamesInClipboard->setText(
        Main(LibraryText::PartNamesInClipboard, "Bauteilnamen in Clipboard"));
    menIncVersionsnummer->setText(
        Main(LibraryText::IncVersion, "Versionsnummer erhöhen und veröffentlichen"));
    menDefGenerator->setTitle(Main(LibraryText::DefGenerator, "DefGenerator"));
    menProfileGenerator->setText(Main(LibraryText::ProfileGenerator, "Alu-Nutprofil"));
    menDefmaker->setText(Main(LibraryText::Defmaker, "Defmaker"));
    menOpenInBlender->setText(Main(LibraryText::Blender, "Blender"));
    menCloseMenu->setText(Main(LibraryText::CloseMenu, "Schliessen"));
    UpdatePartToolStates();
}

void TLibraryPanel::UpdatePartToolStates() {
    const bool hasDefmaker =
        m_files && DefmakerLaunch(TOutsidePrograms::Current(m_files->UserDir()).Defmaker, "x");
    menDefmaker->setEnabled(hasDefmaker);
    menDefmaker->setToolTip(hasDefmaker ? QString()
                                        : Main(LibraryText::NoDefmaker,
                                               "Kein Befehl für den Definitions-Editor "
                                               "eingestellt (Einstellung DEFMAKERCOMMAND)"));
    const bool online = m_uploadPort && m_uploadPort->Ready();
    for (QAction* a : {menUploadPart, menWriteVersion, menIncVersionsnummer}) {
        a->setEnabled(online || (a == menUploadPart && m_uploadCommand));
        a->setToolTip(a->isEnabled() ? QString()
                                     : Main(LibraryText::NoServer,
                                            "Keine Verbindung zum Server eingerichtet"));
    }
}

void TLibraryPanel::SetUploadPort(TPartUploadPort* port) {
    m_uploadPort = port;
    UpdatePartToolStates();
}

void TLibraryPanel::SetUploadCommand(std::function<void(const std::string& number)> upload) {
    m_uploadCommand = std::move(upload);
    UpdatePartToolStates();
}

QString TLibraryPanel::PackageFilter() const {
    return QtFileFilter(
        Main(LibraryText::PackageFilter, "Bauteil (*.part)|*.part|Alle Dateien (*.*)|*.*"));
}

QString TLibraryPanel::ChoosePackageFile(bool save, const QString& proposed) {
    if (PackageFileChooser) {
        return PackageFileChooser(save, proposed);
    }
    return save ? QFileDialog::getSaveFileName(window(), QString(), proposed, PackageFilter())
                : QFileDialog::getOpenFileName(window(), QString(), QString(), PackageFilter());
}

std::optional<QString> TLibraryPanel::AskProfileLength() {
    bool ok = false;
    const QString text =
        QInputDialog::getText(window(), Q(Pkg(16, "Länge des Profils")), Q(Pkg(17, "Länge in mm")),
                              QLineEdit::Normal, QStringLiteral("0"), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

bool TLibraryPanel::StartProgram(const TLaunch& launch) {
    QStringList args;
    for (const std::string& a : launch.Args) {
        args << Q(a);
    }
    return QProcess::startDetached(Q(launch.Program), args);
}

void TLibraryPanel::Launch(const TLaunch& launch) {
    if (!StartProgram(launch)) {
        Message(TLibraryMessageKind::Warning,
                FillIn(Pkg(15, "Das Programm %s konnte nicht gestartet werden."), launch.Program));
    }
}

// --- Part packages ----------------------------------------------------------------------------

void TLibraryPanel::ExportPartCommand() {
    Stack().Push("TMainForm.menExportPartClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    const QString chosen = ChoosePackageFile(true, Q(number + ".Part"));
    if (chosen.isEmpty()) {
        return;
    }
    const TPartExportResult r =
        ExportPart(*m_files, number, fs::path(PartPackageFileName(chosen.toStdString())));
    switch (r.Status) {
        case TExportStatus::Done:
            Message(TLibraryMessageKind::Information,
                    Language().GetText("MAINOBJ", 18, "Das Bauteil wurde erfolgreich exportiert"));
            break;
        case TExportStatus::MissingFile:
            // A part whose files are incomplete is a fault of the installation, not of the user.
            throw std::runtime_error("ExportPart " + number + ": " + r.Detail);
        case TExportStatus::NotWritten:
            Message(
                TLibraryMessageKind::Error,
                Language().GetText("MAINOBJ", 30, "Das Bauteil konnte nicht exportiert werden") +
                    "\n" + r.Detail);
            break;
    }
}

void TLibraryPanel::ImportPackageCommand() {
    Stack().Push("TMainForm.menImportPartClick");
    const QString file = ChoosePackageFile(false, QString());
    if (!file.isEmpty()) {
        ImportPackageFile(file);
    }
}

bool TLibraryPanel::ImportPackageFile(const QString& file) {
    if (!m_files) {
        return false;
    }
    const TImportPackageResult r =
        ImportPart(*m_files, fs::path(file.toStdString()),
                   [this](const std::string& question) { return AskYesNo(question); });
    switch (r.Status) {
        case TImportStatus::Cancelled:
            return false;
        case TImportStatus::Refused:
        case TImportStatus::Failed:
            Message(TLibraryMessageKind::Warning, r.Message);
            return false;
        case TImportStatus::Imported:
            break;
    }
    TIconsOnly icons(*this);
    if (m_library.ShowPart(*m_files, r.Number, CurrentCatalogueSettings(), icons)) {
        if (const TBibData* e = m_library.FindEntry(r.Number)) {
            m_library.ShowLibraryPage(e->Page);
            const auto& items = m_library.Page(e->Page).Items;
            for (size_t i = 0; i < items.size(); ++i) {
                if (SameText(items[i].Number(), r.Number)) {
                    m_library.SelectTile(e->Page, static_cast<int>(i));
                    ScrollToTile(e->Page, static_cast<int>(i));
                    break;
                }
            }
        }
    }
    m_library.RefreshCollection();
    Message(TLibraryMessageKind::Information, r.Message);
    return true;
}

// --- Maintainer commands ----------------------------------------------------------------------

void TLibraryPanel::EditPartCommand() {
    Stack().Push("TMainForm.menEditPartClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    const fs::path def =
        m_files->FindDef(number).value_or(m_files->UserPath("def", number + ".def"));
    const char* visual = std::getenv("VISUAL");
    const char* editor = std::getenv("EDITOR");
    Launch(TextEditorLaunch(TOutsidePrograms::Current(m_files->UserDir()).Editor,
                            visual ? visual : "", editor ? editor : "", def));
}

void TLibraryPanel::DefmakerCommand() {
    Stack().Push("TMainForm.menDefmakerClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    if (const auto launch =
            DefmakerLaunch(TOutsidePrograms::Current(m_files->UserDir()).Defmaker, number)) {
        Launch(*launch);
    }
}

void TLibraryPanel::BlenderCommand() {
    Stack().Push("TMainForm.menOpenInBlenderClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    const TOutsidePrograms programs = TOutsidePrograms::Current(m_files->UserDir());
    Launch(BlenderLaunch(programs.Blender, programs.BlenderFolder, number));
}

void TLibraryPanel::PartNamesToClipboardCommand() {
    Stack().Push("TMainForm.menPartNamesInClipboardClick");
    // The tab's numbers as lines of a render script, for the picture tools.
    std::vector<std::string> numbers;
    for (const TSnapViewItem& tile : m_library.Page(m_library.ActivePage()).Items) {
        numbers.push_back(tile.Number());
    }
    QApplication::clipboard()->setText(QString::fromStdString(TileNamesText(numbers)));
}

void TLibraryPanel::UploadPartCommand() {
    Stack().Push("TMainForm.menUploadPartClick");
    const std::string number = GetActualPartNumber();
    if (m_uploadCommand && !number.empty()) {
        m_uploadCommand(number);
        return;
    }
    if (!m_files || number.empty() || !m_uploadPort) {
        return;
    }
    const TPublishResult r = UploadPart(*m_files, number, *m_uploadPort);
    Message(r.Ok ? TLibraryMessageKind::Information : TLibraryMessageKind::Warning, r.Message);
}

void TLibraryPanel::WriteVersionCommand() {
    Stack().Push("TMainForm.menWriteVersionClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty() || !m_uploadPort) {
        return;
    }
    const TPublishResult r = WritePartVersion(*m_files, number, *m_uploadPort);
    Message(r.Ok ? TLibraryMessageKind::Information : TLibraryMessageKind::Warning, r.Message);
}

void TLibraryPanel::PublishRevisionCommand() {
    Stack().Push("TMainForm.menIncVersionsnummerClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty() || !m_uploadPort) {
        return;
    }
    const TPublishResult r = PublishPartRevision(*m_files, number, *m_uploadPort);
    Message(r.Ok ? TLibraryMessageKind::Information : TLibraryMessageKind::Warning, r.Message);
}

void TLibraryPanel::ProfileGeneratorCommand() {
    Stack().Push("TMainForm.menDefGeneratorClick");
    const std::string number = GetActualPartNumber();
    if (!m_files || number.empty()) {
        return;
    }
    const std::optional<QString> text = AskProfileLength();
    if (!text) {
        return;
    }
    const std::optional<int32_t> length = ProfileLength(text->toStdString());
    if (!length) {
        return;
    }
    if (!WriteProfileDefinition(*m_files, number, *length)) {
        Message(TLibraryMessageKind::Warning,
                Pkg(19, "Die Definition konnte nicht geschrieben werden."));
        return;
    }
    TIconsOnly icons(*this);
    m_library.ShowPart(*m_files, number, CurrentCatalogueSettings(), icons);
    Message(TLibraryMessageKind::Information, Pkg(18, "Fertig"));
}

}  // namespace kx
