// What a new user meets first on the real window: the unsaved-changes mark and question, Qt's
// dialogs in the program's language, the palette and the modes, orbiting in the select mode,
// the tree and status bar after changes, dropping on the floor, the grid button and the
// recent files.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <fstream>

#include "app/Main.h"
#include "app/d_SaveChanges.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/f_SnapView.h"
#include "catalogue/u_library.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "main_window_support.h"
#include "model/MainObj.h"
#include "placement/f_Conn.h"
#include "view/f_EditModes.h"
#include "view/u_pick.h"
#include "view/u_scene.h"

using namespace kx;

namespace {

using kxtest::AnswerFile;
using kxtest::AnswerNextDialog;
using kxtest::Drag;
using kxtest::FileAnswers;
using kxtest::UseTestFiles;

const QString kShots = (kxtest::ShotDir() + QStringLiteral("/"));

void Shot(const QImage& image, const char* name) {
    if (QDir(kShots).exists()) {
        image.save(kShots + QString::fromLatin1(name));
    }
}

void DropAt(QWidget* view, QPoint at, const std::string& number) {
    Drag(view, QEvent::DragEnter, at, number);
    Drag(view, QEvent::DragMove, at, number);
    Drag(view, QEvent::Drop, at, number);
}

QPoint ScreenPoint(TMainForm& form, const TVector3f& p) {
    const TSceneCamera& camera = *form.Scene().Camera();
    QWidget* view = form.Viewer();
    const float aspect = float(view->width()) / float(view->height());
    const TMatrix4f clip = camera.ProjectionMatrix(aspect) * camera.ViewMatrix();
    const TVector3f ndc = clip.TransformPoint(p);
    return {int((ndc.X + 1) / 2 * view->width()), int((1 - ndc.Y) / 2 * view->height())};
}

/// The lowest point of a placed part, in world coordinates.
float LowestPoint(const TFreeForm& part) {
    TPicker picker;
    const TBox3f& box = picker.Hierarchy(part.Mesh()).Bounds();
    const TMatrix4f world = part.AbsoluteMatrix();
    float lowest = 1e30f;
    for (int c = 0; c < 8; ++c) {
        lowest = std::min(lowest, world
                                      .TransformPoint({c & 1 ? box.Max.X : box.Min.X,
                                                       c & 2 ? box.Max.Y : box.Min.Y,
                                                       c & 4 ? box.Max.Z : box.Min.Z})
                                      .Y);
    }
    return lowest;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

/// The texts of a dialog's buttons, for telling its language.
QStringList ButtonTexts(QWidget* dialog) {
    QStringList texts;
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        texts << b->text().remove(QLatin1Char('&'));
    }
    return texts;
}

}  // namespace

