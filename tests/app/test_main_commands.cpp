// The main window's command table: every command present, shortcuts, texts, enabled state.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_application.h"
#include "app/u_commandtable.h"
#include "foundation/u_language.h"
#include "kx_gui_main.h"

using namespace kx;

class TestMainCommands : public QObject {
    Q_OBJECT
private slots:
    void everyRowBecomesAnActionOrMenuWithItsShortcut() {
        TMainForm form;
        TCommandTable& table = form.Commands();
        QSet<QString> ids;
        for (const TCommandRow& row : table.Rows()) {
            QVERIFY2(!ids.contains(row.Id), row.Id);
            ids.insert(row.Id);
            if (row.Kind == TCommandKind::Separator) {
                continue;
            }
            QAction* action = table.Action(row.Id);
            QVERIFY2(action, row.Id);
            QCOMPARE(action->text(), QString::fromUtf8(row.Caption));
            if (*row.Shortcut) {
                QCOMPARE(action->shortcut(),
                         QKeySequence(QString::fromUtf8(row.Shortcut), QKeySequence::PortableText));
            }
        }
        QCOMPARE(table.Action("menSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(table.Action("menSavePNG")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
        // Keyboard-only commands are not in any menu but their shortcut works on the window.
        QVERIFY(form.actions().contains(table.Action("menHires")));
    }

    void commandsWithoutHandlerAreDisabledNeverSilent() {
        TMainForm form;
        TCommandTable& table = form.Commands();
        QVERIFY(!table.Action("menRotBinding")->isEnabled());
        QVERIFY(!table.Execute("menRotBinding"));
        QVERIFY(table.Action("menExit")->isEnabled());

        int runs = 0;
        bool allowed = false;
        table.Bind(
            "menRotBinding", [&] { ++runs; }, [&] { return allowed; });
        QVERIFY(!table.Action("menRotBinding")->isEnabled());
        QVERIFY(!table.Execute("menRotBinding"));
        allowed = true;
        table.UpdateEnabled();
        QVERIFY(table.Action("menRotBinding")->isEnabled());
        table.Action("menRotBinding")->trigger();
        QCOMPARE(runs, 1);
    }

    void developerCommandsShowOnlyInDeveloperMode() {
        TMainForm form;
        QVERIFY(!form.Commands().Action("menRoundParts")->isVisible());
    }

    void captionsComeFromTheLanguageTable() {
        auto old = SetLanguage(std::make_unique<TkxLanguage>(TIniFileEx(
            std::vector<std::string>{"[MAIN]", "00002=New", "00005=Save model", "00130=Parts"})));
        TMainForm form;
        QCOMPARE(form.Commands().Action("menNew")->text(), QStringLiteral("New"));
        QCOMPARE(form.Commands().Action("menSave")->text(), QStringLiteral("Save model"));
        // A key the table lacks keeps the German caption.
        QCOMPARE(form.Commands().Action("menLoad")->text(), QStringLiteral("Modell laden"));
        SetLanguage(std::move(old));
    }

    void statusBarHasFourPanelsAndShowsTheVersion() {
        TMainForm form;
        QCOMPARE(form.StatusText(0), QStringLiteral("Version 1.8.2"));
        form.SetStatusText(3, QStringLiteral("x"));
        QCOMPARE(form.StatusText(3), QStringLiteral("x"));
        QCOMPARE(form.StatusText(4), QString());
    }
};

KX_GUI_TEST_MAIN(TestMainCommands)

#include "test_main_commands.moc"
