// The main window on the real commands: new, save, load, merge, recent files, the close
// question, pictures. Dialogs are answered the way a user would.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/d_SaveChanges.h"
#include "app/u_commandtable.h"
#include "catalogue/f_SnapView.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "main_window_support.h"
#include "model/MainObj.h"
#include "placement/f_Conn.h"
#include "placement/u_connect.h"
#include "view/f_GlInfo.h"
#include "view/f_LightManager.h"
#include "view/u_scene.h"

using namespace kx;

namespace {

using kxtest::AnswerFile;
using kxtest::AnswerNextDialog;
using kxtest::Drag;
using kxtest::FileAnswers;
using kxtest::UseTestFiles;

void AnswerYesNo(bool yes) {
    AnswerNextDialog<TdlgMessage>(
        [yes](TdlgMessage* dlg) { (yes ? dlg->YesButton() : dlg->NoButton())->click(); });
}

/// Answers the next unsaved-changes question; what the dialog said is kept in `asked`.
void AnswerSaveChanges(TSaveChoice choice, QString* asked = nullptr) {
    AnswerNextDialog<TdlgSaveChanges>([choice, asked](TdlgSaveChanges* dlg) {
        if (asked) {
            *asked = dlg->findChild<QLabel*>(QStringLiteral("lblText"))->text();
        }
        (choice == TSaveChoice::Save      ? dlg->SaveButton()
         : choice == TSaveChoice::Discard ? dlg->DiscardButton()
                                          : dlg->CancelButton())
            ->click();
    });
}

QPoint ScreenPoint(TMainForm& form, const TVector3f& p) {
    const TSceneCamera& camera = *form.Scene().Camera();
    QWidget* view = form.Viewer();
    const float aspect = float(view->width()) / float(view->height());
    const TMatrix4f clip = camera.ProjectionMatrix(aspect) * camera.ViewMatrix();
    const TVector3f ndc = clip.TransformPoint(p);
    return {int((ndc.X + 1) / 2 * view->width()), int((1 - ndc.Y) / 2 * view->height())};
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
        UseTestFiles(form);
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

        // Just saved, "Neu" has nothing to ask about.
        form.Commands().Execute("menNew");
        QCOMPARE(model.Parts().Count(), size_t(0));
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer []"));

        // Loading into an unchanged model asks nothing.
        AnswerFile(File("test.kxm"));
        form.Commands().Execute("menLoad");
        QCOMPARE(model.Parts().Count(), size_t(2));
        QCOMPARE(form.StatusText(0), QStringLiteral("Modell erfolgreich geladen"));
        QVERIFY(!model.IsModified());

        // Merging keeps the file name and adds the parts under new names: that is a change.
        AnswerFile(File("test.kxm"));
        form.Commands().Execute("menMerge");
        QCOMPARE(model.Parts().Count(), size_t(4));
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer [test.kxm] *"));

        // Loading over the changes asks first; going back stops before any file dialog.
        AnswerSaveChanges(TSaveChoice::Cancel);
        form.Commands().Execute("menLoad");
        QCOMPARE(model.Parts().Count(), size_t(4));
        // "Neu" over changes: back keeps everything, "Nicht speichern" drops them.
        QString asked;
        AnswerSaveChanges(TSaveChoice::Cancel, &asked);
        form.Commands().Execute("menNew");
        QVERIFY(asked.contains(QStringLiteral("test.kxm")));
        QCOMPARE(model.Parts().Count(), size_t(4));
        AnswerSaveChanges(TSaveChoice::Discard);
        form.Commands().Execute("menNew");
        QCOMPARE(model.Parts().Count(), size_t(0));
        QVERIFY(!model.IsModified());
    }

    void saveOverAnExistingFileAsksFirst() {
        TMainForm form;
        UseTestFiles(form);
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
    }

    void recentFilesAskBeforeDiscardingParts() {
        TMainForm form;
        UseTestFiles(form);
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
        AnswerSaveChanges(TSaveChoice::Cancel);
        form.OpenRecentFile(slot);
        QCOMPARE(model.Parts().Count(), size_t(2));
        AnswerSaveChanges(TSaveChoice::Discard);
        form.OpenRecentFile(slot);
        QCOMPARE(model.Parts().Count(), size_t(1));
        QVERIFY(!model.IsModified());
        // Unchanged after the load: the next recent file opens without a question.
        form.OpenRecentFile(slot);
        QCOMPARE(model.Parts().Count(), size_t(1));
    }

