// "Bauteil upload (ftp)": the maintainers send a part's files to the library's FTP server.
#include "online/partupload.h"

#include <QMessageBox>
#include <QWidget>

#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/d_ServerSettings.h"
#include "online/u_ftpclient.h"
#include "online/u_webconfig.h"
#include "online/webtask.h"

namespace kx {

namespace {
QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_PARTUPLOAD", key, def));
}
}  // namespace

bool UploadPartFiles(QWidget* window, const std::string& number, const TPartFiles& files) {
    Stack().Push("TMainForm.menBauteilUploadClick", number);
    if (number.empty()) {
        return false;
    }
    TWebSettings settings = ReadWebSettings(Param());
    if (settings.FtpServer.empty()) {
        QMessageBox box(QMessageBox::Information, T(1, "Bauteil upload (ftp)"),
                        T(2, "Es ist kein FTP-Server eingetragen."), QMessageBox::Ok, window);
        box.setObjectName(QStringLiteral("msgNoFtpServer"));
        box.exec();
        if (!EditServerSettings(window)) {
            return false;
        }
        settings = ReadWebSettings(Param());
        if (settings.FtpServer.empty()) {
            return false;
        }
    }
    const QString title = window->windowTitle();
    window->setWindowTitle(title + QStringLiteral(" - ") + QString::fromStdString(number));
    std::string error;
    const bool ok = RunWebTask(window, T(1, "Bauteil upload (ftp)"), [&](TWebProgress&) {
        TFtpClient ftp(settings.FtpServer, settings.PartsFtp, settings.ConnectTimeout,
                       settings.TotalTimeout);
        const bool done = FtpUploadPart(ftp, number, files, {});
        error = ftp.LastError();
        return done;
    });
    window->setWindowTitle(title);
    QMessageBox box(
        ok ? QMessageBox::Information : QMessageBox::Warning, T(1, "Bauteil upload (ftp)"),
        ok ? T(3, "FTP-Verbindung beendet")
           : T(4, "Das Hochladen ist fehlgeschlagen: %1").arg(QString::fromStdString(error)),
        QMessageBox::Ok, window);
    box.setObjectName(ok ? QStringLiteral("msgUploaded") : QStringLiteral("msgUploadFailed"));
    box.exec();
    return ok;
}

}  // namespace kx
