// The "Logik-Manager" on the real main window: a program built by dragging from the palette and
// joining outputs to inputs, set in its block dialogs, exported, discarded, imported and run;
// deleting from the context menu; the read-only state while kinematics mode runs; zoom.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/helpsystem.h"
#include "app/u_commandtable.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "sequence/d_AblaufDialogs.h"
#include "sequence/f_llwin.h"
#include "sequence/llsurface.h"

using namespace kx;
using kxtest::AnswerNextDialog;

namespace {

void Shot(QWidget& w, const QString& name) {
    w.grab().save(kxtest::ShotDir() + QLatin1Char('/') + name);
}

/// Drags the palette entry of `picture` and drops it on the surface at program point `at`.
TBlock& DragFromPalette(TFormLLWin& w, int picture, TAblaufPoint at) {
    TLogicPalette* palette = w.Palette();
    QListWidgetItem* entry = nullptr;
    for (int i = 0; i < palette->count(); ++i) {
        if (palette->item(i)->data(Qt::UserRole).toInt() == picture) {
            entry = palette->item(i);
        }
    }
    QMimeData mime;
    palette->RunDrag = [&mime](QDrag* drag) {
        for (const QString& format : drag->mimeData()->formats()) {
            mime.setData(format, drag->mimeData()->data(format));
        }
    };
    const QPoint onEntry = palette->visualItemRect(entry).center();
    QTest::mousePress(palette->viewport(), Qt::LeftButton, {}, onEntry);
    QTest::mouseRelease(palette->viewport(), Qt::LeftButton, {}, onEntry);
    palette->RunDrag = nullptr;

    TLogicSurface* surface = w.Surface();
    const QPoint p = surface->ToWidget(at);
    QDragEnterEvent enter(p, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &enter);
    QDragMoveEvent move(p, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &move);
    QDropEvent drop(QPointF(p), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &drop);
    return *w.Editor().Program().Blocks().back();
}

/// In connection mode: from output `output` of `from` to a point just inside `to`'s input.
void Join(TFormLLWin& w, const TBlock& from, int output, const TBlock& to) {
    TLogicSurface* s = w.Surface();
    const TAblaufPoint a = TAblauf::ConnectorPos(from, output);
    const TAblaufPoint b = TAblauf::ConnectorPos(to, 1);
    QTest::mousePress(s, Qt::LeftButton, {}, s->ToWidget({a.X + 2, a.Y - 3}));
    QTest::mouseMove(s, s->ToWidget({b.X + 6, b.Y + 4}));
    QTest::mouseRelease(s, Qt::LeftButton, {}, s->ToWidget({b.X + 6, b.Y + 4}));
}

QPoint Middle(const TLogicSurface* s, const TBlock& b) {
    return s->ToWidget({b.X + int32_t(b.Width) / 2 - 20, b.Y + int32_t(b.Height) / 2});
}

/// Opens the block's dialog with a double click and lets `answer` fill it in.
template <class TDialog>
void EditIn(TFormLLWin& w, const TBlock& block, std::function<void(TDialog*)> answer) {
    bool answered = false;
    AnswerNextDialog<TDialog>([&](TDialog* d) {
        answer(d);
        answered = true;
        d->btnOK->click();
    });
    QTest::mouseDClick(w.Surface(), Qt::LeftButton, {}, Middle(w.Surface(), block));
    QVERIFY(answered);
}

/// The surface's context menu at the block, answered with the item `item`.
void ContextMenu(TFormLLWin& w, QPoint at, const char* item) {
    TLogicSurface* s = w.Surface();
    QTest::mousePress(s, Qt::RightButton, {}, at);
    QTest::mouseRelease(s, Qt::RightButton, {}, at);
    QTimer::singleShot(50, [&w, item] {
        QAction* action = w.Popup()->findChild<QAction*>(QString::fromLatin1(item));
        action->trigger();
        w.Popup()->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, s->mapToGlobal(at));
    QCoreApplication::sendEvent(s, &event);
}

void AnswerFileDialog(const QString& file) {
    AnswerNextDialog<QFileDialog>([file](QFileDialog* d) {
        // selectFile leaves the name field alone once it has the focus, which the window
        // manager gives it at its own pace: the name is typed, as a user would.
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(file);
        QMetaObject::invokeMethod(d, "accept");
    });
}

}  // namespace

class TestLlwinGui : public QObject {
    Q_OBJECT
private slots:
    void countToFiveIsDrawnSavedReloadedAndRun() {
        QTemporaryDir dir;
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        QVERIFY(form.Commands().Execute("menLogicManager"));
        TFormLLWin& w = *form.LogicManager();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TAblauf& program = model.Ablauf();
        QVERIFY(!model.IsModified());

        // Start -> VAR2 = 5 -> VAR1 = 0 -> VAR1 += 1 -> VAR1 = VAR2? yes: end, no: back.
        TBlock& start = DragFromPalette(w, 0, {200, 64});
        QVERIFY(model.IsModified());
        TBlock& setLimit = DragFromPalette(w, 5, {200, 184});
        TBlock& setZero = DragFromPalette(w, 5, {200, 304});
        TBlock& inc = DragFromPalette(w, 9, {200, 424});
        TBlock& compare = DragFromPalette(w, 8, {200, 560});
        TBlock& end = DragFromPalette(w, 1, {200, 720});
        QCOMPARE(program.Blocks().size(), size_t(6));
        QCOMPARE(start.X, 160);  // centred on the grid point of the drop
        QCOMPARE(compare.Y, 520);

        QTest::mouseClick(w.LineButton(), Qt::LeftButton);
        Join(w, start, 1, setLimit);
        Join(w, setLimit, kOutYes, setZero);
        Join(w, setZero, kOutYes, inc);
        Join(w, inc, kOutYes, compare);
        Join(w, compare, kOutYes, end);
        Join(w, compare, kOutNo, inc);
        QCOMPARE(program.Connections().size(), size_t(6));
        QTest::mouseClick(w.BlockButton(), Qt::LeftButton);

        EditIn<TFormAblaufSetVar>(w, setLimit, [](TFormAblaufSetVar* d) {
            d->eVariable->setText(QStringLiteral("2"));
            d->eWert->setText(QStringLiteral("5"));
        });
        EditIn<TFormAblaufSetVar>(w, setZero, [](TFormAblaufSetVar* d) {
            // Out of range and unreadable: variable 1, value 0.
            d->eVariable->setText(QStringLiteral("-4"));
            d->eWert->setText(QStringLiteral("abc"));
        });
        EditIn<TFormAblaufIncVar>(
            w, inc, [](TFormAblaufIncVar* d) { QCOMPARE(d->eWert->text(), QStringLiteral("1")); });
        EditIn<TFormAblaufVariable>(w, compare, [](TFormAblaufVariable* d) {
            d->eVar2->setText(QStringLiteral("2"));
            d->cbTyp->setCurrentIndex(0);
        });
        QCOMPARE(static_cast<TBlockSetVar&>(setLimit).Wert, 5);
        QCOMPARE(static_cast<TBlockSetVar&>(setZero).Variable, 1);
        QCOMPARE(static_cast<TBlockSetVar&>(setZero).Wert, 0);
        QCOMPARE(static_cast<TBlockVariable&>(compare).Var2, 2);
        Shot(w, QStringLiteral("i18-count-to-five.png"));

        // Export under a name without the extension, which gets it.
        const std::vector<std::string> drawn = program.SaveToList();
        AnswerFileDialog(dir.path() + QStringLiteral("/count"));
        w.findChild<QAction*>(QStringLiteral("menExport"))->trigger();
        const QString file = dir.path() + QStringLiteral("/count.kxl");
        QVERIFY(QFile::exists(file));

        // "Neu" asks first: "no" keeps the program, "yes" discards it.
        QAction* menNew = w.findChild<QAction*>(QStringLiteral("menNew"));
        AnswerNextDialog<TdlgMessage>([](TdlgMessage* d) { d->NoButton()->click(); });
        menNew->trigger();
        QCOMPARE(program.Blocks().size(), size_t(6));
        AnswerNextDialog<TdlgMessage>([](TdlgMessage* d) { d->YesButton()->click(); });
        menNew->trigger();
        QVERIFY(program.Blocks().empty());
        QVERIFY(program.Connections().empty());

        AnswerFileDialog(file);
        w.findChild<QAction*>(QStringLiteral("menImport"))->trigger();
        QCOMPARE(program.SaveToList(), drawn);

        // Kinematics mode runs the program; the editor only shows it meanwhile.
        QToolButton* toggle = form.ToolButton("btnStartKinematik");
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(program.Running());
        QVERIFY(w.Editor().ReadOnly());
        QVERIFY(w.StatusText().contains(QStringLiteral("Kinematik-Modus")));
        QVERIFY(!menNew->isEnabled());
        QVERIFY(!w.Palette()->isEnabled());
        QVERIFY(program.Run()->WaitUntilFinished(10000));
        QCOMPARE(program.Variables().Get(1), 5);
        TBlock& running = *program.Blocks()[3];
        const int32_t runningX = running.X;
        QTest::mousePress(w.Surface(), Qt::LeftButton, {}, Middle(w.Surface(), running));
        QTest::mouseMove(w.Surface(), Middle(w.Surface(), running) + QPoint(80, 80));
        QTest::mouseRelease(w.Surface(), Qt::LeftButton, {}, Middle(w.Surface(), running));
        QCOMPARE(running.X, runningX);
        Shot(w, QStringLiteral("i18-read-only-while-running.png"));
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!w.Editor().ReadOnly());
        QVERIFY(menNew->isEnabled());

