// A walk through the whole command table: which commands are offered in the states that matter
// (empty model, a part selected, kinematics mode), that a disabled one says why when it waits
// for a later feature, and that every offered one does something the user can see.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <set>

#include "app/Main.h"
#include "app/helpsystem.h"
#include "app/u_commandtable.h"
#include "app/u_kinematikmode.h"
#include "generated/d_SelectLibrary.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"
#include "view/f_viewer.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

using K = TCommandKind;

// Commands whose feature another part of the program brings later: disabled, with a tooltip.
const std::set<std::string> kWaiting = {"menYouTube"};
// Commands that follow the scripting switch (off in a fresh set-up): hidden, not waiting.
const std::set<std::string> kScripting = {"menPythonManager", "menRunLastPython"};
// Commands that act on the selected part.
const std::set<std::string> kNeedSelection = {"menDelete", "menCameraCenter", "menDuplicate",
                                              "menAlign"};

bool IsCommand(const TCommandRow& row) {
    return row.Kind == K::Item || row.Kind == K::Check || row.Kind == K::KeyOnly;
}

/// What a user can see of the window and the model, to tell whether a command did anything.
struct TView {
    QString Title;
    QStringList Status;
    size_t Parts = 0;
    std::string Selected;
    size_t Undo = 0;
    bool Modified = false;
    QString Camera;
    bool Outline = false;
    std::string MeshFolder;
    int Visible = 0;
    qint64 Clipboard = 0;
    int TreeItems = 0;
    size_t Keys = 0;
    bool operator==(const TView&) const = default;
};

/// Closes every modal dialog a command opens, as a user pressing Escape would, and counts them.
class TDialogCloser : public QObject {
public:
    TDialogCloser() {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++Shown;
                Names << QString::fromLatin1(modal->metaObject()->className());
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                } else {
                    modal->close();
                }
            }
        });
        m_timer.start();
    }
    int Shown = 0;
    QStringList Names;

private:
    QTimer m_timer;
};

}  // namespace

class TestCommandWalk : public QObject {
    Q_OBJECT

    static TView Look(TMainForm& form) {
        TView v;
        v.Title = form.windowTitle();
        for (int i = 0; i < 4; ++i) {
            v.Status << form.StatusText(i);
        }
        TkxMain& model = form.Model();
        v.Parts = model.Parts().Count();
        v.Selected = model.SelectedPart() ? model.SelectedPart()->Name() : std::string();
        v.Undo = model.UndoList().Count();
        v.Modified = model.IsModified();
        const TSceneCamera* camera = form.Scene().Camera();
        const TVector3f pos = camera->AbsolutePosition();
        const TVector3f up = camera->Up();
        const TVector3f target = form.Scene().CameraTarget()->AbsolutePosition();
        v.Camera = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                       .arg(pos.X)
                       .arg(pos.Y)
                       .arg(pos.Z)
                       .arg(up.X)
                       .arg(up.Y)
                       .arg(up.Z)
                       .arg(target.X)
                       .arg(target.Y)
                       .arg(target.Z);
        v.Outline = model.OutlineMode;
        for (const auto& record : model.Parts()) {
            v.Keys += record->Keys().size();
        }
        v.MeshFolder = model.MeshFolder;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            v.Visible += w->isVisible() && w != &form && !qobject_cast<QMenu*>(w) ? 1 : 0;
        }
        v.Clipboard = QGuiApplication::clipboard()->image().cacheKey();
        v.TreeItems =
            form.PartsTree()->topLevelItemCount() +
            (form.PartsTree()->topLevelItemCount() ? form.PartsTree()->topLevelItem(0)->childCount()
                                                   : 0);
        return v;
    }

    static void HideToolWindows(TMainForm& form) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &form && w->isVisible() && !qobject_cast<QMenu*>(w)) {
                w->hide();
            }
        }
    }

    /// A model with two parts, the first one selected.
    static void PartSelected(TMainForm& form) {
        TkxMain& model = form.Model();
        while (model.Parts().Count() < 2) {
            model.AddBaustein("40001");
        }
        model.SelectBaustein((*model.Parts().begin())->Name());
        form.Commands().UpdateEnabled();
    }

    static QStringList Mismatches(TMainForm& form,
                                  const std::function<bool(const TCommandRow&)>& want) {
        QStringList wrong;
        for (const TCommandRow& row : form.Commands().Rows()) {
            if (!IsCommand(row) || (row.DeveloperOnly && !Param().DeveloperMode)) {
                continue;
            }
            const bool enabled = form.Commands().Action(row.Id)->isEnabled();
            if (enabled != want(row)) {
                wrong << QStringLiteral("%1 %2").arg(QString::fromLatin1(row.Id),
                                                     enabled ? "on" : "off");
            }
        }
        return wrong;
    }

