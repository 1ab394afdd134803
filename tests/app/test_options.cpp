// The options dialog: what it shows of the stored settings, what OK stores, and what the main
// window applies at once after it, whether it closed with OK or with cancel.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "app/Main.h"
#include "app/d_Options.h"
#include "app/helpsystem.h"
#include "app/u_commandtable.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "placement/f_koordinaten.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.item(i)->text() + (list.item(i)->checkState() == Qt::Checked ? "*" : "");
    }
    return items;
}

TAssociationFolders FoldersIn(const QTemporaryDir& dir) {
    const std::filesystem::path root = dir.path().toStdString();
    return {root / "data", root / "config", {root / "sysdata"}, {root / "sysconfig"}};
}

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Each case starts from the settings a new user has.
        for (const char* name :
             {"OUTLINEWIDTH", "GRIDDISTANCE", "ANTIALIAS", "BACKGROUNDCOLOR3D", "HIDEOTHERSTAGES",
              "PAINTOLDWHITE", "COUNTFAVOURITES", "USEPYTHON", "LANGUAGE", "LPEMODE", "LPEBOX1",
              "LPEBOX2", "LPEBOX3", "LPEBOX4", "COMBINELIBRARY", "OUTLINEMODEATSTART"}) {
            Param().DeleteValue(name);
        }
    }

    void showsTheStoredSettingsAndOkStoresThem() {
        TkxParam& p = Param();
        p.SetOutlineWidth(12);
        p.SetGridDistance(12);
        p.SetAntialias(TAntialias::x4);
        p.SetBackgroundColor3D(0x123456);
        p.SetHideOtherStages(true);
        QTemporaryDir dir;
        TdlgOptions dlg(nullptr, QString::fromStdString(p.ProgramDir), FoldersIn(dir));
        dlg.show();
        QCOMPARE(dlg.Pages->currentIndex(), 0);
        QCOMPARE(dlg.Pages->count(), 4);
        // Out-of-range values show at the nearest choice, and OK stores what is shown.
        QCOMPARE(dlg.tbOutlineWidth->value(), 10);
        QCOMPARE(dlg.lblOutlineWidthPixel->text(), QStringLiteral("10 Point"));
        QVERIFY(dlg.rGrid15mm->isChecked());
        QCOMPARE(dlg.cbAntiAlias->currentIndex(), 4);
        QVERIFY(dlg.cbPaintOldWhite->isChecked());  // missing reads as on
        QVERIFY(dlg.cbHideOtherStages->isChecked());
        QCOMPARE(dlg.eCountFavourites->text(), QStringLiteral("8"));
        // Letters are refused, digits taken, at most three.
        dlg.eCountFavourites->clear();
        QTest::keyClicks(dlg.eCountFavourites, QStringLiteral("a1b2c34"));
        QCOMPARE(dlg.eCountFavourites->text(), QStringLiteral("123"));
        dlg.tbOutlineWidth->setValue(4);
        QCOMPARE(dlg.lblOutlineWidthPixel->text(), QStringLiteral("4 Point"));
        dlg.cbAntiAlias->setCurrentIndex(3);
        dlg.ChooseColor = [](uint32_t) { return std::optional<uint32_t>(0x00FF00); };
        dlg.btnBackgroundColor->click();
        QCOMPARE(dlg.BackgroundColor(), 0x00FF00u);
        dlg.cbUsePython->setChecked(true);
        dlg.btnOK->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(p.GetOutlineWidth(), 4);
        QCOMPARE(p.GetGridDistance(), 15);
        QCOMPARE(p.GetCountFavourites(), 123);
        QCOMPARE(int(p.GetAntialias()), int(TAntialias::x2HQ));
        QCOMPARE(p.GetBackgroundColor3D(), 0x00FF00u);
        QVERIFY(p.GetUsePython());
        QVERIFY(p.GetPaintOldWhite());
        // The school library's boxes: all off (a new user's state) switches box 1 on, and the
        // library file is written from them.
        QVERIFY(p.GetLpeBox(1));
        QVERIFY(!p.GetLpeBox(2));
        QVERIFY(QFile::exists(QString::fromStdString(UserDataDir()) + "userbib.ini"));
    }

    void anEmptyFavouritesFieldStoresEightAndCancelStoresNothing() {
        QTemporaryDir dir;
        {
            TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
            dlg.show();
            dlg.eCountFavourites->clear();
            dlg.rGrid10mm->setChecked(true);
            dlg.btnOK->click();
        }
        QCOMPARE(Param().GetCountFavourites(), 8);
        QCOMPARE(Param().GetGridDistance(), 10);
        Param().DeleteValue("LPEBOX2");
        TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
        dlg.show();
        dlg.rGrid15mm->setChecked(true);
        dlg.btnCancel->click();
        QCOMPARE(Param().GetGridDistance(), 10);
        QVERIFY(!Param().ValueExists("LPEBOX2"));
    }

    void languageListOffersEveryFileWithExactlyOneTicked() {
        QTemporaryDir dir;
        {
            // No language file: an empty list, and OK keeps the language.
            QTemporaryDir empty;
            TdlgOptions dlg(nullptr, empty.path(), FoldersIn(dir));
            dlg.show();
            QCOMPARE(dlg.lbSprachen->count(), 0);
            dlg.btnOK->click();
            QCOMPARE(QString::fromStdString(Param().GetLanguage()), QStringLiteral("DEUTSCH"));
        }
        // Both shipped languages are offered.
        TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
        dlg.show();
        QCOMPARE(Items(*dlg.lbSprachen), QStringList({"DEUTSCH*", "ENGLISH"}));
        dlg.lbSprachen->item(1)->setCheckState(Qt::Checked);
        QCOMPARE(Items(*dlg.lbSprachen), QStringList({"DEUTSCH", "ENGLISH*"}));
        dlg.lbSprachen->item(1)->setCheckState(Qt::Unchecked);  // the ticked one stays
        QCOMPARE(Items(*dlg.lbSprachen), QStringList({"DEUTSCH", "ENGLISH*"}));
        dlg.btnOK->click();
        QCOMPARE(QString::fromStdString(Param().GetLanguage()), QStringLiteral("ENGLISH"));
    }

    void theAssociationCheckBoxActsAtOnceAndShowsWhatItFinds() {
        QTemporaryDir dir;
        TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
        QStringList told;
        dlg.Inform = [&](const QString& text) { told << text; };
        dlg.show();
        QVERIFY(!dlg.cbLinkKxm->isChecked());
        QCOMPARE(dlg.lblLinkDatei->text(), QStringLiteral("(keinem Programm)"));
        dlg.cbLinkKxm->click();
        QVERIFY(dlg.cbLinkKxm->isChecked());
        QCOMPARE(told.value(0), QStringLiteral("Die Verknüpfung wurde erfolgreich eingerichtet"));
        QCOMPARE(dlg.lblLinkDatei->text(), QCoreApplication::applicationFilePath());
        QVERIFY(QFile::exists(dir.filePath("data/applications/korvex-designer.desktop")));
        // Cancel does not undo it: the box acts on its own.
        dlg.btnCancel->click();
        TdlgOptions again(nullptr, {}, FoldersIn(dir));
        again.Inform = [&](const QString& text) { told << text; };
        again.show();
        QVERIFY(again.cbLinkKxm->isChecked());
        again.cbLinkKxm->click();
        QVERIFY(!again.cbLinkKxm->isChecked());
        QCOMPARE(told.value(1), QStringLiteral("Die Verknüpfung wurde entfernt."));
        QVERIFY(!QFile::exists(dir.filePath("data/applications/korvex-designer.desktop")));
    }

    void okSwitchesTheLanguageOfEveryLongLivedWindowAtOnce() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Commands().Action("menNew")->text(), QStringLiteral("Neu"));
        form.Commands().Execute("menCoordinates");
        kxtest::AnswerNextDialog<TdlgOptions>([](TdlgOptions* dlg) {
            dlg->lbSprachen->item(1)->setCheckState(Qt::Checked);
            dlg->btnOK->click();
        });
        form.Commands().Execute("menOptions");
        QCOMPARE(form.Commands().Action("menNew")->text(), QStringLiteral("New"));
        QCOMPARE(form.Commands().Menu("menDatei")->title(), QStringLiteral("&File"));
        QCOMPARE(form.CoordinatesManager()->windowTitle(),
                 QString::fromStdString(Language().GetText("F_KOORDINATEN", 1, "?")));
        QVERIFY(form.CoordinatesManager()->windowTitle() != QStringLiteral("?"));
        form.CoordinatesManager()->hide();
        QTest::qWait(100);
        QVERIFY(form.grab().save(kxtest::ShotDir() + QStringLiteral("/main-window-english.png")));
        kxtest::AnswerNextDialog<TdlgOptions>([](TdlgOptions* dlg) {
            dlg->lbSprachen->item(0)->setCheckState(Qt::Checked);
            dlg->btnOK->click();
        });
        form.Commands().Execute("menOptions");
        QCOMPARE(form.Commands().Action("menNew")->text(), QStringLiteral("Neu"));
    }

    void cancelStillRenewsTheViewFromTheStoredSettings() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Model().AddBaustein("40001");
        form.Commands().Action("menOutline")->setChecked(true);
        form.Commands().Execute("menOutline");
        // Settings changed behind the window's back (another window, another program).
        Param().SetGridDistance(15);
        Param().SetBackgroundColor3D(0x0000FF);
        Param().SetAntialias(TAntialias::x2);
        Param().SetOutlineWidth(7);
        kxtest::AnswerNextDialog<TdlgOptions>([](TdlgOptions* dlg) { dlg->btnCancel->click(); });
        form.Commands().Execute("menOptions");
        TScene& scene = form.Scene();
        QCOMPARE(int(scene.Antialias()), int(TAntialias::x2));
        QCOMPARE(scene.BackgroundColor().R, 1.0f);
        QCOMPARE(scene.BackgroundColor().B, 0.0f);
        QVERIFY(scene.Grid());
        QCOMPARE(scene.Grid()->GridDistance(), 15.0f);
        QVERIFY(scene.Grid()->Visible());
        QVERIFY(form.ViewBox()->styleSheet().contains(QStringLiteral("#ff0000")));
    }

    void helpOpensTheTopicInTheBrowser() {
        QList<QUrl> opened;
        HelpUrlOpener() = [&](const QUrl& url) {
            opened << url;
            return true;
        };
        QTemporaryDir dir;
        TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
        dlg.show();
        dlg.btnHelp->click();
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].isLocalFile());
        QVERIFY(opened[0].toLocalFile().endsWith(QStringLiteral("/help/de/einstellungen.html")));
        QCOMPARE(opened[0].fragment(), QStringLiteral("3001"));
        QVERIFY(QFile::exists(opened[0].toLocalFile()));
    }

    void screenshotsOfEveryPage() {
        QTemporaryDir dir;
        TdlgOptions dlg(nullptr, {}, FoldersIn(dir));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const char* names[] = {"options-1-allgemein.png", "options-2-3d-fenster.png",
                               "options-3-sprache.png", "options-4-verknuepfungen.png"};
        for (int i = 0; i < 4; ++i) {
            dlg.Pages->setCurrentIndex(i);
            QTest::qWait(50);
            QVERIFY(dlg.grab().save(kxtest::ShotDir() + QLatin1Char('/') + names[i]));
        }
        // A help page as the desktop's browser shows it, drawn by Qt's own HTML view.
        QTextBrowser page;
        page.resize(800, 700);
        page.setSource(QUrl::fromLocalFile(QString::fromStdString(Param().ProgramDir) +
                                           QStringLiteral("help/de/einstellungen.html")));
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.toPlainText().contains(QStringLiteral("Programmverknüpfungen")));
        QVERIFY(page.grab().save(kxtest::ShotDir() + QStringLiteral("/help-einstellungen.png")));
    }
};

KX_GUI_TEST_MAIN(TestOptions)

#include "test_options.moc"
