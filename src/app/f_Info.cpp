// The information window: the program's version, its credits, and the libraries it is built on
// with their licences.
#include "app/f_Info.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_INFO", key, def));
}

struct TCredit {
    const char* Name;
    const char* Use;  ///< what the program does with it, in English: names and licences are
                      ///< the libraries' own words
    const char* Licence;
};

// What the program links or loads, and what each is for.
constexpr TCredit kCredits[] = {
    {"Qt 6", "windows, dialogs, printing", "GNU LGPL 3"},
    {"Mesa", "OpenGL drivers (software rendering where no GPU driver is present)", "MIT"},
    {"libepoxy", "OpenGL function loading", "MIT"},
    {"libpng, zlib", "PNG pictures, compressed data", "libpng licence, zlib licence"},
    {"libjpeg-turbo", "JPEG pictures", "IJG licence, modified BSD"},
    {"libcurl", "the library server's web requests", "curl licence (MIT-like)"},
    {"SDL 2", "joystick", "zlib licence"},
    {"FFmpeg (libavformat, libavcodec, libswscale)", "movies", "GNU LGPL 2.1 or later"},
    {"Open Asset Import Library (assimp)", "STL, glTF, OBJ and 3MF exports", "BSD 3-clause"},
    {"CLI11", "command lines of kxbatch and kxserver", "BSD 3-clause"},
    {"cpp-httplib", "the library server kxserver", "MIT"},
    {"libspnav", "3D mouse, when installed", "BSD 3-clause"},
};
}  // namespace

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(Text(1, "Information"));
    auto* title = new QLabel(QStringLiteral("<b>Korvex designer</b>"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version " KX_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto* credit =
        new QLabel(Text(2, "Die Bauteile, Symbole und Bilder sind eigene Arbeiten."), this);
    credit->setAlignment(Qt::AlignCenter);
    credit->setWordWrap(true);
    auto* libraries = new QTextBrowser(this);
    libraries->setObjectName(QStringLiteral("tbLibraries"));
    libraries->setOpenExternalLinks(false);
    QString html = QStringLiteral("<p>") +
                   Text(4, "Der Korvex designer steht auf diesen Bibliotheken:").toHtmlEscaped() +
                   QStringLiteral("</p><table cellspacing=\"2\">");
    for (const TCredit& c : kCredits) {
        html += QStringLiteral("<tr><td><b>%1</b><br>%2</td><td>%3</td></tr>")
                    .arg(QString::fromUtf8(c.Name).toHtmlEscaped(),
                         QString::fromUtf8(c.Use).toHtmlEscaped(),
                         QString::fromUtf8(c.Licence).toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    libraries->setHtml(html);
    auto* aboutQt = new QPushButton(Text(5, "Über Qt"), this);
    aboutQt->setObjectName(QStringLiteral("btnAboutQt"));
    aboutQt->setAutoDefault(false);
    connect(aboutQt, &QPushButton::clicked, this, [] { QApplication::aboutQt(); });
    auto* ok = new QPushButton(Text(3, "OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(aboutQt);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(credit);
    layout->addWidget(libraries, 1);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    setFixedSize(480, 320);
}

}  // namespace kx

#include "moc_f_Info.cpp"