private slots:
    /// The window the program's start adds to the main window (main.cpp).
    static void AddStartWindows(TMainForm& form) {
        auto* selectLibrary = new TdlgSelectLibrary(&form);
        form.Commands().Bind("menSelectLibrary", [selectLibrary] { selectLibrary->ShowWindow(); });
    }

    void everyCommandIsOfferedAsTheStateAllows() {
        TMainForm form;
        AddStartWindows(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Commands().UpdateEnabled();
        // An empty model: nothing to delete, to undo or to centre on.
        QStringList wrong = Mismatches(form, [](const TCommandRow& row) {
            const std::string id = row.Id;
            return !kWaiting.count(id) && !kScripting.count(id) && !kNeedSelection.count(id) &&
                   id != "menUndo" &&
                   id != "menGroup" && id != "menDeGroup";
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        // Every command that waits says so; the others show their caption.
        for (const std::string& id : kWaiting) {
            QAction* action = form.Commands().Action(id);
            QVERIFY2(!action->toolTip().isEmpty() && action->toolTip() != action->text(),
                     id.c_str());
            QVERIFY(!form.Commands().Execute(id));
        }

        // A part selected: everything but what waits; undo and the group commands follow the
        // model's own state (a selection is an undo step, a group needs two parts).
        PartSelected(form);
        form.Commands().UpdateEnabled();
        QTest::qWait(20);
        wrong = Mismatches(form, [&form](const TCommandRow& row) {
            const std::string id = row.Id;
            if (id == "menUndo" || id == "menGroup" || id == "menDeGroup") {
                return form.Commands().Action(id)->isEnabled();
            }
            return !kWaiting.count(id) && !kScripting.count(id);
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));

        // Kinematics mode: only the collection menu, which does not touch the model.
        form.KinematikMode()->Enter();
        wrong = Mismatches(form, [&form](const TCommandRow& row) {
            return std::string(row.Parent) == "menSammlung" && form.Commands().Bound(row.Id);
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        QVERIFY(!form.Commands().Execute("menDelete"));
        form.KinematikMode()->Leave();
        QTest::qWait(20);
        QVERIFY(form.Commands().Action("menSave")->isEnabled());
    }

    void everyOfferedCommandDoesSomethingVisible() {
        TMainForm form;
        AddStartWindows(form);
        int filesAsked = 0;
        form.FileChooser = [&](bool, const QString&) {
            ++filesAsked;
            return QString();
        };
        int helpOpened = 0;
        HelpUrlOpener() = [&](const QUrl&) {
            ++helpOpened;
            return true;
        };
        int paints = 0;
        struct TPaintCounter : QObject {
            int* Count;
            explicit TPaintCounter(int* c) : Count(c) {}
            bool eventFilter(QObject*, QEvent* e) override {
                *Count += e->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter(&paints);
        form.Viewer()->installEventFilter(&counter);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TDialogCloser closer;
        QStringList silent;
        QStringList ran;
        for (const TCommandRow& row : form.Commands().Rows()) {
            if (!IsCommand(row) || std::string(row.Id) == "menExit" ||
                (row.DeveloperOnly && !Param().DeveloperMode)) {
                continue;
            }
            HideToolWindows(form);
            PartSelected(form);
            QTest::qWait(30);
            if (!form.Commands().Action(row.Id)->isEnabled()) {
                continue;
            }
            const TView before = Look(form);
            const int dialogs = closer.Shown, files = filesAsked, help = helpOpened;
            paints = 0;
            // A check item is toggled by its menu before its command runs.
            if (row.Kind == K::Check) {
                form.Commands().Action(row.Id)->toggle();
            }
            QVERIFY2(form.Commands().Execute(row.Id), row.Id);
            QTest::qWait(60);
            ran << QString::fromLatin1(row.Id);
            const bool seen = !(Look(form) == before) || closer.Shown != dialogs ||
                              filesAsked != files || helpOpened != help || paints > 0;
            // Adding to a collection changes the collection file; its tab need not be shown.
            if (!seen && std::string(row.Id) != "menAddSelectedToCollection") {
                silent << QString::fromLatin1(row.Id);
            }
        }
        QVERIFY2(silent.isEmpty(), qPrintable(QStringLiteral("silent: ") + silent.join(", ")));
        QVERIFY(ran.size() > 60);
        // "Beenden" over a changed model asks first, and going back keeps the window.
        form.Model().MarkModified();
        form.Commands().Execute("menExit");
        QTest::qWait(60);
        QVERIFY(closer.Names.contains(QStringLiteral("kx::TdlgSaveChanges")));
        QVERIFY(form.isVisible());
    }

    void everyExportSaysWhatHappened() {
        TMainForm form;
        QTemporaryDir dir;
        QString answer;
        form.FileChooser = [&](bool, const QString&) { return answer; };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Model().AddBaustein("40001");
        TDialogCloser closer;
        for (const char* id : {"menExportRaw", "menExportVRML", "menExportPOV", "menExportX3D",
                               "menExportX3DFlat", "menExportSTL"}) {
            answer = dir.filePath(QStringLiteral("model"));
            QVERIFY(form.Commands().Execute(id));
            QTest::qWait(30);
            // The status names the file written (after the last ": ").
            const QString status = form.StatusText(0);
            const qsizetype at = status.lastIndexOf(QStringLiteral(": "));
            QVERIFY2(at > 0 && !status.contains(QStringLiteral("gespeichert")), qPrintable(status));
            const QString written = status.mid(at + 2);
            QVERIFY2(QFileInfo(written).size() > 0, qPrintable(written));
            // A folder that does not exist: a message says so, the status keeps what it had.
            const int shown = closer.Shown;
            answer = dir.filePath(QStringLiteral("missing/model"));
            QVERIFY(form.Commands().Execute(id));
            QTest::qWait(60);
            QVERIFY2(closer.Shown == shown + 1, id);
            QCOMPARE(form.StatusText(0), status);
        }
    }
};

KX_GUI_TEST_MAIN(TestCommandWalk)

#include "test_command_walk.moc"
