// The view's small windows: light manager, picture size, camera name, picture files.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "kx_gui_main.h"
#include "view/d_Bildgroesse.h"
#include "view/d_CameraName.h"
#include "view/f_LightManager.h"
#include "view/u_picturefile.h"
#include "view/u_scene.h"

using namespace kx;

class TestViewDialogs : public QObject {
    Q_OBJECT
private slots:
    void lightManagerSwitchesLightsAtOnce() {
        TScene scene;
        BuildMainScene(scene);
        TFormLichtManager form;
        int redraws = 0;
        form.SetScene(&scene, [&] { ++redraws; });
        // Only the camera light shines at start.
        for (int i = 1; i <= 8; ++i) {
            QCOMPARE(form.Box(i)->isChecked(), i == 2);
        }
        form.Box(5)->setChecked(true);
        QVERIFY(scene.Light(5)->Shining());
        form.Box(2)->setChecked(false);
        QVERIFY(!scene.Light(2)->Shining());
        QCOMPARE(redraws, 2);
        QCOMPARE(form.Box(2)->text(), QStringLiteral("Kamera-Licht"));
        QCOMPARE(form.Box(3)->text(), QStringLiteral("Licht 3"));
    }

    void pictureSizeOffersTheListAndManualValues() {
        TdlgBildgroesse dlg(QSize(700, 500));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Bildgröße wählen"));
        QCOMPARE(dlg.Sizes()->count(), 7);
        QCOMPARE(dlg.ChosenSize(), QSize(700, 500));  // "Manuell" is selected at first
        dlg.WidthEdit()->setText(QStringLiteral("abc"));
        dlg.HeightEdit()->setText(QStringLiteral("-3"));
        QCOMPARE(dlg.ChosenSize(), QSize(800, 600));
        dlg.Sizes()->setCurrentRow(1);
        QCOMPARE(dlg.ChosenSize(), QSize(320, 240));
    }

    void cameraNameIsTrimmedAndMayBeEmpty() {
        TdlgCameraName dlg(QStringLiteral("Kamera 1"));
        QCOMPARE(dlg.Name(), QStringLiteral("Kamera 1"));
        dlg.Edit()->setText(QStringLiteral("  Front  "));
        QCOMPARE(dlg.Name(), QStringLiteral("Front"));
        dlg.Edit()->clear();
        QCOMPARE(dlg.Name(), QString());
    }

    void pictureFilesGetTheirExtensionAndTransparentBackground() {
        QCOMPARE(PictureFileName(QStringLiteral("/tmp/a"), TPictureFormat::Png),
                 QStringLiteral("/tmp/a.png"));
        QCOMPARE(PictureFileName(QStringLiteral("/tmp/a.PNG"), TPictureFormat::Png),
                 QStringLiteral("/tmp/a.PNG"));
        QCOMPARE(PictureFileName(QStringLiteral("/tmp/x.jpg.old"), TPictureFormat::Jpeg),
                 QStringLiteral("/tmp/x.jpg.old"));

        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(1, 1, qRgb(255, 0, 0));
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("view.png"));
        QVERIFY(SavePicture(picture, png, TPictureFormat::Png, 0xFFFFFF));
        QImage back(png);
        QCOMPARE(qAlpha(back.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(back.pixel(1, 1)), 255);
        QCOMPARE(qRed(back.pixel(1, 1)), 255);

        const QString jpg = dir.filePath(QStringLiteral("view.jpg"));
        QVERIFY(SavePicture(picture, jpg, TPictureFormat::Jpeg, 0xFFFFFF));
        QCOMPARE(QImage(jpg).size(), QSize(4, 4));

        QString error;
        QVERIFY(!SavePicture(picture, dir.filePath(QStringLiteral("no/such/dir/x.bmp")),
                             TPictureFormat::Bmp, 0, &error));
        QVERIFY(!error.isEmpty());
    }
};

KX_GUI_TEST_MAIN(TestViewDialogs)

#include "test_view_dialogs.moc"