class TestMainEveryday : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString File(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void theTitleMarksUnsavedChangesUntilSavedOrUndone() {
        TMainForm form;
        UseTestFiles(form);
        form.show();
        TkxMain& model = form.Model();
        QVERIFY(!form.windowTitle().endsWith(QLatin1Char('*')));
        model.AddBaustein("40001");
        QVERIFY(form.windowTitle().endsWith(QStringLiteral(" *")));
        FileAnswers().push_back(File("title"));
        form.Commands().Execute("menSave");
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer [title.kxm]"));
        model.AddBaustein("40002");
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer [title.kxm] *"));
        // Undo back to what the file holds: unchanged, and closing asks nothing.
        form.Commands().Execute("menUndo");
        QCOMPARE(form.windowTitle(), QStringLiteral("Korvex Designer [title.kxm]"));
        QVERIFY(form.close());
    }

    void theCloseQuestionOffersSaveDiscardAndCancel() {
        TMainForm form;
        UseTestFiles(form);
        form.show();
        form.Model().AddBaustein("40001");
        QStringList buttons;
        AnswerNextDialog<TdlgSaveChanges>([&](TdlgSaveChanges* dlg) {
            buttons = ButtonTexts(dlg);
            Shot(dlg->grab().toImage(), "close-question.png");
            dlg->CancelButton()->click();
        });
        QVERIFY(!form.close());
        QCOMPARE(buttons.size(), 3);
        QVERIFY(buttons.contains(QStringLiteral("Speichern")));
        QVERIFY(buttons.contains(QStringLiteral("Nicht speichern")));
        QVERIFY(buttons.contains(QStringLiteral("Abbrechen")));
        AnswerNextDialog<TdlgSaveChanges>(
            [](TdlgSaveChanges* dlg) { dlg->DiscardButton()->click(); });
        QVERIFY(form.close());
    }

    void qtDialogsSpeakTheProgramsLanguage() {
        struct TCase {
            const char* Language;
            const char* Open;
            const char* Cancel;
        };
        const TCase cases[] = {{"DEUTSCH", "Öffnen", "Abbrechen"}, {"ENGLISH", "Open", "Cancel"}};
        for (const TCase& c : cases) {
            Param().SetLanguage(c.Language);
            TMainForm form;
            form.show();
            QFileDialog dialog(&form);
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            const QStringList texts = ButtonTexts(&dialog);
            QVERIFY2(texts.contains(QString::fromUtf8(c.Open)), qPrintable(texts.join(',')));
            QVERIFY2(texts.contains(QString::fromUtf8(c.Cancel)), qPrintable(texts.join(',')));
            if (QByteArray(c.Language) == "DEUTSCH") {
                Shot(dialog.grab().toImage(), "german-file-dialog.png");
            }
            dialog.close();
        }
        Param().SetLanguage("DEUTSCH");
    }

    void aColourFromThePalettePaintsAndTheButtonShowsItsMenu() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TEditModeBar& modes = *form.Modes();
        QCOMPARE(modes.Mode(), TEditMode::Select);
        QCOMPARE(modes.btnColor->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(modes.btnColor->menu(), modes.ColorMenu());
        QCOMPARE(modes.btnModeSelect->menu(), modes.SelectionMenu());

        QMenu* palette = modes.ColorMenu();
        palette->popup(modes.btnColor->mapToGlobal(QPoint(0, modes.btnColor->height())));
        QVERIFY(QTest::qWaitForWindowExposed(palette));
        QImage bar = modes.grab().toImage();
        QImage menu = palette->grab().toImage();
        QImage shot(std::max(bar.width(), modes.btnColor->x() + menu.width()),
                    bar.height() + menu.height(), QImage::Format_RGB32);
        shot.fill(Qt::white);
        QPainter painter(&shot);
        painter.drawImage(0, 0, bar);
        painter.drawImage(modes.btnColor->x(), bar.height(), menu);
        painter.end();
        Shot(shot, "palette-arrow.png");

        palette->findChild<QToolButton*>(QStringLiteral("mFarbe4"))->click();
        QCOMPARE(modes.Mode(), TEditMode::Color);
        QCOMPARE(modes.ActiveColor(), 0x00FFFFu);
        QVERIFY(modes.btnColor->isChecked());
        QCOMPARE(form.Interaction()->Mode(), TEditMode::Color);
    }

    void theRightButtonOrbitsInTheSelectMode() {
        TMainForm form;
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Modes()->Mode(), TEditMode::Select);
        QWidget* view = form.Viewer();
        const TVector3f start = form.Scene().Camera()->AbsolutePosition();
        const QPoint from(view->width() / 2, view->height() / 2);
        SendMouse(view, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
        for (int step = 1; step <= 4; ++step) {
            SendMouse(view, QEvent::MouseMove, from + QPoint(10 * step, 5 * step), Qt::NoButton,
                      Qt::RightButton);
        }
        SendMouse(view, QEvent::MouseButtonRelease, from + QPoint(40, 20), Qt::RightButton,
                  Qt::NoButton);
        QVERIFY(Distance(form.Scene().Camera()->AbsolutePosition(), start) > 0.5f);
    }

    void aDropOnEmptySpaceRestsOnTheFloorUnderThePointer() {
        TMainForm form;
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TSceneCamera& camera = *form.Scene().Camera();
        // Looking down at the floor from above and behind.
        camera.SetPosition({0, 12, -16});
        camera.SetDirection({0, -12, 16});
        QWidget* view = form.Viewer();
        const QPoint at(view->width() / 2 + 120, view->height() / 2 + 60);
        DropAt(view, at, "40002");
        QTRY_COMPARE(form.Model().Parts().Count(), size_t(1));
        const TBauteil& part = form.Model().Parts()[0];
        QVERIFY(std::abs(LowestPoint(*part.Object())) < 1e-3f);
        // On the grid, under the pointer (within half a grid cell on the floor).
        const TVector3f p = part.Position();
        QVERIFY(std::abs(p.X - std::round(p.X)) < 1e-4f);
        QVERIFY(std::abs(p.Z - std::round(p.Z)) < 1e-4f);
        const QPoint seen = ScreenPoint(form, {p.X, 0, p.Z});
        QVERIFY2((seen - at).manhattanLength() < 60,
                 qPrintable(QStringLiteral("%1,%2").arg(seen.x()).arg(seen.y())));
        QVERIFY(form.Model().IsModified());
        form.RedrawView();
        QTest::qWait(50);
        Shot(form.Snapshot(), "dropped-on-floor.png");
        form.Model().MarkSaved();
    }

    void theTreeAndStatusBarFollowJoinDeleteNewAndLoad() {
        TMainForm form;
        UseTestFiles(form);
        form.resize(1000, 750);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        QTreeWidget* tree = form.PartsTree();
        const auto partMarked = [tree] {
            return tree->currentItem() && tree->currentItem()->parent();
        };
        const auto statusEmpty = [&form] {
            for (int i = 0; i < 4; ++i) {
                if (!form.StatusText(i).isEmpty()) {
                    return false;
                }
            }
            return true;
        };

        // A join: the new part is placed, nothing is selected afterwards, nothing marked.
        const std::string fixed = model.AddBaustein("40002");
        model.SelectBaustein(fixed);
        QVERIFY(partMarked());
        QPoint connAt;
        AnswerNextDialog<TFormConn>([&](TFormConn* conn) {
            connAt = conn->pos();
            QTest::keyClick(conn, Qt::Key_Return);
        });
        const QPoint over = ScreenPoint(form, model.PartObject(fixed)->AbsolutePosition());
        DropAt(form.Viewer(), over, "40001");
        QTRY_COMPARE(model.Parts().Count(), size_t(2));
        QCOMPARE(partMarked(), model.SelectedPart() != nullptr);
        // Without a stored place the connector window opens at the view's right edge.
        const QRect view(form.Viewer()->mapToGlobal(QPoint(0, 0)), form.Viewer()->size());
        QVERIFY(connAt.x() > view.center().x());

        // Delete: the tree marks no part and the panels are empty.
        model.SelectBaustein(fixed);
        QVERIFY(!statusEmpty());
        form.Commands().Execute("menDelete");
        QVERIFY(!partMarked());
        QVERIFY(statusEmpty());

        // An undo names no part that is not selected.
        model.SelectBaustein(model.Parts()[0].Name());
        model.DeSelectAllBausteine();
        form.Commands().Execute("menUndo");
        QCOMPARE(model.SelectedPart() != nullptr, !statusEmpty());

        // "Neu" and a load leave nothing of the old part in the tree or the panels.
        FileAnswers().push_back(File("status"));
        form.Commands().Execute("menSave");
        model.SelectBaustein(model.Parts()[0].Name());
        form.Commands().Execute("menNew");
        QVERIFY2(statusEmpty(), qPrintable(form.StatusText(0) + "|" + form.StatusText(1) + "|" +
                                           form.StatusText(2) + "|" + form.StatusText(3)));
        QVERIFY(!partMarked());
        FileAnswers().push_back(File("status.kxm"));
        form.Commands().Execute("menLoad");
        model.SelectBaustein(model.Parts()[0].Name());
        FileAnswers().push_back(File("status.kxm"));
        form.Commands().Execute("menLoad");
        QCOMPARE(form.StatusText(0), QStringLiteral("Modell erfolgreich geladen"));
        for (int i = 1; i < 4; ++i) {
            QVERIFY(form.StatusText(i).isEmpty());
        }
        QVERIFY(!partMarked());
    }

    void theGridButtonWorksEveryTimeAndSurvivesAFailedLoad() {
        TMainForm form;
        UseTestFiles(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QToolButton* grid = form.ToolButton("btnGrid");
        TkxMain& model = form.Model();
        QVERIFY(model.GridShown && grid->isChecked());
        for (int click = 1; click <= 4; ++click) {
            QTest::mouseClick(grid, Qt::LeftButton);
            const bool shown = click % 2 == 0;
            QCOMPARE(model.GridShown, shown);
            QCOMPARE(form.Scene().Grid()->Visible(), shown);
            QCOMPARE(grid->isChecked(), shown);
        }
        std::ofstream(File("broken.kxm").toStdString()) << "[COMMON]\r\nCount=zwei\r\n";
        AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->accept(); });
        FileAnswers().push_back(File("broken.kxm"));
        form.Commands().Execute("menLoad");
        QVERIFY(model.GridShown && grid->isChecked() && form.Scene().Grid()->Visible());
        QTest::mouseClick(grid, Qt::LeftButton);
        QVERIFY(!model.GridShown && !grid->isChecked() && !form.Scene().Grid()->Visible());
    }

    void aRecentFileOpensTheFileItsItemShowsAfterAMerge() {
        TMainForm form;
        UseTestFiles(form);
        form.show();
        TkxMain& model = form.Model();
        // Eight files fill the list.
        for (int n = 1; n <= 8; ++n) {
            model.AddBaustein("40001");
            FileAnswers().push_back(File("recent%1").arg(n));
            form.Commands().Execute("menSaveAs");
        }
        form.FillDateiPop();
        const QString last = File("recent8.kxm");
        int slot = 0;
        const QList<QAction*> items = form.RecentFilesMenu()->actions();
        for (int n = 1; n <= 8; ++n) {
            if (items[n - 1]->text() == last) {
                slot = n;
            }
        }
        QVERIFY(slot > 0);
        // Merging a file that is not in the full list moves the list behind the menu on.
        QVERIFY(QFile::copy(last, File("recent9.kxm")));
        FileAnswers().push_back(File("recent9.kxm"));
        form.Commands().Execute("menMerge");
        QVERIFY(Param().GetLastFile(slot) != last.toStdString());
        AnswerNextDialog<TdlgSaveChanges>(
            [](TdlgSaveChanges* dlg) { dlg->DiscardButton()->click(); });
        form.OpenRecentFile(slot);
        QCOMPARE(QString::fromStdString(model.FileName), last);
        QCOMPARE(model.Parts().Count(), size_t(8));
    }

    void theDragPictureShowsThePartWithoutItsBackground() {
        // A white tile with a red frame around a white window, as a part icon is drawn.
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(Qt::white);
        QPainter painter(&icon);
        painter.setPen(Qt::red);
        painter.drawRect(4, 4, 7, 7);
        painter.end();
        const QImage drag = DragPixmap(QPixmap::fromImage(icon)).toImage();
        QCOMPARE(qAlpha(drag.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(drag.pixel(15, 8)), 0);
        QCOMPARE(drag.pixel(4, 4), QColor(Qt::red).rgb());
        // White inside the part is the part's own colour and stays.
        QCOMPARE(drag.pixel(7, 7), QColor(Qt::white).rgb());
    }

    void addingSelectedPartsToTheCollectionTakesOnlyTheSelection() {
        TMainForm form;
        form.show();
        TkxMain& model = form.Model();
        TPartLibrary& library = form.Library()->Library();
        const std::string a = model.AddBaustein("40001");
        model.SelectBaustein(a);
        model.DeSelectAllBausteine();
        const auto totals = [&library] {
            std::vector<int32_t> t;
            for (const TSnapViewItem& item : library.Collection().Items) {
                t.push_back(item.Total());
            }
            return t;
        };
        const std::vector<int32_t> before = totals();
        form.Commands().Execute("menAddSelectedToCollection");
        QCOMPARE(totals(), before);
        model.MarkSaved();
    }
};

KX_GUI_TEST_MAIN(TestMainEveryday)

#include "test_main_everyday.moc"
