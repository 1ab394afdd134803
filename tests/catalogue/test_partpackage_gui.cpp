// Part packages on the real main window: export a user's part, lose it, import the package
// from the menu, and place the part; the maintainers' items of the tile menu.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/f_SnapView.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"

using namespace kx;
namespace fs = std::filesystem;
using kxtest::AnswerNextDialog;

namespace {

const char* const kMembers[][2] = {{"def", "def"},   {"hires", "stl"}, {"hires", "nrm"},
                                   {"lores", "stl"}, {"icon", "bmp"},  {"icon/print", "jpg"}};

fs::path MemberFile(const fs::path& root, int i, const std::string& number) {
    return root / kMembers[i][0] / (number + "." + kMembers[i][1]);
}

void Drop(QWidget* view, QPoint at, const std::string& number) {
    QMimeData mime;
    mime.setData(QString::fromLatin1(PartMimeType), QByteArray::fromStdString(number));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &drop);
}

}  // namespace

class TestPartPackageGui : public QObject {
    Q_OBJECT
private slots:
    void exportLoseImportAndPlace() {
        // A part of the user's own: a kit part's files under a new number in the user folder.
        const fs::path user = UserDataDir();
        const fs::path kit = Param().ProgramDir;
        for (int i = 0; i < 6; ++i) {
            const fs::path from = MemberFile(kit, i, "40001");
            if (fs::exists(from)) {
                fs::create_directories(MemberFile(user, i, "U0001").parent_path());
                fs::copy_file(from, MemberFile(user, i, "U0001"));
            }
        }
        TMainForm form;
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TLibraryPanel& panel = *form.Library();
        TPartLibrary& library = panel.Library();
        auto select = [&](const std::string& number) {
            const TBibData* e = library.FindEntry(number);
            QVERIFY(e);
            library.ShowLibraryPage(e->Page);
            const auto& items = library.Page(e->Page).Items;
            for (size_t i = 0; i < items.size(); ++i) {
                if (items[i].Number() == number) {
                    library.SelectTile(e->Page, int(i));
                }
            }
            QCOMPARE(panel.GetActualPartNumber(), number);
        };
        select("U0001");

        QTemporaryDir out;
        const QString package = out.filePath(QStringLiteral("mein-teil"));
        QStringList proposals;
        panel.PackageFileChooser = [&](bool save, const QString& proposed) {
            proposals << (save ? QStringLiteral("save ") : QStringLiteral("open ")) + proposed;
            return save ? package : package + QStringLiteral(".part");
        };
        QString shown;
        auto answerMessage = [&shown] {
            AnswerNextDialog<QMessageBox>([&shown](QMessageBox* box) {
                shown = box->text();
                box->accept();
            });
        };
        answerMessage();
        QAction* exportItem =
            panel.TileMenu()->findChild<QAction*>(QStringLiteral("menExportPart"));
        QVERIFY(exportItem && exportItem->isVisible());
        exportItem->trigger();
        QCOMPARE(shown, QStringLiteral("Das Bauteil wurde erfolgreich exportiert"));
        QVERIFY(QFileInfo::exists(package + QStringLiteral(".part")));  // ".part" appended

        // The part is lost from the user folder; the import from the menu brings it back.
        std::vector<std::string> before;
        for (int i = 0; i < 6; ++i) {
            before.push_back(ReadFileBytes(MemberFile(user, i, "U0001")).value_or(""));
            fs::remove(MemberFile(user, i, "U0001"));
        }
        QString question;
        AnswerNextDialog<TdlgMessage>([&question](TdlgMessage* dlg) {
            for (const QLabel* label : dlg->findChildren<QLabel*>()) {
                question += label->text();
            }
            dlg->YesButton()->click();
        });
        answerMessage();
        QVERIFY(form.Commands().Execute("menImportPart"));
        QCOMPARE(proposals,
                 (QStringList{QStringLiteral("save U0001.Part"), QStringLiteral("open ")}));
        QVERIFY2(question.contains(QStringLiteral("U0001")), qPrintable(question));
        QCOMPARE(shown, QStringLiteral("Das Bauteil U0001 wurde importiert."));
        // A part without normals comes back with an empty normals file, which reads as none.
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(ReadFileBytes(MemberFile(user, i, "U0001")).value_or(""), before[size_t(i)]);
        }
        QCOMPARE(panel.GetActualPartNumber(), std::string("U0001"));
        form.grab().save((kxtest::ShotDir() + QStringLiteral("/imported.png")));

        // The imported part goes into the model like any other.
        Drop(form.Viewer(), {5, 5}, "U0001");
        QTRY_COMPARE(form.Model().Parts().Count(), size_t(1));
        QVERIFY(form.Model().Parts()[0].Name().rfind("FU0001_", 0) == 0);

        // A package cut short is refused with a message and changes nothing.
        const QString broken = out.filePath(QStringLiteral("kaputt.part"));
        const std::string whole =
            ReadFileBytes(fs::path((package + QStringLiteral(".part")).toStdString())).value();
        QVERIFY(
            WriteFileAtomic(fs::path(broken.toStdString()), whole.substr(0, whole.size() - 10)));
        fs::remove(MemberFile(user, 0, "U0001"));
        answerMessage();
        QVERIFY(!panel.ImportPackageFile(broken));
        QVERIFY(!fs::exists(MemberFile(user, 0, "U0001")));
        QVERIFY(shown.contains(QStringLiteral("beschädigt")));
    }

    void maintainerItemsShowInDeveloperMode() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TLibraryPanel& panel = *form.Library();
        QMenu* menu = panel.TileMenu();
        auto item = [&](const char* name) {
            return menu->findChild<QAction*>(QString::fromLatin1(name));
        };
        QVERIFY(!item("menIncVersionsnummer")->isVisible());
        panel.SetDeveloperMode(true);
        for (const char* name : {"menEditPart", "menUploadPart", "menWriteVersion",
                                 "menPartNamesInClipboard", "menIncVersionsnummer", "menDefmaker",
                                 "menOpenInBlender", "menCloseMenu", "menProfileGenerator"}) {
            QVERIFY2(item(name), name);
        }
        QVERIFY(item("menEditPart")->isVisible());
        // Without a server connection and without a definition editor, the items say why.
        QVERIFY(!item("menIncVersionsnummer")->isEnabled());
        QVERIFY(!item("menDefmaker")->isEnabled());
        QVERIFY(!item("menDefmaker")->toolTip().isEmpty());
        Param().WriteString("DEFMAKERCOMMAND", "defmaker");
        panel.DoLanguage();
        QVERIFY(item("menDefmaker")->isEnabled());
        menu->popup(form.mapToGlobal(QPoint(100, 100)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->grab().save((kxtest::ShotDir() + QStringLiteral("/tilemenu.png")));
        menu->close();
        // With both servers set, opening the menu again lets the maintainer publish.
        Param().WriteString("WEBBASEURL", "http://127.0.0.1:9");
        Param().WriteString("FTPSERVER", "127.0.0.1:9");
        menu->popup(form.mapToGlobal(QPoint(100, 100)));
        QVERIFY(item("menIncVersionsnummer")->isEnabled());
        QVERIFY(item("menWriteVersion")->isEnabled());
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->grab().save((kxtest::ShotDir() + QStringLiteral("/tilemenu-publish.png")));
        menu->close();
        Param().DeleteValue("WEBBASEURL");
        Param().DeleteValue("FTPSERVER");
        Param().DeleteValue("DEFMAKERCOMMAND");
        panel.SetDeveloperMode(false);
    }
};

KX_GUI_TEST_MAIN(TestPartPackageGui)
#include "test_partpackage_gui.moc"
