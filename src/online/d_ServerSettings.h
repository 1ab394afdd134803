// The dialog "Bibliotheksserver": where the library server and its FTP server are, the
// maintainers' accounts and pass phrase, and how long to wait for them.
#pragma once

#include <QDialog>

#include "online/u_webconfig.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace kx {

class TdlgServerSettings : public QDialog {
    Q_OBJECT
public:
    explicit TdlgServerSettings(const TWebSettings& settings, QWidget* parent = nullptr);

    /// The settings as the fields hold them.
    TWebSettings Settings() const;

    /// "Verbindung testen": asks the server for its version, off the window's thread, and
    /// shows the answer below the fields.
    void btnTestClick();
    QString TestResult() const;

private:
    TWebSettings m_settings;
    QLineEdit* m_baseUrl;
    QLineEdit* m_ftpServer;
    QLineEdit* m_partsUser;
    QLineEdit* m_partsPassword;
    QLineEdit* m_libraryUser;
    QLineEdit* m_libraryPassword;
    QLineEdit* m_passPhrase;
    QSpinBox* m_connectTimeout;
    QSpinBox* m_totalTimeout;
    QLabel* m_result;
};

/// Opens the dialog on the stored settings and writes them on OK; true when they were
/// written. A settings file that cannot be written is reported.
bool EditServerSettings(QWidget* parent);

/// For the online commands: true when a library server is set; otherwise says so, offers the
/// settings dialog, and is true only when a server was set there.
bool RequireLibraryServer(QWidget* parent);

}  // namespace kx
