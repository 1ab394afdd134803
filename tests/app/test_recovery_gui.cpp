// Recovery after a crash on the real windows: a program changes its model, keeps a copy, and is
// killed; the next start asks whether to restore the copy and brings the change back.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_recoverykeeper.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"

using namespace kx;

namespace {

constexpr const char* ChildHome = "KX_RECOVERY_CHILD_HOME";

QStringList RecoveryFiles(const QString& dataHome) {
    return QDir(dataHome + QStringLiteral("/korvex-designer/recovery"))
        .entryList({QStringLiteral("recovery-*.kxm")}, QDir::Files);
}

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    /// Run by the test below as a program of its own: changes a model, waits for its copy and
    /// then waits to be killed.
    void childChangesItsModelUntilKilled() {
        const QByteArray home = qgetenv(ChildHome);
        if (home.isEmpty()) {
            QSKIP("runs only as the program that gets killed");
        }
        qputenv("XDG_DATA_HOME", home);
        TMainForm form;
        form.show();
        auto* keeper = form.findChild<TRecoveryKeeper*>();
        QVERIFY(keeper);
        keeper->SetInterval(300);
        QVERIFY(!form.Model().AddBaustein("40001").empty());
        QVERIFY(!form.Model().AddBaustein("40002").empty());
        QTRY_VERIFY_WITH_TIMEOUT(!RecoveryFiles(QString::fromUtf8(home)).isEmpty(), 20000);
        QTest::qWait(600000);  // the parent kills it long before
    }

    void aKilledProgramsChangeIsOfferedAndRestoredAtTheNextStart() {
        QTemporaryDir home;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(ChildHome), home.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("childChangesItsModelUntilKilled")});
        QVERIFY(child.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!RecoveryFiles(home.path()).isEmpty(), 60000);
        const QString copy = RecoveryFiles(home.path()).first();
        QVERIFY(copy.contains(QString::number(child.processId())));
        child.kill();  // SIGKILL: no destructor, no close
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(RecoveryFiles(home.path()), QStringList{copy});

        // The next start: the question comes once the window is shown; Yes restores.
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        QString asked;
        kxtest::AnswerNextDialog<TdlgMessage>([&asked](TdlgMessage* dlg) {
            asked = dlg->findChild<QLabel*>(QStringLiteral("lblText"))->text();
            if (const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR"); !dir.isEmpty()) {
                dlg->grab().save(dir + QStringLiteral("/recovery-question.png"));
            }
            dlg->YesButton()->click();
        });
        {
            TMainForm form;
            form.show();
            QTRY_COMPARE_WITH_TIMEOUT(form.Model().Parts().Count(), size_t(2), 20000);
            QVERIFY(asked.contains(QStringLiteral("wiederherstellen")));
            QVERIFY(form.Model().IsModified());
            QVERIFY(form.Model().FileName.empty());
            QVERIFY(form.windowTitle().endsWith(QStringLiteral(" *")));
            // The crashed program's copy is gone; this program keeps its own (written on the
            // keeper's thread).
            form.findChild<TRecoveryKeeper*>()->WaitForWriter();
            const QStringList now = RecoveryFiles(home.path());
            QCOMPARE(now.size(), 1);
            QVERIFY(now.first() != copy);
            QVERIFY(now.first().contains(QString::number(QCoreApplication::applicationPid())));
            if (const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR"); !dir.isEmpty()) {
                form.grab().save(dir + QStringLiteral("/restored.png"));
            }
        }
        // A normal end removes this program's copy; nothing is offered any more.
        QVERIFY(RecoveryFiles(home.path()).isEmpty());
    }
};

KX_GUI_TEST_MAIN(TestRecovery)
#include "test_recovery_gui.moc"
