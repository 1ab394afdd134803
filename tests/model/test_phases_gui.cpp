// The build-phase windows driven as a user would: the stage chooser, the visible-phases window
// (also opened by the model's commands) and the build-phase display.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/u_application.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"
#include "model/d_SelectStage.h"
#include "model/d_ShowBauphase.h"
#include "model/f_Bauphasen.h"
#include "model/u_groupstreebinding.h"
#include "view/u_scene.h"

using namespace kx;

namespace {

/// Saves a picture of the window when KX_SCREENSHOT_DIR names a folder.
void Screenshot(QWidget& w, const char* name) {
    const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        w.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
}

/// Runs action on the modal dialog of type T as soon as it is open.
template <typename T>
void WhenOpen(std::function<void(T&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dlg);
        }
    });
    timer->start();
}

std::vector<bool> Checks(const TFormBauphasen& form) {
    return form.States();
}

/// A kit of one triangle mesh per number, in a scratch folder.
class TKit {
public:
    explicit TKit(std::initializer_list<const char*> numbers) {
        TMesh triangle;
        triangle.Positions = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
        triangle.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
        for (const char* number : numbers) {
            WriteStlFile(Prog() / "hires" / (std::string(number) + ".stl"), triangle);
        }
    }
    std::filesystem::path Prog() const {
        return std::filesystem::path(m_dir.path().toStdString()) / "prog";
    }

private:
    QTemporaryDir m_dir;
};

/// The main window's part of the wiring: the groups tree refills when the model says so.
class TRefillingView : public TNullModelView {
public:
    void GroupsTreeChanged() override {
        if (Binding) {
            Binding->Refill();
        }
    }
    TGroupsTreeBinding* Binding = nullptr;
};

}  // namespace

