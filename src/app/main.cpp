// Program start and shutdown.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex designer"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Korvex designer"));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
