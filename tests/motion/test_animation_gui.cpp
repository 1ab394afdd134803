// The animation on the real main window: recording keys with the animation bar, playing and
// stopping, the animation options, the time manager's drag, apply, close box and "Key
// entfernen", and a short video rendered offscreen and read back by ffprobe.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstdio>

#include "app/Main.h"
#include "app/d_Message.h"
#include "app/u_commandtable.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "motion/KeyEdit.h"
#include "motion/f_AniOpt.h"
#include "motion/f_Animation.h"
#include "motion/f_AnimationBar.h"
#include "motion/f_Zeitmanager.h"
#include "view/u_sceneobjects.h"

using namespace kx;
using kxtest::AnswerNextDialog;

namespace {

QString ShotDir() {
    return qEnvironmentVariable("KX_SCREENSHOT_DIR");
}

void Screenshot(QWidget& w, const char* name) {
    if (!ShotDir().isEmpty()) {
        QDir().mkpath(ShotDir());
        w.grab().save(ShotDir() + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
}

QString RunCapture(const QString& command) {
    QString out;
    if (FILE* p =
            popen((command + QStringLiteral(" 2>/dev/null")).toLocal8Bit().constData(), "r")) {
        char buffer[1024];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) {
            out += QString::fromLocal8Bit(buffer, qsizetype(n));
        }
        pclose(p);
    }
    return out.trimmed();
}

void Press(QToolButton* button) {
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

void LeftDrag(QWidget* w, int fromX, int toX) {
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(fromX, 32));
    QMouseEvent move(QEvent::MouseMove, QPointF(toX, 32), w->mapToGlobal(QPointF(toX, 32)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(toX, 32));
}

std::vector<int32_t> Times(TkxMain& model, const std::string& name) {
    std::vector<int32_t> out;
    for (const TKeyData& k : model.FindBauteil(name)->Keys()) {
        out.push_back(k.Time);
    }
    return out;
}

}  // namespace

class TestAnimationGui : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_form = std::make_unique<TMainForm>();
        m_form->resize(1100, 800);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        const QString sample = QStringLiteral(KX_RUNTIME_DIR "/samples/Kran.kxm");
        QVERIFY(m_form->LoadFile(sample, true));
        TkxMain& model = m_form->Model();
        QVERIFY(model.Parts().Count() >= 2);
        m_a = model.Parts()[0].Name();
        m_b = model.Parts()[1].Name();
    }
    void cleanup() {
        m_form->Animation()->Stop();
        m_form->Model().DeleteAll();  // closes without the question
        m_form.reset();
    }

