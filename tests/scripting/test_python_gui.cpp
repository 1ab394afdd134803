// Scripting on the real main window: start-up scripts, the "Skripte" menu with its undo step,
// and the script manager running, showing output and stopping an endless script.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_pythoncommands.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "scripting/codeeditor.h"
#include "scripting/d_PythonManager.h"
#include "scripting/pyEngine.h"

using namespace kx;

namespace {

void WriteScript(const std::string& sub, const std::string& name, const std::string& text) {
    const auto dir = std::filesystem::path(UserDataDir()) / "Python" / sub;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name) << text;
}

void Shot(QWidget& w, const char* name) {
    w.grab().save(kxtest::ShotDir() + QLatin1Char('/') + QLatin1String(name));
}

QAction* MenuEntry(QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions()) {
        if (a->text() == caption) {
            return a;
        }
    }
    return nullptr;
}

}  // namespace

class TestPythonGui : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        SetScriptEngine(&m_engine);
        Param().SetUsePython(true);
        WriteScript("OnStartup", "a_start.py",
                    "import kxd\nkxd.AddPart('40002')\nprint('started')\n");
        WriteScript("OnStartup", "b_broken.py", "raise ValueError('start-up broke')\n");
        WriteScript("Menu", "Mine.py", "print('mine')\n");
    }

    void startUpAndMenuScriptsRunOnTheModelWithOneUndoStep() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        QCOMPARE(model.Parts().Count(), size_t(1));
        // The broken start-up script's traceback is kept for the manager and reported.
        QVERIFY(form.Python()->UnseenOutput().contains(QStringLiteral("start-up broke")));
        QVERIFY(form.Python()->UnseenOutput().contains(QStringLiteral("started")));
        QVERIFY(form.StatusText(0).contains(QStringLiteral("b_broken.py")));

        QMenu* menu = form.Commands().Menu("menScripts");
        QVERIFY(menu && menu->menuAction()->isVisible());
        QVERIFY(MenuEntry(menu, QStringLiteral("Mine")));
        QAction* stairs = MenuEntry(menu, QStringLiteral("Build a staircase"));
        QVERIFY(stairs);
        QCOMPARE(menu->actions().first()->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F2));
        stairs->trigger();
        QCOMPARE(model.Parts().Count(), size_t(16));
        const TBauteil& top = model.Parts()[15];
        QCOMPARE(top.Position().X, 6.0f);
        QCOMPARE(top.Position().Y, 6.0f);
        QVERIFY(form.Commands().Execute("menUndo"));
        QCOMPARE(model.Parts().Count(), size_t(1));

        // With scripting switched off, the menus go and nothing runs.
        Param().SetUsePython(false);
        form.Python()->DoPythonGuiInit();
        QVERIFY(!menu->menuAction()->isVisible());
        QVERIFY(!form.Commands().Action("menPythonManager")->isVisible());
        form.Python()->RunMenuScript(QString::fromStdString(
            (std::filesystem::path(Param().ProgramDir) / "Python/Menu/Build a staircase.py")
                .string()));
        QCOMPARE(model.Parts().Count(), size_t(1));
        Param().SetUsePython(true);
    }

    void theManagerRunsShowsOutputAndStopsAnEndlessScript() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        bool checked = false;
        kxtest::AnswerNextDialog<TFormPython>([&](TFormPython* m) {
            // What the start-up scripts said is waiting in the output pane.
            QVERIFY(m->Output()->toPlainText().contains(QStringLiteral("start-up broke")));
            m->Editor()->setPlainText(QStringLiteral(
                "import kxd\n\n# three blocks in a row\nfor i in range(3):\n"
                "    name = kxd.AddPart(\"40001\")\n"
                "    kxd.GetPartAtIndex(kxd.GetPartCount() - 1).Object3D.MoveRed(20 * i)\n"
                "    print(\"placed\", name)\n"
                "print(\"parts:\", kxd.GetPartCount())\n"));
            m->RunScript();
            QCOMPARE(m->Output()->toPlainText(),
                     QStringLiteral("placed F40001_1\nplaced F40001_2\nplaced F40001_3\n"
                                    "parts: 4\n"));
            m->resize(760, 560);
            Shot(*m, "python-manager.png");

            m->Editor()->setPlainText(QStringLiteral("print('looping')\nwhile True:\n    pass\n"));
            QTimer::singleShot(400, m, [m] {
                QVERIFY(m->RunningLabel()->isVisible());
                QVERIFY(!m->RunButton()->isEnabled());
                Shot(*m, "python-manager-running.png");
                m->StopButton()->click();
            });
            m->RunScript();
            QVERIFY(m->Output()->toPlainText().startsWith(QStringLiteral("looping\n")));
            QVERIFY(m->Output()->toPlainText().contains(QStringLiteral("angehalten")));
            QVERIFY(!m->Running());
            QTRY_VERIFY(!m->RunningLabel()->isVisible());

            // "Speichern unter" keeps the file name when the dialog is cancelled.
            const QString file = kxtest::ShotDir() + QStringLiteral("/saved.py");
            m->FileChooser = [file](bool, const QString&) { return file; };
            m->SaveScriptAs();
            QCOMPARE(m->FileName(), file);
            m->FileChooser = [](bool, const QString&) { return QString(); };
            m->SaveScriptAs();
            QCOMPARE(m->FileName(), file);
            QCOMPARE(m->StatusText(), file);
            checked = true;
            m->close();
        });
        QVERIFY(form.Commands().Execute("menPythonManager"));
        QVERIFY(checked);
        QCOMPARE(form.Model().Parts().Count(), size_t(4));
        // The manager's text is kept for "Letztes Python-Script ausführen".
        QCOMPARE(Param().GetLastPythonScript().at(0), std::string("print('looping')"));
    }

    void theLastScriptRunsAgainAndAStoppedScriptIsUndoneInOneStep() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const size_t before = model.Parts().Count();
        Param().SetLastPythonScript(
            {"import kxd", "for i in range(2):", "    kxd.AddPart('40001')"});
        QVERIFY(form.Commands().Execute("menRunLastPython"));
        QCOMPARE(model.Parts().Count(), before + 2);

        // A script stopped half-way keeps what it did; one undo takes all of it back.
        kxtest::AnswerNextDialog<TFormPython>([](TFormPython* m) {
            m->Editor()->setPlainText(QStringLiteral(
                "import kxd\nkxd.AddPart('40002')\nkxd.AddPart('40002')\nwhile True:\n    pass\n"));
            QTimer::singleShot(400, m, [m] { m->StopButton()->click(); });
            m->RunScript();
            QVERIFY(!m->Running());
            m->close();
        });
        QVERIFY(form.Commands().Execute("menPythonManager"));
        QCOMPARE(model.Parts().Count(), before + 4);
        QVERIFY(form.Commands().Execute("menUndo"));
        QCOMPARE(model.Parts().Count(), before + 2);
    }

private:
    TPyEngine m_engine;
};

KX_GUI_TEST_MAIN(TestPythonGui)
#include "test_python_gui.moc"