class TestPhaseWindows : public QObject {
    Q_OBJECT
private slots:
    void stageChooserListsNumberedPhasesAndReturnsTheChosenLine() {
        TdlgSelectStage dlg(4);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Bauphase wählen"));
        QCOMPARE(dlg.Stages()->count(), 4);
        QCOMPARE(dlg.Stages()->item(0)->text(), QStringLiteral("1. Phase"));
        QCOMPARE(dlg.Stages()->item(3)->text(), QStringLiteral("4. Phase"));
        QCOMPARE(dlg.Stages()->currentRow(), 0);
        QCOMPARE(dlg.OkButton()->text(), QStringLiteral("OK"));
        QCOMPARE(dlg.CancelButton()->text(), QStringLiteral("Abbrechen"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.Stages()->setCurrentRow(2);
        Screenshot(dlg, "d_SelectStage");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Result(), 3);
    }

    void stageChooserCancelledGivesZeroAndTheFirstLineByDefault() {
        WhenOpen<TdlgSelectStage>([](TdlgSelectStage& d) { d.CancelButton()->click(); });
        QCOMPARE(TdlgSelectStage::Execute(3), 0);
        WhenOpen<TdlgSelectStage>([](TdlgSelectStage& d) { d.OkButton()->click(); });
        QCOMPARE(TdlgSelectStage::Execute(3), 1);
    }

    void stageChooserTextsComeFromTheLanguageTable() {
        auto old = SetLanguage(std::make_unique<TkxLanguage>(
            TIniFileEx(std::vector<std::string>{"[D_SELECTSTAGE]", "00001=Choose build phase",
                                                "00002=Phase", "00003=OK", "00004=Cancel"})));
        TdlgSelectStage dlg(1);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Choose build phase"));
        QCOMPARE(dlg.CancelButton()->text(), QStringLiteral("Cancel"));
        SetLanguage(std::move(old));
    }

    void visiblePhasesWindowButtonsSetClearAndInvert() {
        TFormBauphasen form({true, false, true});
        QCOMPARE(form.windowTitle(), QStringLiteral("Bauphasen ein/ausblenden"));
        QCOMPARE(form.Phases()->count(), 3);
        QCOMPARE(form.Phases()->item(1)->text(), QStringLiteral("Bauphase 2"));
        QCOMPARE(form.AllButton()->text(), QStringLiteral("Alle"));
        QCOMPARE(form.NoneButton()->text(), QStringLiteral("Keinen"));
        QCOMPARE(form.InvertButton()->text(), QStringLiteral("Umkehren"));
        QCOMPARE(form.HelpButton()->text(), QStringLiteral("?"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Screenshot(form, "f_Bauphasen");

        QTest::mouseClick(form.InvertButton(), Qt::LeftButton);
        QCOMPARE(Checks(form), (std::vector<bool>{false, true, false}));
        QTest::mouseClick(form.AllButton(), Qt::LeftButton);
        QCOMPARE(Checks(form), (std::vector<bool>{true, true, true}));
        QTest::mouseClick(form.NoneButton(), Qt::LeftButton);
        QCOMPARE(Checks(form), (std::vector<bool>{false, false, false}));

        // A click on the check box of a line toggles just that phase.
        QListWidget* list = form.Phases();
        const QRect line = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(line.left() + line.height() / 2 + 2, line.center().y()));
        QCOMPARE(Checks(form), (std::vector<bool>{false, true, false}));

        QSignalSpy help(&form, &TFormBauphasen::HelpRequested);
        QTest::mouseClick(form.HelpButton(), Qt::LeftButton);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toInt(), 4031);
    }

    void modelCommandsOpenTheRealWindows() {
        QTemporaryDir kit;
        TMesh triangle;
        triangle.Positions = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
        triangle.Normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
        QVERIFY(WriteStlFile(
            std::filesystem::path(kit.path().toStdString()) / "prog" / "hires" / "31010.stl",
            triangle));
        TPartFiles files(std::filesystem::path(kit.path().toStdString()) / "prog", {});
        TScene scene;
        BuildMainScene(scene);
        TDefCache defs;
        TffCache meshes;
        TkxMain model(scene, files, defs, meshes);
        TPhaseWindowsQt windows;
        int helpContext = 0;
        windows.OnHelp = [&](int context) { helpContext = context; };
        model.SetPhaseWindows(&windows);
        model.DeleteAll();

        const std::string a = model.AddBaustein("31010");
        model.NewBauphase();
        model.NewBauphase();
        const std::string c = model.AddBaustein("31010");
        model.SetPhaseVisible(2, false);

        // "Umkehren" then OK: phases 1 and 3 hidden, 2 shown.
        WhenOpen<TFormBauphasen>([](TFormBauphasen& f) {
            f.HelpButton()->click();
            f.InvertButton()->click();
            f.OkButton()->click();
        });
        model.BauphasenUebersicht();
        QCOMPARE(helpContext, 4031);
        QVERIFY(!model.PhaseVisible(1));
        QVERIFY(model.PhaseVisible(2));
        QVERIFY(!model.PhaseVisible(3));
        QVERIFY(!model.FindBauteil(a)->Object()->Visible());

        // Cancelled: nothing changes.
        WhenOpen<TFormBauphasen>([](TFormBauphasen& f) {
            f.AllButton()->click();
            f.CancelButton()->click();
        });
        model.BauphasenUebersicht();
        QVERIFY(!model.PhaseVisible(1));

        // Moving the selected part into the second line of the chooser.
        model.SelectBaustein(c);
        int lines = 0;
        WhenOpen<TdlgSelectStage>([&](TdlgSelectStage& d) {
            lines = d.Stages()->count();
            d.Stages()->setCurrentRow(1);
            d.OkButton()->click();
        });
        model.ChangeStageOfSelectedParts();
        QCOMPARE(lines, 3);
        QCOMPARE(model.FindBauteil(c)->Phase(), 2);
    }

    void groupsTreeFollowsTheModelAndDrivesItsGroupCommands() {
        TKit kit{"31010", "32064"};
        TPartFiles files(kit.Prog(), {});
        TScene scene;
        BuildMainScene(scene);
        TDefCache defs;
        TffCache meshes;
        TkxMain model(scene, files, defs, meshes);
        TRefillingView view;
        model.SetView(&view);
        model.DeleteAll();
        QTreeWidget tree;
        tree.setHeaderHidden(true);
        TGroupsTreeBinding binding(tree, model);
        view.Binding = &binding;

        const std::string a = model.AddBaustein("31010");
        const std::string b = model.AddBaustein("32064");
        const std::string c = model.AddBaustein("31010");
        model.AddGroup({c}, true);  // internal: never shown
        model.SelectBaustein(a);
        model.CoSelectBaustein(b, true, false, false);
        TGroup* group = model.GroupBauteile();
        QVERIFY(group);
        QCOMPARE(tree.topLevelItemCount(), 1);
        QTreeWidgetItem* groupItem = tree.topLevelItem(0);
        QCOMPARE(groupItem->text(0), QStringLiteral("Gruppe"));
        QCOMPARE(groupItem->data(0, TGroupsTreeBinding::kImageRole).toInt(), 12);
        QCOMPARE(groupItem->childCount(), 2);
        QCOMPARE(groupItem->child(1)->text(0), QString::fromStdString(b));
        QCOMPARE(groupItem->child(1)->data(0, TGroupsTreeBinding::kImageRole).toInt(), 48);
        QVERIFY(groupItem->flags() & Qt::ItemIsEditable);
        QVERIFY(!(groupItem->child(0)->flags() & Qt::ItemIsEditable));
        tree.expandAll();
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        Screenshot(tree, "tvGroups");

        // Renaming in place renames the group.
        groupItem->setText(0, QStringLiteral("Räder"));
        QCOMPARE(QString::fromStdString(group->Name), QStringLiteral("Räder"));

        // Choosing a member node selects its part; while suppressed it does not.
        model.DeSelectAllBausteine();
        tree.setCurrentItem(groupItem->child(1));
        QVERIFY(model.SelectedPart());
        QCOMPARE(QString::fromStdString(model.SelectedPart()->Name()), QString::fromStdString(b));
        model.DeSelectAllBausteine();
        binding.SetEventsSuppressed(true);
        tree.setCurrentItem(groupItem->child(0));
        QVERIFY(!model.SelectedPart());
        binding.SetEventsSuppressed(false);

        // Popup entries follow the node.
        QMenu popup;
        QAction* showOnly = popup.addAction(QStringLiteral("Nur diese Gruppe sichtbar"));
        QAction* remove = popup.addAction(QStringLiteral("Bauteil aus der Gruppe entfernen"));
        QAction* add = popup.addAction(QStringLiteral("Selektion der Gruppe hinzufügen"));
        QAction* duplicate = popup.addAction(QStringLiteral("Gruppe duplizieren"));
        QAction* close = popup.addAction(QStringLiteral("Schließen"));
        binding.UpdatePopup(showOnly, remove, add, duplicate, close);
        QVERIFY(showOnly->isVisible() && remove->isVisible() && close->isVisible());
        QVERIFY(!add->isVisible() && !duplicate->isVisible());
        tree.setCurrentItem(groupItem);
        binding.UpdatePopup(showOnly, remove, add, duplicate, close);
        QVERIFY(showOnly->isVisible() && duplicate->isVisible());
        QVERIFY(!remove->isVisible() && !add->isVisible());

        // Duplicating adds a second group holding two new parts.
        binding.DuplicateGroup();
        QCOMPARE(tree.topLevelItemCount(), 2);
        QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("Räder - Kopie"));
        QCOMPARE(model.Parts().Count(), size_t(5));

        // Removing both members of the copy: its node goes at once, the group at the refresh.
        for (int i = 0; i < 2; ++i) {
            tree.setCurrentItem(tree.topLevelItem(1)->child(0));
            binding.RemovePartFromGroup();
        }
        QCOMPARE(tree.topLevelItem(1)->childCount(), 0);
        model.UpdateGroupTreeView();
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(model.Groups().size(), size_t(2));  // the shown group and the internal one
    }

