// The main window's controls on the real window: enabled states that follow the model, the
// group buttons and hints of the toolbar, the view that follows its box, the maximised start,
// the maintainer entries of the tile menu and the graphics information.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <deque>
#include <functional>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "catalogue/d_PartTools.h"
#include "catalogue/f_Library.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "view/d_Bildgroesse.h"
#include "view/f_EditModes.h"
#include "view/f_GlInfo.h"
#include "view/r_glinfo.h"
#include "view/u_scene.h"
#include "view/u_viewer.h"

using namespace kx;

namespace {

using kxtest::AnswerNextDialog;

/// Lets the window finish what the model has reported.
void Settle() {
    QCoreApplication::processEvents();
}

bool Enabled(TMainForm& form, const char* command) {
    return form.Commands().Action(command)->isEnabled();
}

QSize BoxLessFive(TMainForm& form) {
    return form.ViewBox()->contentsRect().size() - QSize(5, 5);
}

/// The rows of every page of the graphics-information window: label to value.
QMap<QString, QString> GlRows(QWidget* dialog) {
    QMap<QString, QString> rows;
    for (QFormLayout* form : dialog->findChildren<QFormLayout*>()) {
        for (int r = 0; r < form->rowCount(); ++r) {
            auto* label = qobject_cast<QLabel*>(form->itemAt(r, QFormLayout::LabelRole)->widget());
            auto* value = qobject_cast<QLabel*>(form->itemAt(r, QFormLayout::FieldRole)->widget());
            if (label && value) {
                rows.insert(label->text(), value->text());
            }
        }
    }
    return rows;
}

}  // namespace

class TestMainControls : public QObject {
    Q_OBJECT
private slots:
    void commandStatesFollowTheSelectionAndTheModelsWord() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const std::string first = model.AddBaustein("40001");
        const std::string second = model.AddBaustein("40002");
        model.DeSelectAllBausteine();
        Settle();
        QToolButton* group = form.ToolButton("btnGroup");
        QToolButton* degroup = form.ToolButton("btnDeGroup");
        QVERIFY(group && degroup);
        QVERIFY(!Enabled(form, "menCameraCenter"));
        QVERIFY(!Enabled(form, "menDelete"));
        QVERIFY(!form.ToolButton("btnDelete")->isEnabled());
        QVERIFY(!group->isEnabled() && !degroup->isEnabled());

