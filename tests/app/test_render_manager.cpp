// The export commands and the render manager on the real window: the status text says what
// was exported, a failed export says so; POV-Ray renders the crane in the background with
// progress and cancel, and the picture opens in the viewer window.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QClipboard>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_exportcommands.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "main_window_support.h"
#include "view/f_RenderManager.h"
#include "view/f_RenderView.h"

using namespace kx;

namespace {

void Shot(QWidget* widget, const char* name) {
    widget->grab().save(kxtest::ShotDir() + QStringLiteral("/") + QString::fromLatin1(name));
}

/// Whether the picture holds more than its background colour.
bool ShowsSomething(const QImage& image) {
    const QRgb corner = image.pixel(0, 0);
    int other = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            other += image.pixel(x, y) != corner;
        }
    }
    return other > image.width() * image.height() / 100;
}

}  // namespace

class TestRenderManager : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        m_form = std::make_unique<TMainForm>();
        kxtest::UseTestFiles(*m_form);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QVERIFY(m_form->LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/Kran.kxm"), true));
    }
    void cleanupTestCase() { m_form.reset(); }

    void exportsSayWhatWasWrittenAndFailuresSayWhy() {
        const QString base = m_dir.path() + QStringLiteral("/kran");
        m_form->SetStatusText(0, QString());
        kxtest::AnswerFile(base);
        QVERIFY(m_form->Commands().Execute("menExportX3DFlat"));
        QVERIFY(QFile::exists(base + QStringLiteral(".x3d")));
        const QString status = m_form->StatusText(0);
        QVERIFY2(status.contains(QStringLiteral("X3D")) && status.contains(base),
                 qPrintable(status));

        QString shown;
        kxtest::AnswerNextDialog<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->text();
            box->accept();
        });
        kxtest::AnswerFile(m_dir.path() + QStringLiteral("/missing/kran.pov"));
        QVERIFY(m_form->Commands().Execute("menExportPOV"));
        QVERIFY2(
            shown.contains(QStringLiteral("POV-Ray")) && shown.contains(QStringLiteral("missing")),
            qPrintable(shown));
        QCOMPARE(m_form->StatusText(0), status);
    }

    void povRayRendersTheCraneWithoutBlockingTheWindow() {
        QVERIFY(m_form->Commands().Execute("menRenderManager"));
        TFormRenderManager& manager = RenderManager(*m_form);
        QVERIFY(QTest::qWaitForWindowExposed(&manager));
        QVERIFY2(!manager.EnginePath().isEmpty(), "povray is on PATH");
        QStringList messages;
        manager.MessageShown = [&messages](const QString& m) { messages << m; };
        QSignalSpy finished(&manager, &TFormRenderManager::RenderFinished);

        // A large picture with radiosity takes long enough to watch it and to cancel it.
        TRenderSettings big;
        big.Width = 1600;
        big.Height = 1200;
        big.Radiosity = true;
        manager.SetSettings(big);
        QVERIFY(manager.Render());
        auto* bar = manager.findChild<QProgressBar*>(QStringLiteral("pbRender"));
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, 60000);
        QVERIFY(manager.Rendering());
        QApplication::processEvents();
        Shot(&manager, "i23-render-manager.png");
        manager.CancelRender();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(messages.isEmpty());

        TRenderSettings small;
        small.Width = 640;
        small.Height = 480;
        manager.SetSettings(small);
        QVERIFY(manager.Render());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 120000);
        QCOMPARE(finished.takeFirst().at(0).toBool(), true);
        TFormRenderView* view = manager.LastView();
        QVERIFY(view);
        QCOMPARE(view->Image().size(), QSize(640, 480));
        QVERIFY(ShowsSomething(view->Image()));
        QVERIFY(QTest::qWaitForWindowExposed(view));
        Shot(view, "i23-render-view.png");

        // Save as PNG (appended to a bare name) and as JPEG, and copy.
        QVERIFY(view->SaveAs(m_dir.path() + QStringLiteral("/bild")));
        QVERIFY(view->SaveAs(m_dir.path() + QStringLiteral("/bild.jpg")));
        QCOMPARE(QImage(m_dir.path() + QStringLiteral("/bild.png")).size(), QSize(640, 480));
        QCOMPARE(QImageReader(m_dir.path() + QStringLiteral("/bild.jpg")).format(),
                 QByteArray("jpeg"));
        QString error;
        QVERIFY(!view->SaveAs(m_dir.path() + QStringLiteral("/no/such/bild.png"), &error));
        view->CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(640, 480));
    }

    void aMissingOrFailingEngineSaysSo() {
        TFormRenderManager& manager = RenderManager(*m_form);
        QStringList messages;
        manager.MessageShown = [&messages](const QString& m) { messages << m; };
        QSignalSpy finished(&manager, &TFormRenderManager::RenderFinished);

        manager.SetEnginePath(m_dir.path() + QStringLiteral("/povray"));
        QVERIFY(!manager.Render());
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.takeFirst().contains(QStringLiteral("povray")));

        // An engine that refuses the scene: its own words reach the user.
        const QString fake = m_dir.path() + QStringLiteral("/failing-povray");
        QFile script(fake);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho 'Parse Error: no scene here' >&2\nexit 3\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        manager.SetEnginePath(fake);
        QVERIFY(manager.Render());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(QStringLiteral("3")) &&
                     messages.first().contains(QStringLiteral("Parse Error: no scene here")),
                 qPrintable(messages.first()));
        QVERIFY(!manager.Rendering());
    }

private:
    std::unique_ptr<TMainForm> m_form;
    QTemporaryDir m_dir;
};

KX_GUI_TEST_MAIN(TestRenderManager)
#include "test_render_manager.moc"
