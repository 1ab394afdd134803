// The main window's command table: every command present, shortcuts, texts, enabled state.
#include <QAction>
#include <QMainWindow>
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
        QMainWindow owner;
        const std::vector<TCommandRow> rows = {
            {"menTop", "", 0, "Top", "", TCommandKind::Menu},
            {"menLater", "menTop", 0, "Later", "", TCommandKind::Item}};
        TCommandTable table(rows, &owner);
        table.BuildMenus(owner.menuBar(), false);
        // A command whose feature comes later is disabled and says so.
        QVERIFY(!table.Action("menLater")->isEnabled());
        QVERIFY(!table.Execute("menLater"));
        QCOMPARE(table.Action("menLater")->toolTip(),
                 QStringLiteral("Diese Funktion folgt in einer späteren Version."));
        QVERIFY(table.Menu("menTop")->toolTipsVisible());

        int runs = 0;
        bool allowed = false;
        table.Bind(
            "menLater", [&] { ++runs; }, [&] { return allowed; });
        QVERIFY(!table.Action("menLater")->isEnabled());
        QVERIFY(!table.Execute("menLater"));
        // A bound command disabled for now names the reason it is given, or none.
        QCOMPARE(table.Action("menLater")->toolTip(), QStringLiteral("Later"));
        table.SetDisabledHint("menLater", QStringLiteral("not yet"));
        QCOMPARE(table.Action("menLater")->toolTip(), QStringLiteral("not yet"));
        allowed = true;
        table.UpdateEnabled();
        QVERIFY(table.Action("menLater")->isEnabled());
        QCOMPARE(table.Action("menLater")->toolTip(), QStringLiteral("Later"));
        table.Action("menLater")->trigger();
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