        // Selecting a part makes its commands available at once, shortcut included, without a
        // menu having been opened.
        model.SelectBaustein(first);
        Settle();
        QVERIFY(Enabled(form, "menCameraCenter"));
        QVERIFY(Enabled(form, "menDelete"));
        QVERIFY(form.ToolButton("btnDelete")->isEnabled());
        // Shortcuts reach only the active window. Under an X server without a window
        // manager, shared with other window tests, the server may not make it active: the
        // application is then told directly.
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form, 1000)) {
            QApplication::setActiveWindow(&form);
        }
        QCOMPARE(QApplication::activeWindow(), &form);
        form.Scene().CameraTarget()->SetPosition({5, 6, 7});
        QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);
        QVERIFY(Distance(form.Scene().CameraTarget()->AbsolutePosition(),
                         model.SelectedPart()->AbsolutePosition()) < 1e-5f);

        // Co-selecting offers grouping; the group button groups; then the model says grouping
        // is over and dissolving possible, and a refresh of the table does not overrule it.
        model.CoSelectBaustein(second, true, false, true);
        Settle();
        QVERIFY(group->isEnabled());
        QVERIFY(Enabled(form, "menGroup"));
        group->click();
        Settle();
        QCOMPARE(model.Groups().size(), size_t(1));
        QVERIFY(!group->isEnabled());
        QVERIFY(degroup->isEnabled());
        form.Commands().UpdateEnabled();
        QVERIFY(!Enabled(form, "menGroup"));
        QVERIFY(Enabled(form, "menDeGroup"));
        QVERIFY(!form.Commands().Execute("menGroup"));
        QCOMPARE(model.Groups().size(), size_t(1));

        // Deselecting takes it all back.
        model.DeSelectAllBausteine();
        Settle();
        QVERIFY(!Enabled(form, "menCameraCenter"));
        QVERIFY(!Enabled(form, "menDelete"));
        QVERIFY(!group->isEnabled() && !degroup->isEnabled());
        form.Commands().UpdateEnabled();
        QVERIFY(!Enabled(form, "menDelete") && !Enabled(form, "menDeGroup"));
        QVERIFY(!form.Commands().Execute("menDelete"));
        QCOMPARE(model.Parts().Count(), size_t(2));
    }

    void groupButtonsSitBetweenTheModeButtonsAndGroupMode() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TEditModeBar& modes = *form.Modes();
        const int color = modes.btnColor->geometry().x();
        const int group = form.ToolButton("btnGroup")->geometry().x();
        const int degroup = form.ToolButton("btnDeGroup")->geometry().x();
        const int groupMode = modes.btnGroupMode->geometry().x();
        QVERIFY(form.ToolButton("btnGroup")->parentWidget() == &modes);
        QVERIFY(color < group && group < degroup && degroup < groupMode);
    }

    void toolbarHintsComeFromTheLanguageTable() {
        {
            TMainForm form;
            TEditModeBar& modes = *form.Modes();
            QCOMPARE(modes.btnModeSelect->toolTip(), QStringLiteral("Bauteile selektieren"));
            QCOMPARE(form.ToolButton("btnGroup")->toolTip(), QStringLiteral("Bauteile gruppieren"));
            QCOMPARE(form.ToolButton("btnDeGroup")->toolTip(),
                     QStringLiteral("Bauteilgruppe auflösen"));
        }
        auto old = SetLanguage(std::make_unique<TkxLanguage>(TIniFileEx(
            std::vector<std::string>{"[MAIN]", "00073=Select parts", "00074=Rotate view",
                                     "00075=Hide parts", "00076=Colour parts", "00077=Group parts",
                                     "00078=Dissolve part group", "00079=Group mode"})));
        {
            TMainForm form;
            TEditModeBar& modes = *form.Modes();
            QCOMPARE(modes.btnModeSelect->toolTip(), QStringLiteral("Select parts"));
            QCOMPARE(modes.btnModeRot->toolTip(), QStringLiteral("Rotate view"));
            QCOMPARE(modes.btnVisible->toolTip(), QStringLiteral("Hide parts"));
            QCOMPARE(modes.btnColor->toolTip(), QStringLiteral("Colour parts"));
            QCOMPARE(modes.btnGroupMode->toolTip(), QStringLiteral("Group mode"));
            QCOMPARE(form.ToolButton("btnGroup")->toolTip(), QStringLiteral("Group parts"));
            QCOMPARE(form.ToolButton("btnDeGroup")->toolTip(),
                     QStringLiteral("Dissolve part group"));
        }
        SetLanguage(std::move(old));
    }

    void theWindowOpensMaximisedAndTheViewFollowsItsBox() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.windowState() & Qt::WindowMaximized);
        Settle();
        QWidget* view = form.Viewer();
        QCOMPARE(view->size(), BoxLessFive(form));

        // A chosen picture size holds while the box keeps its size...
        AnswerNextDialog<TdlgBildgroesse>([](TdlgBildgroesse* dlg) {
            const auto found = dlg->Sizes()->findItems(QStringLiteral("320x240"), Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            dlg->Sizes()->setCurrentItem(found.first());
            dlg->accept();
        });
        QVERIFY(form.Commands().Execute("menPictureSize"));
        QCOMPARE(view->size(), QSize(320, 240));
        Settle();
        QCOMPARE(view->size(), QSize(320, 240));

        // ...and the view follows the box again when the library splitter moves.
        auto* splitter = form.findChild<QSplitter*>(QStringLiteral("Splitter2"));
        QVERIFY(splitter);
        QList<int> sizes = splitter->sizes();
        sizes[0] += 60;
        sizes[1] -= 60;
        splitter->setSizes(sizes);
        Settle();
        QVERIFY(view->size() != QSize(320, 240));
        QCOMPARE(view->size(), BoxLessFive(form));

        // The same after another picture size, when the window changes size.
        AnswerNextDialog<TdlgBildgroesse>([](TdlgBildgroesse* dlg) {
            const auto found = dlg->Sizes()->findItems(QStringLiteral("160x120"), Qt::MatchExactly);
            dlg->Sizes()->setCurrentItem(found.first());
            dlg->accept();
        });
        QVERIFY(form.Commands().Execute("menPictureSize"));
        QCOMPARE(view->size(), QSize(160, 120));
        form.setWindowState(Qt::WindowNoState);
        form.resize(form.width() - 120, form.height() - 90);
        QTRY_VERIFY(view->size() != QSize(160, 120));
        QCOMPARE(view->size(), BoxLessFive(form));
    }

    void dialogsOverTheViewSuppressTheNextMouseMove() {
        QTemporaryDir dir;
        TMainForm form;
        std::deque<QString> answers{dir.filePath(QStringLiteral("a")),
                                    dir.filePath(QStringLiteral("b"))};
        form.FileChooser = [&answers](bool, const QString&) {
            const QString next = answers.front();
            answers.pop_front();
            return next;
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Model().AddBaustein("40001");
        TViewerInteraction& input = *form.Interaction();
        input.SetSuppressMouseMove(false);
        form.Commands().Execute("menSave");
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("a.kxm"))));
        QVERIFY(input.SuppressMouseMove());
        input.SetSuppressMouseMove(false);
        form.Commands().Execute("menSavePNG");
        QVERIFY(input.SuppressMouseMove());
    }

    void maintainerCommandsShowInTheTileMenuOnlyInDeveloperMode() {
        const char* ids[] = {"menCopyPart", "menEditDef", "menEditSort", "menImportExternalPart"};
        {
            TMainForm form;
            QMenu* menu = form.Library()->TileMenu();
            for (const char* id : ids) {
                auto* entry = menu->findChild<QAction*>(QString::fromLatin1(id));
                QVERIFY2(entry && !entry->isVisible(), id);
            }
        }
        Param().DeveloperMode = true;
        TMainForm form;
        Param().DeveloperMode = false;
        form.show();
        QMenu* menu = form.Library()->TileMenu();
        for (const char* id : ids) {
            auto* entry = menu->findChild<QAction*>(QString::fromLatin1(id));
            QVERIFY2(entry && entry->isVisible() && !entry->text().isEmpty(), id);
        }
        QCOMPARE(menu->findChild<QAction*>(QStringLiteral("menCopyPart"))->text(),
                 QStringLiteral("Bauteil kopieren"));
        QVERIFY(form.Commands().Action("menRoundParts")->isVisible());

        // The sort entry opens the sort list of the tab on show.
        int listed = -1;
        AnswerNextDialog<TdlgEditSort>([&listed](TdlgEditSort* dlg) {
            listed = dlg->lbParts->count();
            dlg->reject();
        });
        menu->findChild<QAction*>(QStringLiteral("menEditSort"))->trigger();
        QVERIFY(listed > 0);
    }

    void graphicsInformationShowsAccelerationAndEveryBufferDepth() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QMap<QString, QString> rows;
        AnswerNextDialog<TFormGlInfo>([&rows](TFormGlInfo* dlg) {
            rows = GlRows(dlg);
            dlg->accept();
        });
        QVERIFY(form.Commands().Execute("menGlInfo"));
        QVERIFY(!rows.value(QStringLiteral("Renderer")).isEmpty());
        const bool software =
            IsSoftwareRenderer(rows.value(QStringLiteral("Renderer")).toStdString());
        QCOMPARE(rows.value(QStringLiteral("Beschleunigung")),
                 software ? QStringLiteral("Software") : QStringLiteral("Hardware"));
        QVERIFY(!rows.value(QStringLiteral("Pufferwechsel")).isEmpty());
        QVERIFY(rows.contains(QStringLiteral("Stereo")));
        QVERIFY(rows.value(QStringLiteral("Subpixel")).toInt() >= 4);
        QVERIFY(rows.contains(QStringLiteral("Akkumulation")));
        QVERIFY(rows.contains(QStringLiteral("Hilfspuffer")));
        if (form.Viewer()->format().profile() == QSurfaceFormat::CoreProfile) {
            QCOMPARE(rows.value(QStringLiteral("Akkumulation")), QStringLiteral("0/0/0/0"));
            QCOMPARE(rows.value(QStringLiteral("Hilfspuffer")), QStringLiteral("0"));
        }
    }
};

KX_GUI_TEST_MAIN(TestMainControls)

#include "test_main_controls.moc"