    void phaseDisplayTakesItsPlaceFromTheSettingsAndStoresItOnFocusLoss() {
        TkxParam& param = Param();
        param.SetPhaseWindowLeft(120);
        param.SetPhaseWindowTop(90);
        param.SetPhaseWindowWidth(150);
        param.SetPhaseWindowHeight(110);
        TdlgShowBauphase display;
        QVERIFY(!display.isVisible());  // created hidden
        QVERIFY(display.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(display.windowTitle(), QStringLiteral("Bauphase"));
        QCOMPARE(display.pos(), QPoint(120, 90));
        QCOMPARE(display.size(), QSize(150, 110));

        display.SetBauphase(12);
        QCOMPARE(display.Bauphase(), 12);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        Screenshot(display, "d_ShowBauphase");
        QVERIFY(display.DigitFont().bold());
        QVERIFY(display.DigitFont().pointSize() > 9);

        display.move(40, 30);
        display.resize(200, 80);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(&display, &out);
        QCOMPARE(param.GetPhaseWindowLeft(), display.x());
        QCOMPARE(param.GetPhaseWindowTop(), display.y());
        QCOMPARE(param.GetPhaseWindowWidth(), 200);
        QCOMPARE(param.GetPhaseWindowHeight(), 80);
    }

    void phaseDisplayKeepsWildSettingsWithinReach() {
        TkxParam& param = Param();
        param.SetPhaseWindowWidth(-5);
        param.SetPhaseWindowHeight(1000000);
        TdlgShowBauphase display;
        QVERIFY(display.width() >= 16);
        QVERIFY(display.height() <= 4096);
        param.SetPhaseWindowWidth(64);
        param.SetPhaseWindowHeight(64);
    }

    void digitSizeIsTheLargestThatFits() {
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::Monospace);
        font.setBold(true);
        const QSize area(120, 60);
        const int size = TdlgShowBauphase::FitFontSize(QStringLiteral("42"), font, area);
        font.setPointSize(size);
        QFontMetrics fits(font);
        QVERIFY(fits.horizontalAdvance(QStringLiteral("42")) <= area.width());
        QVERIFY(fits.height() <= area.height());
        font.setPointSize(size + 1);
        QFontMetrics tooBig(font);
        QVERIFY(tooBig.horizontalAdvance(QStringLiteral("42")) > area.width() ||
                tooBig.height() > area.height());
        // A longer number needs smaller digits; nothing fits an empty area but size 1.
        QVERIFY(TdlgShowBauphase::FitFontSize(QStringLiteral("4242"), font, QSize(120, 400)) <
                TdlgShowBauphase::FitFontSize(QStringLiteral("42"), font, QSize(120, 400)));
        QCOMPARE(TdlgShowBauphase::FitFontSize(QStringLiteral("1"), font, QSize(0, 0)), 1);
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("KORVEX_CONFIG_DIR", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("KORVEX_SYSTEM_CONFIG_DIR", (home.path() + QStringLiteral("/system")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    kx::TkxApplication app(argc, argv);
    TestPhaseWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_phases_gui.moc"
