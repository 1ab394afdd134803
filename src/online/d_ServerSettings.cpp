// The dialog "Bibliotheksserver": where the library server and its FTP server are, the
// maintainers' accounts and pass phrase, and how long to wait for them.
#include "online/d_ServerSettings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/historybox.h"
#include "online/u_TWebRemote.h"
#include "online/webtask.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_SERVERSETTINGS";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

QLineEdit* Field(const std::string& text, QWidget* parent, const char* name, bool secret) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (secret) {
        edit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    }
    edit->setMinimumWidth(260);
    return edit;
}

QSpinBox* Seconds(int value, QWidget* parent, const char* name) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(1, 3600);
    spin->setValue(value);
    spin->setSuffix(T(15, " s"));
    return spin;
}
}  // namespace

TdlgServerSettings::TdlgServerSettings(const TWebSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName(QStringLiteral("dlgServerSettings"));
    Stack().Push("TdlgServerSettings.FormCreate");
    setWindowTitle(T(1, "Bibliotheksserver"));

    auto* server = new QGroupBox(T(2, "Server"), this);
    auto* serverForm = new QFormLayout(server);
    m_baseUrl = Field(settings.BaseUrl, server, "edtBaseUrl", false);
    m_baseUrl->setPlaceholderText(QStringLiteral("https://bibliothek.example.org"));
    serverForm->addRow(T(3, "Adresse (URL):"), m_baseUrl);
    m_connectTimeout = Seconds(settings.ConnectTimeout, server, "spnConnectTimeout");
    serverForm->addRow(T(4, "Verbindungsaufbau höchstens:"), m_connectTimeout);
    m_totalTimeout = Seconds(settings.TotalTimeout, server, "spnTotalTimeout");
    serverForm->addRow(T(5, "Anfrage höchstens:"), m_totalTimeout);

    auto* maintainers = new QGroupBox(T(6, "Nur für Betreuer der Bibliothek"), this);
    auto* form = new QFormLayout(maintainers);
    m_ftpServer = Field(settings.FtpServer, maintainers, "edtFtpServer", false);
    form->addRow(T(7, "FTP-Server:"), m_ftpServer);
    m_partsUser = Field(settings.PartsFtp.User, maintainers, "edtPartsUser", false);
    form->addRow(T(8, "Konto für Bauteile:"), m_partsUser);
    m_partsPassword = Field(settings.PartsFtp.Password, maintainers, "edtPartsPassword", true);
    form->addRow(T(9, "Kennwort:"), m_partsPassword);
    m_libraryUser = Field(settings.LibraryFtp.User, maintainers, "edtLibraryUser", false);
    form->addRow(T(10, "Konto für die Modellbibliothek:"), m_libraryUser);
    m_libraryPassword =
        Field(settings.LibraryFtp.Password, maintainers, "edtLibraryPassword", true);
    form->addRow(T(9, "Kennwort:"), m_libraryPassword);
    m_passPhrase = Field(settings.PassPhrase, maintainers, "edtPassPhrase", true);
    form->addRow(T(11, "Passphrase für Versionsnummern:"), m_passPhrase);

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblTestResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(T(12, "OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(T(13, "Abbrechen"));
    auto* test = buttons->addButton(T(14, "Verbindung testen"), QDialogButtonBox::ActionRole);
    test->setObjectName(QStringLiteral("btnTest"));
    connect(test, &QPushButton::clicked, this, &TdlgServerSettings::btnTestClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(server);
    layout->addWidget(maintainers);
    layout->addWidget(m_result);
    layout->addWidget(buttons);
    ApplyFormStyle(this);
}

TWebSettings TdlgServerSettings::Settings() const {
    TWebSettings s = m_settings;
    s.BaseUrl = NormaliseBaseUrl(m_baseUrl->text().toStdString());
    s.FtpServer = m_ftpServer->text().trimmed().toStdString();
    s.PartsFtp = {m_partsUser->text().toStdString(), m_partsPassword->text().toStdString()};
    s.LibraryFtp = {m_libraryUser->text().toStdString(), m_libraryPassword->text().toStdString()};
    s.PassPhrase = m_passPhrase->text().toStdString();
    s.ConnectTimeout = m_connectTimeout->value();
    s.TotalTimeout = m_totalTimeout->value();
    return s;
}

void TdlgServerSettings::btnTestClick() {
    Stack().Push("TdlgServerSettings.btnTestClick");
    const TWebSettings settings = Settings();
    std::string version;
    std::string error;
    const bool ok =
        RunWebTask(this, T(16, "Verbindung wird geprüft..."), [&](TWebProgress& progress) {
            TWebRemote web(settings);
            web.SetProgress(&progress);
            std::string body;
            if (!web.DownloadFile(kVersionFile, body)) {
                error = web.LastError();
                return false;
            }
            version = PrintableText(body);
            return true;
        });
    if (ok) {
        const QString text = T(17, "Der Server antwortet: %1");
        m_result->setText(text.arg(version.empty() ? QStringLiteral("-") : ServerText(version)));
    } else {
        m_result->setText(QString::fromStdString(error));
    }
}

QString TdlgServerSettings::TestResult() const {
    return m_result->text();
}

bool EditServerSettings(QWidget* parent) {
    Stack().Push("EditServerSettings");
    TdlgServerSettings dialog(ReadWebSettings(Param()), parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    try {
        WriteWebSettings(Param(), dialog.Settings());
    } catch (const std::exception& e) {
        QMessageBox::warning(parent, dialog.windowTitle(),
                             T(18, "Die Einstellungen konnten nicht gespeichert werden: %1")
                                 .arg(QString::fromStdString(e.what())));
        return false;
    }
    return true;
}

bool RequireLibraryServer(QWidget* parent) {
    if (ReadWebSettings(Param()).Configured()) {
        return true;
    }
    QMessageBox box(QMessageBox::Information, T(1, "Bibliotheksserver"),
                    QString::fromStdString(NoServerMessage()), QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("msgNoServer"));
    QPushButton* edit = box.addButton(T(19, "Servereinstellungen..."), QMessageBox::AcceptRole);
    box.addButton(T(13, "Abbrechen"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == edit && EditServerSettings(parent) &&
           ReadWebSettings(Param()).Configured();
}

}  // namespace kx

#include "moc_d_ServerSettings.cpp"
