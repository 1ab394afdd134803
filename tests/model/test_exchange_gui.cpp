// The main window's exports to STL, glTF, GLB, OBJ and 3MF: the file name's extension, the
// status bar on success and the reason on failure.
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"

using namespace kx;
using kxtest::AnswerNextDialog;

class TestExchangeGui : public QObject {
    Q_OBJECT
private slots:
    void exportsNameTheirFilesAndSayHowTheyEnded() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/Leitungen.kxm"), true));
        QTemporaryDir tmp;
        QString chosen;
        form.FileChooser = [&](bool save, const QString&) { return save ? chosen : QString(); };

        struct TCase {
            const char* Command;
            const char* Chosen;
            const char* Written;  ///< the files that must exist afterwards
            const char* Magic;    ///< the first bytes of the first one
        };
        const TCase cases[] = {
            {"menExportGLB", "modell", "modell.glb", "glTF"},
            {"menExportGLTF", "web.gltf", "web.gltf web.bin", "{"},
            {"menExportSTL", "druck.STL", "druck.STL", "Assimp"},
            {"menExportOBJ", "objekt", "objekt.obj objekt.mtl", "#"},
            {"menExport3MF", "drei", "drei.3mf", "PK"},
        };
        for (const TCase& c : cases) {
            form.SetStatusText(0, QString());
            chosen = tmp.filePath(QString::fromUtf8(c.Chosen));
            QVERIFY2(form.Commands().Execute(c.Command), c.Command);
            const QStringList files = QString::fromUtf8(c.Written).split(QLatin1Char(' '));
            // The status names the file written, not the model.
            const QString status = form.StatusText(0);
            QVERIFY2(status.startsWith(QStringLiteral("Modell exportiert (")) &&
                         status.endsWith(QStringLiteral(": ") + tmp.filePath(files.first())),
                     qPrintable(status));
            for (const QString& file : files) {
                QVERIFY2(QFile::exists(tmp.filePath(file)), qPrintable(file));
            }
            QFile first(tmp.filePath(files.first()));
            QVERIFY(first.open(QIODevice::ReadOnly));
            QVERIFY2(first.read(8).startsWith(c.Magic), c.Command);
        }
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);
        // Numbers with a point, whatever the desktop's locale says.
        QFile obj(tmp.filePath(QStringLiteral("objekt.obj")));
        QVERIFY(obj.open(QIODevice::ReadOnly));
        const QByteArray text = obj.readAll();
        const qsizetype vertex = text.indexOf("\nv ");
        QVERIFY(vertex > 0);
        const QByteArray line = text.mid(vertex + 1, text.indexOf('\n', vertex + 1) - vertex - 1);
        QVERIFY2(line.contains('.') && !line.contains(','), line.constData());

        // A folder that does not exist: the reason is shown, the status bar keeps its text.
        form.SetStatusText(0, QStringLiteral("vorher"));
        chosen = tmp.filePath(QStringLiteral("fehlt/modell"));
        QString message;
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        QVERIFY(form.Commands().Execute("menExport3MF"));
        QVERIFY2(message.contains(QStringLiteral("modell.3mf")), qPrintable(message));
        QCOMPARE(form.StatusText(0), QStringLiteral("vorher"));

        // Cancelling the dialog writes nothing.
        chosen.clear();
        QVERIFY(form.Commands().Execute("menExportSTL"));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);

        const QString shots = qEnvironmentVariable("KX_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            QMenu* menu = form.Commands().Menu("menExport");
            menu->popup(form.mapToGlobal(QPoint(40, 40)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            menu->grab().save(shots + QStringLiteral("/i24-export-menu.png"));
            menu->hide();
        }
    }
};

KX_GUI_TEST_MAIN(TestExchangeGui)

#include "test_exchange_gui.moc"