    void closingAsksOnlyWhenThereAreUnsavedChanges() {
        {
            TMainForm form;
            UseTestFiles(form);
            form.show();
            QVERIFY(form.close());  // an empty model closes without a question
        }
        {
            TMainForm form;
            UseTestFiles(form);
            form.show();
            form.Model().AddBaustein("40001");
            AnswerSaveChanges(TSaveChoice::Cancel);
            QVERIFY(!form.close());
            QVERIFY(form.isVisible());
            // "Speichern" on a model without a name asks for one; cancelling that keeps the
            // window open with the changes.
            AnswerSaveChanges(TSaveChoice::Save);
            QVERIFY(!form.close());
            QVERIFY(form.Model().IsModified());
            AnswerFile(File("closing"));
            AnswerSaveChanges(TSaveChoice::Save);
            QVERIFY(form.close());
            QVERIFY(QFileInfo::exists(File("closing.kxm")));
        }
        // A loaded model nobody touched closes without a question.
        TMainForm form;
        UseTestFiles(form);
        form.show();
        AnswerFile(File("closing.kxm"));
        form.Commands().Execute("menLoad");
        QCOMPARE(form.Model().Parts().Count(), size_t(1));
        QVERIFY(form.close());
    }

    void aPartDroppedOnAPlacedPartJoinsAtTheChosenConnectors() {
        TMainForm form;
        UseTestFiles(form);
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        QWidget* view = form.Viewer();

        // A drop on empty space places the part at the origin.
        Drag(view, QEvent::DragEnter, {5, 5}, "40002");
        Drag(view, QEvent::DragMove, {5, 5}, "40002");
        Drag(view, QEvent::Drop, {5, 5}, "40002");
        QTRY_COMPARE(model.Parts().Count(), size_t(1));
        model.DeSelectAllBausteine();
        TFreeForm* fixed = model.Parts()[0].Object();

        // Over the placed part, then dropped: the connector window opens on the real window.
        const QPoint over = ScreenPoint(form, fixed->AbsolutePosition()) - QPoint(0, 6);
        Drag(view, QEvent::DragEnter, over, "40001");
        Drag(view, QEvent::DragMove, over, "40001");
        QCOMPARE(model.SelectedPart(), fixed);
        int fixedConnector = 0;
        int newConnector = 0;
        std::string newName;
        AnswerNextDialog<TFormConn>([&](TFormConn* conn) {
            fixedConnector = conn->Session().FixedConnector();
            newConnector = conn->Session().NewConnector();
            newName = conn->Session().NewName();
            QTest::keyClick(conn, Qt::Key_Return);
        });
        Drag(view, QEvent::Drop, over, "40001");
        QTRY_COMPARE(model.Parts().Count(), size_t(2));
        QVERIFY(fixedConnector > 0 && newConnector > 0);
        const TBauteil* joined = model.FindBauteil(newName);
        QVERIFY(joined);
        QVERIFY(Distance(ConnectorAnchor(*joined->Object(), newConnector)->AbsolutePosition(),
                         ConnectorAnchor(*fixed, fixedConnector)->AbsolutePosition()) < 1e-4f);
        const TVector3f position = joined->Position();

        // Saved and loaded again through the commands, it sits where the pair put it.
        AnswerFile(File("joined"));
        form.Commands().Execute("menSave");
        form.Commands().Execute("menNew");
        QCOMPARE(model.Parts().Count(), size_t(0));
        AnswerFile(File("joined.kxm"));
        form.Commands().Execute("menLoad");
        QCOMPARE(model.Parts().Count(), size_t(2));
        const TBauteil* loaded = model.FindBauteil(newName);
        QVERIFY(loaded && loaded->Object());
        QVERIFY(Distance(loaded->Position(), position) < 1e-4f);
        QVERIFY(
            Distance(
                ConnectorAnchor(*loaded->Object(), newConnector)->AbsolutePosition(),
                ConnectorAnchor(*model.Parts()[0].Object(), fixedConnector)->AbsolutePosition()) <
            1e-4f);
        QVERIFY(form.close());
    }

    void pngPictureHasATransparentBackground() {
        Param().SetBackgroundColor3D(0xFFFFFF);
        TMainForm form;
        UseTestFiles(form);
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

    void viewWindowsOpenFromTheirCommands() {
        TMainForm form;
        UseTestFiles(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QString title;
        AnswerNextDialog<TFormGlInfo>([&](TFormGlInfo* dlg) {
            title = dlg->windowTitle();
            QMetaObject::invokeMethod(dlg, "accept");
        });
        QVERIFY(form.Commands().Execute("menGlInfo"));
        QCOMPARE(title, QStringLiteral("OpenGL implementation info"));
        QVERIFY(form.Commands().Execute("menLightManager"));
        auto* lights = form.findChild<TFormLichtManager*>();
        QVERIFY(lights && lights->isVisible());
        lights->hide();
        // The logic manager exists from the start, hidden.
        QVERIFY(form.findChild<QDialog*>(QStringLiteral("FormLLWin")));
    }
};

KX_GUI_TEST_MAIN(TestMainWindow)

#include "test_main_window.moc"
