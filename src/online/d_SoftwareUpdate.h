// "Internet-Update (Software)": asks the library server for its published version and shows
// the change history up to it. Nothing is downloaded or run: the user is pointed to the
// download page, where the package for the distribution is.
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "online/u_webprotocol.h"

class QLabel;
class QScrollArea;

namespace kx {

class TdlgSoftwareUpdate : public QDialog {
    Q_OBJECT
public:
    TdlgSoftwareUpdate(const QString& header, const std::vector<TWebHistoryData>& history,
                       QUrl downloadPage, QWidget* parent = nullptr);

    QString Header() const;
    /// Opens a page in the browser; tests replace it.
    static std::function<bool(const QUrl&)> UrlOpener;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnDownloadClick();

    std::vector<TWebHistoryData> m_history;
    bool m_laidOut = false;
    QUrl m_downloadPage;
    QLabel* m_header = nullptr;
    QScrollArea* m_sb = nullptr;
};

/// The page where the published version is offered: the server's "/downloads/".
QUrl DownloadPage(const std::string& baseUrl);

/// The command: asks for a server, compares the versions and shows the dialog when the server
/// publishes another version. Ends nothing.
void CheckSoftwareUpdateNew(QWidget* parent);

}  // namespace kx