    void recordPlayStopAndRenderAVideo() {
        TkxMain& model = m_form->Model();
        TAnimationBar& bar = *m_form->Animation();
        QSlider* track = m_form->TimeSlider();
        QCOMPARE(track->minimum(), 1);
        QCOMPARE(track->maximum(), 100);

        // Without a selection the user is told to select a part first.
        model.DeSelectAllBausteine();
        AnswerNextDialog<QDialog>([](QDialog* d) { d->accept(); });
        Press(bar.Button("btnRecord"));
        QVERIFY(model.FindBauteil(m_a)->Keys().empty());

        const TVector3f startA = model.PartObject(m_a)->Position();
        const TVector3f startB = model.PartObject(m_b)->Position();
        for (int32_t frame : {1, 50}) {
            track->setValue(frame);
            const float shift = frame == 1 ? 0.0f : 6.0f;
            model.PartObject(m_a)->SetPosition(startA + TVector3f{shift, 0, 0});
            model.PartObject(m_b)->SetPosition(startB + TVector3f{0, shift, 0});
            model.SelectBaustein(m_a);
            model.CoSelectBaustein(m_b, false, true, true);
            Press(bar.Button("btnRecord"));
        }
        QCOMPARE(Times(model, m_a), (std::vector<int32_t>{1, 50}));
        QCOMPARE(Times(model, m_b), (std::vector<int32_t>{1, 50}));
        QVERIFY(model.IsModified());
        track->setValue(25);
        QCOMPARE(bar.Timeline().Position(), 25);
        QVERIFY(std::abs(model.PartObject(m_a)->Position().X - (startA.X + 6.0f * 24 / 49)) <
                1e-4f);
        Press(bar.Button("btnStepEnd"));
        QCOMPARE(track->value(), 100);
        Press(bar.Button("btnStepAnfang"));
        Press(bar.Button("btnStepVor"));
        QCOMPARE(track->value(), 2);
        Screenshot(*m_form, "main-window");

        // Play, then stop at once: no hang, and the bar's buttons follow.
        Press(bar.Button("btnPlay"));
        QVERIFY(bar.Playing());
        QVERIFY(!bar.Button("btnPlay")->isEnabled());
        QVERIFY(!bar.Button("btnRecord")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(track->value() >= 4, 5000);
        Press(bar.Button("btnStop"));
        QVERIFY(!bar.Playing());
        QVERIFY(bar.Button("btnPlay")->isEnabled());
        const int stoppedAt = track->value();
        QTest::qWait(150);
        QCOMPARE(track->value(), stoppedAt);
        // Playback at the last frame carries on at frame 1.
        track->setValue(100);
        Press(bar.Button("btnPlay"));
        QTRY_VERIFY_WITH_TIMEOUT(track->value() < 50, 5000);
        Press(bar.Button("btnStop"));

        // "Optionen": a length that is no number gives 100; then a short animation.
        AnswerNextDialog<TDlgAniOpt>([](TDlgAniOpt* d) {
            d->LengthEdit()->setText(QStringLiteral("zehn"));
            d->accept();
        });
        QVERIFY(m_form->Commands().Execute("menAniOptions"));
        QCOMPARE(track->maximum(), 100);
        AnswerNextDialog<TDlgAniOpt>([](TDlgAniOpt* d) {
            QCOMPARE(d->LengthEdit()->text(), QStringLiteral("100"));
            d->LengthEdit()->setText(QStringLiteral("12"));
            d->accept();
        });
        QVERIFY(m_form->Commands().Execute("menAniOptions"));
        QCOMPARE(track->maximum(), 12);
        QCOMPARE(model.AniLength, 12);

        // The video: a size that is no multiple of 8 is cut down; the player is the desktop's.
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("kran"));
        QList<QUrl> opened;
        bar.OpenUrl = [&](const QUrl& url) {
            opened << url;
            return false;  // no player installed: not an error of the video
        };
        bar.OnVideoDialog = [&](TDlgAnimation& d) {
            QCOMPARE(d.FileEdit()->text(), QStringLiteral("out.avi"));
            QVERIFY(d.StartPlayerBox()->isChecked());
            QCOMPARE(d.WidthBox()->value() % 8, 0);
            d.FileEdit()->setText(base);
            d.CodecBox()->setCurrentIndex(d.CodecBox()->findData(int(TVideoCodec::Mjpeg)));
            d.WidthBox()->setValue(325);
            d.HeightBox()->setValue(240);
            d.resize(d.sizeHint());
            Screenshot(d, "video-dialog");
            d.accept();
        };
        QVERIFY(m_form->Commands().Execute("menMovie"));
        const QString video = base + QStringLiteral(".avi");
        QVERIFY(QFileInfo::exists(video));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].toLocalFile(), video);
        QCOMPARE(track->value(), 12);
        const QString probe = RunCapture(
            QStringLiteral("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                           "stream=codec_name,width,height,r_frame_rate,nb_read_frames "
                           "-of csv=p=0 '%1'")
                .arg(video));
        QCOMPARE(probe, QStringLiteral("mjpeg,320,240,25/1,12"));
        if (!ShotDir().isEmpty()) {
            RunCapture(QStringLiteral("ffmpeg -v error -y -i '%1' -vf 'select=eq(n\\,6)' "
                                      "-vframes 1 '%2/video-frame.png'")
                           .arg(video, ShotDir()));
        }
    }

    void timeManagerAppliesOnlyWithBtnBack() {
        TkxMain& model = m_form->Model();
        model.FindBauteil(m_a)->AddKey(TKeyData{.Time = 10});
        model.FindBauteil(m_a)->AddKey(TKeyData{.Time = 30});
        model.FindBauteil(m_b)->AddKey(TKeyData{.Time = 20});

        // Dragged to frame 50 and closed with the close box: the key stays.
        AnswerNextDialog<TDlgZeitManager>([](TDlgZeitManager* d) {
            QCOMPARE(d->Rows().size(), size_t(2));
            TKeyEdit* row = d->Rows()[0];
            LeftDrag(row, row->Row().FrameX(30), row->Row().FrameX(50));
            QCOMPARE(row->Row().Text, std::string("50"));
            d->close();
        });
        QVERIFY(m_form->Commands().Execute("menTimeManager"));
        QCOMPARE(Times(model, m_a), (std::vector<int32_t>{10, 30}));

        AnswerNextDialog<TDlgZeitManager>([](TDlgZeitManager* d) {
            TKeyEdit* row = d->Rows()[0];
            LeftDrag(row, row->Row().FrameX(30), row->Row().FrameX(50));
            QTest::mousePress(d->ZoomOutButton(), Qt::LeftButton);
            QTest::mouseRelease(d->ZoomOutButton(), Qt::LeftButton);
            QCOMPARE(row->Row().Zoom, 9);
            Screenshot(*d, "time-manager");
            d->BackButton()->click();
        });
        QVERIFY(m_form->Commands().Execute("menTimeManager"));
        QCOMPARE(Times(model, m_a), (std::vector<int32_t>{10, 50}));

        // "Key entfernen" from the row's popup holds even when the window is then closed.
        AnswerNextDialog<TDlgZeitManager>([](TDlgZeitManager* d) {
            TKeyEdit* row = d->Rows()[0];
            QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->Row().FrameX(10), 32));
            QTest::mouseClick(row, Qt::RightButton, {}, QPoint(row->Row().FrameX(10), 32));
            QTRY_VERIFY(d->Popup()->isVisible());
            d->Popup()->actions().first()->trigger();
            d->Popup()->hide();
            QCOMPARE(row->Row().Nodes.size(), size_t(1));
            d->close();
        });
        QVERIFY(m_form->Commands().Execute("menTimeManager"));
        QCOMPARE(Times(model, m_a), (std::vector<int32_t>{50}));
    }

    void cancellingAVideoLeavesNoFile() {
        TAnimationBar& bar = *m_form->Animation();
        QTemporaryDir dir;
        const QString video = dir.filePath(QStringLiteral("abbruch.avi"));
        bar.OpenUrl = [](const QUrl&) {
            QTest::qFail("a cancelled video is not opened", __FILE__, __LINE__);
            return false;
        };
        QPointer<TDlgAnimation> shown;
        bar.OnVideoDialog = [&](TDlgAnimation& d) {
            shown = &d;
            d.FileEdit()->setText(video);
            d.accept();
        };
        // "Abbrechen" while the frames are rendered, as a user would press it.
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (shown && shown->isVisible() && shown->Progress()->value() >= 3) {
                QVERIFY(!shown->OkButton()->isEnabled());
                shown->CancelButton()->click();
                poll.stop();
            }
        });
        poll.start();
        QVERIFY(m_form->Commands().Execute("menMovie"));
        QVERIFY(!poll.isActive());
        QVERIFY(!QFileInfo::exists(video));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(m_form->TimeSlider()->value() < 10);
    }

    void closingTheWindowWhilePlayingStopsPlayback() {
        TAnimationBar& bar = *m_form->Animation();
        Press(bar.Button("btnPlay"));
        QTest::qWait(60);
        AnswerNextDialog<TdlgMessage>([](TdlgMessage* d) { d->YesButton()->click(); });
        QVERIFY(m_form->close());
        QVERIFY(!bar.Playing());
    }

private:
    std::unique_ptr<TMainForm> m_form;
    std::string m_a, m_b;
};

KX_GUI_TEST_MAIN(TestAnimationGui)

#include "test_animation_gui.moc"
