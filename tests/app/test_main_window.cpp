// The main window on the real commands: new, save, load, merge, recent files, the close
// question, pictures. Dialogs are answered the way a user would.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_commandtable.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"

using namespace kx;

namespace {

/// Waits for the next modal dialog of type T and lets act answer it.
template <typename T>
void AnswerNextDialog(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<T*>(modal)) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

void AnswerYesNo(bool yes) {
    AnswerNextDialog<TdlgMessage>([yes](QWidget* w) {
        auto* dlg = qobject_cast<TdlgMessage*>(w);
        QVERIFY(dlg);
        (yes ? dlg->YesButton() : dlg->NoButton())->click();
    });
}

void AnswerFile(const QString& path) {
    AnswerNextDialog<QFileDialog>([path](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        QVERIFY(dlg);
        dlg->selectFile(path);
        QMetaObject::invokeMethod(dlg, "accept");
    });
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString File(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void newSaveLoadAndMergeThroughTheCommands() {
        TMainForm form;
        form.show();
        TkxMain& model = form.Model();
        QVERIFY(!model.AddBaustein("40001").empty());
        QVERIFY(!model.AddBaustein("40002").empty());
        QCOMPARE(form.PartsTree()->topLevelItem(0)->childCount(), 2);

        // A model never saved asks for a name; "test" is saved as "test.kxm".
        AnswerFile(File("test"));
        form.Commands().Execute("menSave");
        QVERIFY(QFileInfo::exists(File("test.kxm")));
        QCOMPARE(form.StatusText(0), QStringLiteral("Modell erfolgreich gespeichert"));
        QVERIFY(form.windowTitle().endsWith(QStringLiteral("[test.kxm]")));
        QCOMPARE(QString::fromStdString(Param().GetLastFile(8)), File("test.kxm"));

        // "Neu" asks; "Nein" keeps everything.
        AnswerYesNo(false);
        form.Commands().Execute("menNew");
        QCOMPARE(model.Parts().Count(), size_t(2));
        AnswerYesNo(true);
        form.Commands().Execute("menNew");
        QCOMPARE(model.Parts().Count(), size_t(0));
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer []"));

        // Loading into an empty model asks nothing.
        AnswerFile(File("test.kxm"));
        form.Commands().Execute("menLoad");
        QCOMPARE(model.Parts().Count(), size_t(2));
        QCOMPARE(form.StatusText(0), QStringLiteral("Modell erfolgreich geladen"));

        // Merging keeps the caption and adds the parts under new names.
        const QString caption = form.windowTitle();
        AnswerFile(File("test.kxm"));
        form.Commands().Execute("menMerge");
        QCOMPARE(model.Parts().Count(), size_t(4));
        QCOMPARE(form.windowTitle(), caption);

        // Loading over parts asks first; "Nein" stops before any dialog.
        AnswerYesNo(false);
        form.Commands().Execute("menLoad");
        QCOMPARE(model.Parts().Count(), size_t(4));
    }

    void saveOverAnExistingFileAsksAndAFailedLoadSaysWhy() {
        TMainForm form;
        form.show();
        TkxMain& model = form.Model();
        model.AddBaustein("40001");
        QFile existing(File("old.kxm"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();

        AnswerFile(File("old.kxm"));
        AnswerYesNo(false);
        form.Commands().Execute("menSaveAs");
        QFile check(File("old.kxm"));
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), QByteArray("keep me"));
        // Cancelled: the model still has no file name and the next save asks again.
        QVERIFY(model.FileName.empty());

        // A broken file: the model stays as it was and a message tells why.
        QFile broken(File("broken.kxm"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("[COMMON]\r\nCount=5\r\n");
        broken.close();
        AnswerYesNo(true);
        AnswerFile(File("broken.kxm"));
        bool warned = false;
        QTimer::singleShot(1500, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                warned = true;
                static_cast<QDialog*>(w)->accept();
            }
        });
        form.Commands().Execute("menLoad");
        QTRY_VERIFY(warned);
        QCOMPARE(model.Parts().Count(), size_t(1));
    }

    void recentFilesAskBeforeDiscardingParts() {
        TMainForm form;
        form.show();
        TkxMain& model = form.Model();
        model.AddBaustein("40003");
        AnswerFile(File("recent"));
        form.Commands().Execute("menSave");
        form.FillDateiPop();
        int slot = 0;
        for (int n = 1; n <= 8; ++n) {
            if (Param().GetLastFile(n) == File("recent.kxm").toStdString()) {
                slot = n;
            }
        }
        QVERIFY(slot > 0);
        model.AddBaustein("40004");
        AnswerYesNo(false);
        form.OpenRecentFile(slot);
        QCOMPARE(model.Parts().Count(), size_t(2));
        AnswerYesNo(true);
        form.OpenRecentFile(slot);
        QCOMPARE(model.Parts().Count(), size_t(1));
    }

    void closingAsksOnlyWhenThereAreParts() {
        {
            TMainForm form;
            form.show();
            QVERIFY(form.close());  // an empty model closes without a question
        }
        TMainForm form;
        form.show();
        form.Model().AddBaustein("40001");
        AnswerYesNo(false);
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        AnswerYesNo(true);
        QVERIFY(form.close());
    }

    void pngPictureHasATransparentBackground() {
        Param().SetBackgroundColor3D(0xFFFFFF);
        TMainForm form;
        form.resize(800, 600);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Model().AddBaustein("40001");
        AnswerFile(File("view"));
        form.Commands().Execute("menSavePNG");
        QImage picture(File("view.png"));
        QVERIFY(!picture.isNull());
        QCOMPARE(qAlpha(picture.pixel(1, 1)), 0);
        // The part in the middle of the view is drawn, not cut away.
        int opaque = 0;
        for (int y = 0; y < picture.height(); y += 4) {
            for (int x = 0; x < picture.width(); x += 4) {
                opaque += qAlpha(picture.pixel(x, y)) != 0;
            }
        }
        QVERIFY(opaque > 0);
    }
};

KX_GUI_TEST_MAIN(TestMainWindow)

#include "test_main_window.moc"