        // "Block löschen" on the change block takes its three connections with it.
        TBlock* changeBlock = program.Blocks()[3].get();
        QCOMPARE(changeBlock->Kind(), TBlockKind::IncVar);
        ContextMenu(w, Middle(w.Surface(), *changeBlock), "B1");
        QCOMPARE(program.Blocks().size(), size_t(5));
        QCOMPARE(program.Connections().size(), size_t(3));
        for (const TCon& c : program.Connections()) {
            QVERIFY(c.Block1->Kind() != TBlockKind::IncVar &&
                    c.Block2->Kind() != TBlockKind::IncVar);
        }

        // "Hilfe" and F1 open the window's topic.
        QList<QUrl> opened;
        HelpUrlOpener() = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        w.findChild<QAction*>(QStringLiteral("menHelp"))->trigger();
        // A shortcut answers in the active window only.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F1);
        HelpUrlOpener() = [](const QUrl&) { return false; };
        QCOMPARE(opened.size(), 2);
        for (const QUrl& url : opened) {
            QVERIFY(url.toLocalFile().endsWith(QStringLiteral("/logik-manager.html")));
            QCOMPARE(url.fragment(), QStringLiteral("4151"));
        }
        w.hide();
    }

    void everyBlockKindWithItsDialogAndZoom() {
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        TCollData tor;
        tor.Param1 = "Tor";
        TCollData motorRule;
        motorRule.Aktion = 0;
        motorRule.Param1 = "3";
        TCollData gate;
        gate.Param1 = "Schranke";
        model.CollisionRules() = {tor, motorRule, gate};
        TFormLLWin& w = *form.LogicManager();
        w.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TAblauf& program = model.Ablauf();

        TBlock& start = DragFromPalette(w, 0, {120, 48});
        TBlock& motor = DragFromPalette(w, 2, {120, 160});
        TBlock& pause = DragFromPalette(w, 4, {120, 264});
        TBlock& joystick = DragFromPalette(w, 6, {120, 376});
        TBlock& colour = DragFromPalette(w, 7, {120, 496});
        TBlock& collision = DragFromPalette(w, 3, {400, 376});
        TBlock& end = DragFromPalette(w, 1, {120, 608});
        TBlock& setVar = DragFromPalette(w, 5, {400, 160});
        TBlock& inc = DragFromPalette(w, 9, {400, 264});
        TBlock& compare = DragFromPalette(w, 8, {400, 496});
        QCOMPARE(program.Blocks().size(), size_t(10));
        QTest::mouseClick(w.LineButton(), Qt::LeftButton);
        Join(w, start, 1, motor);
        Join(w, motor, kOutYes, pause);
        Join(w, pause, kOutYes, joystick);
        Join(w, joystick, kOutYes, colour);
        Join(w, joystick, kOutNo, collision);
        Join(w, colour, kOutYes, end);
        Join(w, setVar, kOutYes, inc);
        Join(w, collision, kOutYes, compare);
        Join(w, collision, kOutNo, setVar);
        QTest::mouseClick(w.BlockButton(), Qt::LeftButton);

        EditIn<TFormAblaufMotor>(w, motor, [](TFormAblaufMotor* d) {
            QVERIFY(d->btnStop->isChecked());
            d->cbNr->setCurrentIndex(2);
            QTest::mouseClick(d->btnLeft, Qt::LeftButton);
            QVERIFY(!d->btnStop->isChecked());
            Shot(*d, QStringLiteral("i18-dialog-motor.png"));
        });
        QCOMPARE(static_cast<TBlockMotor&>(motor).MotorNr, 3);
        QCOMPARE(static_cast<TBlockMotor&>(motor).Status, 1);
        EditIn<TFormAblaufPause>(w, pause, [](TFormAblaufPause* d) {
            d->eIntervall->clear();  // empty: the default
            Shot(*d, QStringLiteral("i18-dialog-pause.png"));
        });
        QCOMPARE(static_cast<TBlockPause&>(pause).Intervall, 1000);
        EditIn<TFormAblaufJoystick>(w, joystick, [](TFormAblaufJoystick* d) {
            QCOMPARE(d->cbAchse->count(), 8);
            d->cbAchse->setCurrentIndex(5);
            Shot(*d, QStringLiteral("i18-dialog-joystick.png"));
        });
        QCOMPARE(static_cast<TBlockJoystick&>(joystick).Achse, 5);
        EditIn<TFormAblaufKollision>(w, collision, [](TFormAblaufKollision* d) {
            // Only the rules that report their state are offered; any name may be typed.
            QCOMPARE(d->cbName->count(), 2);
            QCOMPARE(d->cbName->itemText(1), QStringLiteral("Schranke"));
            d->cbName->setCurrentText(QStringLiteral("Tor"));
            Shot(*d, QStringLiteral("i18-dialog-kollision.png"));
        });
        QCOMPARE(static_cast<TBlockKollision&>(collision).Name, std::string("Tor"));
        EditIn<TFormAblaufFarbe>(w, colour, [](TFormAblaufFarbe* d) {
            d->eBauteil->setText(QStringLiteral("F40711_1"));
            AnswerNextDialog<QColorDialog>([](QColorDialog* c) {
                QColorDialog::setCustomColor(0, QColor(0x12, 0x34, 0x56));
                c->setCurrentColor(QColor(0, 128, 255));
                c->accept();
            });
            QTest::mouseClick(d->Shape1, Qt::LeftButton);
            QCOMPARE(d->SwatchColour(), 0xFF8000);
            Shot(*d, QStringLiteral("i18-dialog-farbe.png"));
        });
        QCOMPARE(static_cast<TBlockFarbe&>(colour).Farbe, 0xFF8000);
        QCOMPARE(static_cast<TBlockFarbe&>(colour).Bauteil, std::string("F40711_1"));
        const std::vector<std::string> custom = Param().GetCustomColors();
        QVERIFY(!custom.empty() &&
                QString::fromStdString(custom[0]).endsWith(QLatin1String("563412")));
        EditIn<TFormAblaufSetVar>(w, setVar, [](TFormAblaufSetVar* d) {
            d->eVariable->setText(QStringLiteral("150"));
            d->eWert->setText(QStringLiteral("7"));
            Shot(*d, QStringLiteral("i18-dialog-setvar.png"));
        });
        QCOMPARE(static_cast<TBlockSetVar&>(setVar).Variable, 99);
        EditIn<TFormAblaufIncVar>(w, inc, [](TFormAblaufIncVar* d) {
            d->eVariable->setText(QStringLiteral("99"));
            d->eWert->setText(QStringLiteral("-2"));
            Shot(*d, QStringLiteral("i18-dialog-incvar.png"));
        });
        EditIn<TFormAblaufVariable>(w, compare, [](TFormAblaufVariable* d) {
            d->eVar1->setText(QStringLiteral("99"));
            d->cbTyp->setCurrentIndex(4);
            Shot(*d, QStringLiteral("i18-dialog-variable.png"));
        });
        QCOMPARE(static_cast<TBlockVariable&>(compare).Art, 4);
        // A dialog left with "Abbrechen" changes nothing.
        AnswerNextDialog<TFormAblaufPause>([](TFormAblaufPause* d) {
            d->eIntervall->setText(QStringLiteral("5"));
            d->btnCancel->click();
        });
        QTest::mouseDClick(w.Surface(), Qt::LeftButton, {}, Middle(w.Surface(), pause));
        QCOMPARE(static_cast<TBlockPause&>(pause).Intervall, 1000);
        // Start and end blocks have no dialog, only a message.
        AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->accept(); });
        QTest::mouseDClick(w.Surface(), Qt::LeftButton, {}, Middle(w.Surface(), start));
        Shot(w, QStringLiteral("i18-logik-manager.png"));

        // Ctrl+wheel zooms around the pointer; blocks still snap to the program's grid.
        TLogicSurface* s = w.Surface();
        const auto wheel = [s](QPoint at, Qt::KeyboardModifiers modifiers) {
            QWheelEvent e(at, s->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(s, &e);
        };
        wheel(QPoint(100, 100), Qt::NoModifier);
        QCOMPARE(s->Zoom(), 1.0);
        wheel(s->ToWidget({200, 200}), Qt::ControlModifier);
        QCOMPARE(s->Zoom(), 1.25);
        QCOMPARE(s->width(), 6250);
        QCOMPARE(w.StatusText(), QStringLiteral("125 %"));
        const int32_t x = setVar.X;
        const QPoint grab = s->ToWidget({setVar.X + 10, setVar.Y + 10});
        QTest::mousePress(s, Qt::LeftButton, {}, grab);
        QTest::mouseMove(s, grab + QPoint(30, 0));  // 24 program pixels
        QTest::mouseRelease(s, Qt::LeftButton, {}, grab + QPoint(30, 0));
        QCOMPARE(setVar.X, (x + 24) / 8 * 8);
        for (int i = 0; i < 20; ++i) {
            wheel(QPoint(10, 10), Qt::ControlModifier);
        }
        QCOMPARE(s->Zoom(), TLogicSurface::kMaxZoom);
        w.ScrollBox()->horizontalScrollBar()->setValue(0);
        w.ScrollBox()->verticalScrollBar()->setValue(0);
        Shot(w, QStringLiteral("i18-logik-manager-zoomed.png"));
        w.hide();
    }
};

KX_GUI_TEST_MAIN(TestLlwinGui)
#include "test_llwin_gui.moc"
