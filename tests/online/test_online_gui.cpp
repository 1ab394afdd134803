// The windows' side of the online functions: requests that leave the window painting and can
// be cancelled, the server settings against a real library server, and the history panel.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

#include "catalogue/u_partfiles.h"
#include "catalogue/u_partpublish.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "kx_test_support.h"
#include "online/d_ServerSettings.h"
#include "online/historybox.h"
#include "online/partuploadport.h"
#include "online/u_TWebRemote.h"
#include "online/webtask.h"
#include "online_fixture.h"

using namespace kx;

namespace {
void Shot(QWidget& w, const char* name) {
    w.grab().save((kxtest::ShotDir() + QStringLiteral("/%1.png")).arg(QLatin1String(name)));
}
}  // namespace

class TestOnlineGui : public QObject {
    Q_OBJECT
private slots:
    void aRequestLeavesTheWindowPaintingAndCanBeCancelled() {
        kxtest::THostileServer silent("", true);
        TWebSettings s;
        s.BaseUrl = silent.BaseUrl();
        s.TotalTimeout = 30;
        QWidget window;
        window.show();
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, [&] { ++ticks; });
        clock.start(10);
        SetWebTaskProgressDelay(0);
        QProgressDialog* seen = nullptr;
        QTimer::singleShot(400, [&] {
            seen = window.findChild<QProgressDialog*>(QStringLiteral("dlgWebProgress"));
            if (seen) {
                Shot(*seen, "progress");
                seen->cancel();
            }
        });
        std::string error;
        QElapsedTimer elapsed;
        elapsed.start();
        const bool ok = RunWebTask(&window, QStringLiteral("Lade..."), [&](TWebProgress& p) {
            TWebRemote web(s);
            web.SetProgress(&p);
            std::string body;
            const bool done = web.DownloadFile("def/x.def", body);
            error = web.LastError();
            return done;
        });
        QVERIFY(seen);
        QVERIFY(!ok);
        QVERIFY2(error.find("abgebrochen") != std::string::npos, error.c_str());
        QVERIFY(elapsed.elapsed() < 5000);
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));  // the loop kept running
        SetWebTaskProgressDelay(400);
    }

    void theServerSettingsTestAndKeepTheServer() {
        kxtest::TTempDir dir;
        kxtest::WriteFile(dir / "data/update/version.txt", "Version 1.9.0\r\n");
        kxtest::TLibraryServerProcess server(dir / "data");
        TWebSettings start;
        TdlgServerSettings dialog(start);
        dialog.findChild<QLineEdit*>(QStringLiteral("edtBaseUrl"))
            ->setText(QString::fromStdString(server.BaseUrl()) + QStringLiteral("/"));
        dialog.findChild<QLineEdit*>(QStringLiteral("edtPassPhrase"))->setText("geheim");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
        QCOMPARE(dialog.TestResult(), QStringLiteral("Der Server antwortet: Version 1.9.0"));
        QCOMPARE(dialog.Settings().BaseUrl, server.BaseUrl());
        Shot(dialog, "server-settings");

        // Stopped server: the test says why, nothing hangs.
        dialog.findChild<QLineEdit*>(QStringLiteral("edtBaseUrl"))
            ->setText(QStringLiteral("http://127.0.0.1:1"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
        QVERIFY(dialog.TestResult().startsWith(QStringLiteral("Der Server hat nicht")));
    }

    void withoutAServerTheOnlineCommandsSaySo() {
        kxtest::TPrivateSettings settings;
        QString shown;
        kxtest::AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            shown = box->text();
            Shot(*box, "no-server");
            box->buttons().last()->click();  // "Abbrechen"
        });
        QVERIFY(!RequireLibraryServer(nullptr));
        QCOMPARE(shown.toStdString(), NoServerMessage());
        settings.Param().WriteString(kSetBaseUrl, "http://127.0.0.1:9");
        QVERIFY(RequireLibraryServer(nullptr));
    }

    void aMaintainerPublishesARevisionOverBothServers() {
        namespace fs = std::filesystem;
        using kxtest::ReadFile;
        using kxtest::WriteFile;
        kxtest::TTempDir dir;
        for (const char* sub : {"def", "hires", "lores", "icon/print"}) {
            fs::create_directories(dir / "ftp" / sub);
        }
        WriteFile(dir / "data/partversions.txt", "77001;3\n");
        WriteFile(dir / "pass.txt", "geheim\n");
        kxtest::TLibraryServerProcess server(dir / "data", (dir / "pass.txt").string());
        kxtest::TFtpServerProcess ftp(dir / "ftp", "parts", "pw");
        WriteFile(dir / "prog/def/77001.def", "[COMMON]\r\nVersion=3\r\n");
        WriteFile(dir / "prog/hires/77001.stl", "hires");
        WriteFile(dir / "prog/lores/77001.stl", "lores");
        WriteFile(dir / "prog/icon/77001.bmp", "icon");
        WriteFile(dir / "prog/icon/print/77001.jpg", "print");
        TPartFiles files(dir / "prog", dir / "user");
        TWebSettings s;
        s.BaseUrl = server.BaseUrl();
        s.FtpServer = ftp.Server();
        s.PartsFtp = {"parts", "pw"};
        s.PassPhrase = "geheim";
        s.ConnectTimeout = 2;
        s.TotalTimeout = 10;
        QWidget window;
        window.show();
        TWebPartUploadPort port(&window, [&] { return s; });
        QVERIFY(port.Ready());

        TPublishResult r = PublishPartRevision(files, "77001", port);
        QVERIFY2(r.Ok, r.Message.c_str());
        QCOMPARE(r.Version, 4);
        QCOMPARE(ReadFile(dir / "ftp/def/77001.def"), std::string("[COMMON]\r\nVersion=4\r\n"));
        QCOMPARE(ReadFile(dir / "ftp/icon/print/77001.jpg"), std::string("print"));
        QCOMPARE(ReadFile(dir / "ftp/lores/77001.stl"), std::string("lores"));
        QCOMPARE(ReadFile(dir / "data/partversions.txt"), std::string("77001;4\n"));

        // A server that cannot be reached: said plainly, and nothing changed on either side.
        s.FtpServer = "127.0.0.1:9";
        r = PublishPartRevision(files, "77001", port);
        QVERIFY(!r.Ok);
        QVERIFY2(r.Message.find("Verbindung zum Server") != std::string::npos, r.Message.c_str());
        QCOMPARE(ReadFile(dir / "user/def/77001.def"), std::string("[COMMON]\r\nVersion=4\r\n"));
        QCOMPARE(ReadFile(dir / "data/partversions.txt"), std::string("77001;4\n"));

        // A wrong pass phrase: the files went up, the revision is refused and says so.
        s.FtpServer = ftp.Server();
        s.PassPhrase = "falsch";
        r = WritePartVersion(files, "77001", port);
        QVERIFY(!r.Ok);
        QVERIFY2(r.Message.find("403") != std::string::npos, r.Message.c_str());
        QCOMPARE(ReadFile(dir / "data/partversions.txt"), std::string("77001;4\n"));

        s.FtpServer.clear();
        QVERIFY(!port.Ready());
    }

    void theHistoryPanelGroupsByVersion() {
        kxtest::TTempDir dir;
        kxtest::WriteFile(dir / "data/history_de.txt",
                          "1.9.0|Neue Teile: Zahnräder mit 12 und 24 Zähnen.|3~"
                          "1.9.0|Der Bibliotheksserver läuft jetzt auch auf Schulrechnern; "
                          "Anfragen frieren das Fenster nicht mehr ein.|2~"
                          "1.8.2|Kabel lassen sich an Stecker anschließen.|1~"
                          "2.0.0|Noch nicht erschienen.|9~");
        kxtest::TLibraryServerProcess server(dir / "data");
        TWebSettings s;
        s.BaseUrl = server.BaseUrl();
        TWebRemote web(s);
        QVERIFY(web.ReadHistory("1.9.0"));
        QScrollArea box;
        box.resize(420, 300);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        ShowHistory(box, web.History());
        const auto bars = box.widget()->findChildren<QFrame*>(QStringLiteral("historyBar"));
        QCOMPARE(bars.size(), 1);  // between 1.9.0 and 1.8.2
        const auto labels = box.widget()->findChildren<QLabel*>();
        QCOMPARE(labels.size(), 6);
        QVERIFY(labels[1]->text().contains(QStringLiteral("Zahnräder")));
        QVERIFY(labels[1]->wordWrap());
        QCOMPARE(labels[1]->x(), 50);
        Shot(box, "history");
        QCOMPARE(ServerText("Gr\xf6\xdf"
                            "e"),
                 QStringLiteral("Größe"));  // an 8-bit server
    }
};

KX_GUI_TEST_MAIN(TestOnlineGui)

#include "test_online_gui.moc"
