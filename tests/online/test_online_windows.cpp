// The online windows against a real library server with content on a loopback port: the part
// update, the software update check, the model library and the shared collections.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QBuffer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QtTest>

#include "app/Main.h"
#include "app/d_SaveChanges.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_library.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "kx_test_support.h"
#include "model/MainObj.h"
#include "online/d_CloudCollection.h"
#include "online/d_OnlineLibrary.h"
#include "online/d_SoftwareUpdate.h"
#include "online/f_InternetBauteile.h"
#include "online/u_modelindex.h"
#include "online/u_webconfig.h"
#include "online/webtask.h"
#include "online_fixture.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::WriteFile;
namespace fs = std::filesystem;

namespace {
void Shot(QWidget& w, const char* name) {
    w.grab().save((kxtest::ShotDir() + QStringLiteral("/%1.png")).arg(QLatin1String(name)));
}

/// A small picture as the server keeps it.
std::string Picture(const QColor& colour, int w = 32, int h = 32, const char* format = "BMP") {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 4; y < h - 4; ++y) {
        for (int x = 4; x < w - 4; ++x) {
            image.setPixelColor(x, y, colour);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

/// Three parts the installation lacks and one it has in version 1; the server has 2.
void FillParts(const fs::path& data, const fs::path& program) {
    const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue};
    int i = 0;
    for (const char* n : {"40001", "40002", "40003"}) {
        const std::string number = n;
        WriteFile(data / "def" / (number + ".def"),
                  "[COMMON]\r\nORGNUMBER=" + number + "A\r\nNAME=Zahnrad " + number + "\r\n");
        WriteFile(data / "icon" / (number + ".bmp"), Picture(colours[i++]));
        WriteFile(data / "hires" / (number + ".stl"), "solid " + number);
        WriteFile(data / "lores" / (number + ".stl"), "solid lo " + number);
    }
    WriteFile(data / "def/30000.def", "[COMMON]\r\nVERSION=2\r\nNAME=Baustein 15 neu\r\n");
    WriteFile(data / "icon/30000.bmp", Picture(Qt::yellow));
    WriteFile(data / "hires/30000.stl", "solid new");
    WriteFile(data / "partversions.txt", "30000;2\r\n");
    fs::create_directories(data / "icon/print");
    WriteFile(program / "def/30000.def", "[COMMON]\r\nVERSION=1\r\n");
    WriteFile(program / "hires/30000.stl", "solid old");
}
/// Models as a club shares them: every one with a picture; the kran models nested by tags.
std::vector<TModelData> SharedModels(int count) {
    std::vector<TModelData> models;
    for (int i = 1; i <= count; ++i) {
        TModelData m;
        m.Name = QStringLiteral("Modell %1").arg(i, 2, 10, QLatin1Char('0'));
        m.Tags = QStringLiteral("Sonstiges");
        m.BuildBy = QStringLiteral("Klasse 7b");
        m.Description = QStringLiteral("Ein Modell <mit> & ohne Motor");
        m.ImageFile = QStringLiteral("modell%1.png").arg(i);
        m.ModelFile = QStringLiteral("modell%1.kxm").arg(i);
        models.push_back(m);
    }
    models[0].Name = QStringLiteral("Kranwagen");
    models[0].Tags = QStringLiteral("Fahrzeuge,Kran");
    models[1].Name = QStringLiteral("Turmdrehkran");
    models[1].Tags = QStringLiteral("Kran");
    return models;
}

void PublishModels(const fs::path& data, const std::vector<TModelData>& models) {
    const QColor colours[] = {Qt::red, Qt::darkCyan, Qt::darkMagenta, Qt::darkYellow};
    int i = 0;
    for (const TModelData& m : models) {
        WriteFile(data / "downloads/modelle" / m.ImageFile.toStdString(),
                  Picture(colours[i++ % 4], 160, 120, "PNG"));
    }
    const QByteArray xml = WriteModelIndex(models);
    WriteFile(data / "downloads/modelle/kxmodels.xml", xml.toStdString());
}

/// Waits for the next modal dialog of type T until ready says its first request is answered,
/// then lets act answer it; the dialog's own requests run undisturbed meanwhile.
template <typename T>
void AnswerWhenReady(std::function<bool(T*)> ready, std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && ready(dialog)) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}
}  // namespace

class TestOnlineWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetWebTaskProgressDelay(60000); }

    void thePartUpdateFetchesThreeNewPartsAndOneNewer() {
        kxtest::TTempDir dir;
        FillParts(dir / "data", dir / "program");
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
        TPartFiles files(dir / "program", dir / "user");
        TFormInternetBauteile window(files, {{"30000", 1}});
        int refreshed = 0;
        window.OnPartsDownloaded = [&] { ++refreshed; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        QTRY_COMPARE(list->topLevelItemCount(), 4);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("40001A"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Zahnrad 40001"));
        QVERIFY(!list->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(window.StatusText(), QStringLiteral("18 neue Datei(en) gefunden."));
        Shot(window, "part-update");

        QString done;
        kxtest::AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            done = box->objectName();
            box->accept();
        });
        window.findChild<QPushButton*>(QStringLiteral("btnDownload"))->click();
        QCOMPARE(done, QStringLiteral("msgDownloadDone"));
        QCOMPARE(refreshed, 1);
        QCOMPARE(window.StatusText(), QStringLiteral("Download abgeschlossen."));
        QCOMPARE(ReadFile(dir / "user/hires/30000.stl"), std::string("solid new"));
        QCOMPARE(ReadFile(dir / "user/lores/40003.stl"), std::string("solid lo 40003"));
        QVERIFY(files.FindDef("40002").has_value());
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("btnDownload"))->isEnabled());
    }

    void aFailedSaveIsReportedAndNotCalledComplete() {
        kxtest::TTempDir dir;
        FillParts(dir / "data", dir / "program");
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
        // The user folder's "lores" is a file, so nothing can be saved below it.
        WriteFile(dir / "user/lores", "in the way");
        TPartFiles files(dir / "program", dir / "user");
        TFormInternetBauteile window(files, {});
        window.show();
        auto* list = window.findChild<QTreeWidget*>(QStringLiteral("lvParts"));
        QTRY_COMPARE(list->topLevelItemCount(), 3);
        QString shown;
        kxtest::AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            shown = box->objectName();
            box->accept();
        });
        window.Download();
        QCOMPARE(shown, QStringLiteral("msgDownloadFailed"));
        QVERIFY(!window.StatusText().contains(QStringLiteral("abgeschlossen")));
        QCOMPARE(ReadFile(dir / "user/def/40001.def").substr(0, 8), std::string("[COMMON]"));
    }

    void theSoftwareUpdateCheckComparesWithTheServersVersion() {
        struct TCase {
            const char* Served;
            const char* Shown;  // message box name, or the dialog's header
        };
        const TCase cases[] = {
            {"Version 1.8.10\r\n", "Korvex Designer Version 1.8.10"},
            {"Version 1.8.1", "Korvex Designer Version 1.8.1"},
            {"version 1.8.2 ", "msgUpToDate"},
            {"", "msgUnreadable"},
            {"<html>Not found</html>", "msgUnreadable"},
        };
        for (const TCase& c : cases) {
            kxtest::TTempDir dir;
            WriteFile(dir / "data/update/version.txt", c.Served);
            WriteFile(dir / "data/history_de.txt",
                      "1.8.10|Zahnräder mit 12 Zähnen.|3~1.8.2|Kabel an Steckern.|2~"
                      "1.9.0|Noch nicht erschienen.|9~");
            kxtest::TLibraryServerProcess server(dir / "data");
            kxtest::TPrivateSettings settings;
            settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
            QString shown;
            QUrl opened;
            TdlgSoftwareUpdate::UrlOpener = [&](const QUrl& url) {
                opened = url;
                return true;
            };
            kxtest::AnswerNextDialog<QDialog>([&](QDialog* dialog) {
                if (auto* update = qobject_cast<TdlgSoftwareUpdate*>(dialog)) {
                    shown = update->Header();
                    if (std::string(c.Served).find("1.8.10") != std::string::npos) {
                        Shot(*update, "software-update");
                    }
                    update->findChild<QPushButton*>(QStringLiteral("btnDownload"))->click();
                } else {
                    shown = dialog->objectName();
                    dialog->accept();
                }
            });
            QWidget parent;
            CheckSoftwareUpdateNew(&parent);
            QCOMPARE(shown, QString::fromLatin1(c.Shown));
            if (shown.startsWith(QStringLiteral("Korvex"))) {
                QCOMPARE(opened.toString(),
                         QString::fromStdString(server.BaseUrl()) + QStringLiteral("/downloads/"));
            } else {
                QVERIFY(opened.isEmpty());
            }
        }
    }

    void theOnlineLibraryShowsTheIndexAsATreeTheNewestAndTheSearch() {
        kxtest::TTempDir dir;
        PublishModels(dir / "data", SharedModels(25));
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
        TdlgOnlineLibrary dialog(false);
        dialog.show();
        QTRY_COMPARE(dialog.Models().size(), size_t(25));
        QCOMPARE(dialog.Models()[2].Description, QStringLiteral("Ein Modell <mit> & ohne Motor"));
        auto* tree = dialog.findChild<QTreeWidget*>(QStringLiteral("tvLibrary"));
        // Kran is found anywhere in the tree: the second model lands below the same node.
        const auto krane =
            tree->findItems(QStringLiteral("Kran"), Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(krane.size(), 1);
        QCOMPARE(krane[0]->parent()->text(0), QStringLiteral("Fahrzeuge"));
        QCOMPARE(krane[0]->childCount(), 2);
        QCOMPARE(krane[0]->child(0)->text(0), QStringLiteral("Kranwagen"));
        auto* newest = dialog.findChild<QTreeWidget*>(QStringLiteral("lvNewest"));
        QCOMPARE(newest->topLevelItemCount(), 20);
        QCOMPARE(newest->topLevelItem(0)->text(0), QStringLiteral("Modell 25"));
        QCOMPARE(newest->topLevelItem(19)->text(0), QStringLiteral("Modell 06"));
        dialog.Search(QStringLiteral("kran"));
        auto* found = dialog.findChild<QTreeWidget*>(QStringLiteral("lvSearch"));
        QCOMPARE(found->topLevelItemCount(), 2);
        tree->setCurrentItem(krane[0]->child(0));
        QCOMPARE(dialog.Selected(), 0);
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("imgModel"))->pixmap().isNull());
        QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("edtName"))->isReadOnly());
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("btnDownload"))->isVisible());
        Shot(dialog, "online-library");
        tree->setCurrentItem(krane[0]);
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("btnDownload"))->isVisible());
    }

    void aDownloadedModelReplacesTheOpenOneAfterTheQuestion() {
        QTemporaryDir local;
        kxtest::TTempDir dir;
        {
            // A model of one part as the club shares it, saved by the program itself.
            TMainForm author;
            author.FileChooser = [&](bool, const QString&) { return local.filePath("kran.kxm"); };
            author.Model().AddBaustein("40001");
            author.Commands().Execute("menSave");
            QVERIFY(!author.Model().IsModified());
            QVERIFY(author.close());
        }
        auto models = SharedModels(3);
        PublishModels(dir / "data", models);
        WriteFile(dir / "data/downloads/modelle/modell1.kxm",
                  ReadFile(local.filePath("kran.kxm").toStdString()));
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());

        TMainForm form;
        form.show();
        form.Model().AddBaustein("40002");
        form.Model().AddBaustein("40002");
        int asked = 0;
        AnswerWhenReady<TdlgOnlineLibrary>(
            [](TdlgOnlineLibrary* dlg) { return dlg->Models().size() == 3; },
            [&](TdlgOnlineLibrary* dlg) {
                dlg->SelectModel(0);
                kxtest::AnswerNextDialog<TdlgSaveChanges>([&](TdlgSaveChanges* question) {
                    ++asked;
                    question->DiscardButton()->click();
                });
                dlg->DownloadSelected();
            });
        form.Commands().Execute("menOnlineLibrary");
        QCOMPARE(asked, 1);
        QCOMPARE(form.Model().Parts().Count(), size_t(1));
        QCOMPARE(form.Model().Parts()[0].GetShortName(), std::string("40001"));
        QVERIFY(!form.Model().IsModified());
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer []"));
        QVERIFY(form.close());
    }

    void anAdministratorPublishesAModelWithItsPicture() {
        kxtest::TTempDir dir;
        PublishModels(dir / "data", SharedModels(2));
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TFtpServerProcess ftp(dir / "data/downloads/modelle", "bibliothek", "pw");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
        TWebSettings web = ReadWebSettings(settings.Param());
        web.FtpServer = ftp.Server();
        web.LibraryFtp = {"bibliothek", "pw"};
        WriteWebSettings(settings.Param(), web);
        WriteFile(dir / "local/bagger.png", Picture(Qt::darkYellow, 160, 120, "PNG"));
        WriteFile(dir / "local/bagger.kxm", "model bytes");

        TdlgOnlineLibrary dialog(true);
        dialog.SetCurrentModel({QStringLiteral("Bagger"),
                                QStringLiteral("B-12"),
                                QStringLiteral("Ana & Ben"),
                                QStringLiteral("Fahrzeuge,Bau"),
                                QStringLiteral("Mit <Schaufel> "),
                                {},
                                {}});
        dialog.show();
        QTRY_COMPARE(dialog.Models().size(), size_t(2));
        QVERIFY(!dialog.findChild<QLineEdit*>(QStringLiteral("edtName"))->isReadOnly());
        dialog.findChild<QPushButton*>(QStringLiteral("btnNew"))->click();
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("edtImageFile"))->text(),
                 QStringLiteral("bagger.png"));
        dialog.FileChooser = [&](bool picture) {
            return QString::fromStdString(
                (dir / (picture ? "local/bagger.png" : "local/bagger.kxm")).string());
        };
        int done = 0;
        auto answer = [&] {
            kxtest::AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
                done += box->objectName() == QStringLiteral("msgUploaded") ? 1 : 0;
                box->accept();
            });
        };
        answer();
        QVERIFY(dialog.UploadFile(true));
        answer();
        QVERIFY(dialog.UploadFile(false));
        answer();
        QVERIFY(dialog.UploadIndex());
        QCOMPARE(done, 3);
        Shot(dialog, "online-library-admin");

        TdlgOnlineLibrary reader(false);
        reader.show();
        QTRY_COMPARE(reader.Models().size(), size_t(3));
        QCOMPARE(reader.Models()[2].Name, QStringLiteral("Bagger"));
        QCOMPARE(reader.Models()[2].BuildBy, QStringLiteral("Ana & Ben"));
        QCOMPARE(reader.Models()[2].Description, QStringLiteral("Mit <Schaufel> "));
        reader.SelectModel(2);
        QVERIFY(!reader.findChild<QLabel*>(QStringLiteral("imgModel"))->pixmap().isNull());
        QCOMPARE(ReadFile(dir / "data/downloads/modelle/bagger.kxm"), std::string("model bytes"));
    }

    void aSharedCollectionOpensInTheLibrary() {
        kxtest::TTempDir dir;
        WriteFile(dir / "data/downloads/collection/1234 Meine Sammlung.kxc",
                  "40001#3\r\n40002#1\r\n");
        WriteFile(dir / "data/downloads/collection/0815 Baukasten Schule.kxc", "40003#2\r\n");
        WriteFile(dir / "data/downloads/collection/readme.txt", "not a collection");
        kxtest::TLibraryServerProcess server(dir / "data");
        kxtest::TPrivateSettings settings;
        settings.Param().WriteString(kSetBaseUrl, server.BaseUrl());
        TdlgCloudCollection dialog;
        dialog.show();
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvCollections"));
        QTRY_COMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("1234"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("Meine Sammlung"));
        list->header()->sectionClicked(1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Baukasten Schule"));
        list->header()->sectionClicked(1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Meine Sammlung"));
        list->setCurrentItem(list->topLevelItem(0));
        Shot(dialog, "collections");
        dialog.DownloadSelected();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"40001#3", "40002#1"}));

        // Through the menu the collection lands in the library.
        TMainForm form;
        form.show();
        AnswerWhenReady<TdlgCloudCollection>(
            [](TdlgCloudCollection* dlg) {
                return dlg->findChild<QTreeWidget*>(QStringLiteral("lvCollections"))
                           ->topLevelItemCount() == 2;
            },
            [&](TdlgCloudCollection* dlg) {
                auto* rows = dlg->findChild<QTreeWidget*>(QStringLiteral("lvCollections"));
                rows->setCurrentItem(rows->findItems(QStringLiteral("1234"), Qt::MatchExactly)[0]);
                dlg->DownloadSelected();
            });
        form.Commands().Execute("menCollectionOnline");
        QCOMPARE(form.Library()->Library().Collection().Items.size(), size_t(2));
        QVERIFY(form.close());
    }
};

KX_GUI_TEST_MAIN(TestOnlineWindows)

#include "test_online_windows.moc"
