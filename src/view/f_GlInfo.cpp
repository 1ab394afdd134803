// The graphics-information window: what the OpenGL implementation of the view reports.
#include "view/f_GlInfo.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSurfaceFormat>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "view/r_glinfo.h"

#include "view/r_renderer.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_GLINFO", key, def));
}

QWidget* Page(const std::vector<std::pair<QString, QString>>& rows, QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    for (const auto& [label, value] : rows) {
        auto* v = new QLabel(value, page);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, v);
    }
    return page;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString Depths(int red, int green, int blue, int alpha) {
    return QStringLiteral("%1/%2/%3/%4").arg(red).arg(green).arg(blue).arg(alpha);
}
}  // namespace

TGlReport GlReport(const TGlInfo& info, const QSurfaceFormat& format, const TRenderStats* stats) {
    const auto yesNo = [](bool b) { return b ? Text(20, "ja") : Text(21, "nein"); };
    const bool doubleBuffered = format.swapBehavior() != QSurfaceFormat::SingleBuffer;
    TGlReport report;
    report.Common = {
        {Text(5, "Hersteller"), Q(info.Vendor)},
        {Text(6, "Renderer"), Q(info.Renderer)},
        {Text(7, "Beschleunigung"), info.Software ? Text(23, "Software") : Text(22, "Hardware")},
        {Text(8, "Version"), Q(info.Version)},
        {Text(9, "Shader-Sprache"), Q(info.ShadingLanguage)},
        {Text(10, "Doppelpufferung"), yesNo(doubleBuffered)},
        // A double-buffered surface shows a frame by exchanging its buffers; a single buffer
        // is drawn where it is shown.
        {Text(11, "Pufferwechsel"), doubleBuffered ? Text(24, "Austausch") : Text(25, "keiner")},
        {Text(12, "Stereo"), yesNo(format.stereo())}};
    report.Buffers = {
        {Text(13, "Farbe"), Depths(format.redBufferSize(), format.greenBufferSize(),
                                   format.blueBufferSize(), format.alphaBufferSize())},
        {Text(14, "Tiefe"), QString::number(format.depthBufferSize())},
        {Text(15, "Schablone"), QString::number(format.stencilBufferSize())},
        {Text(16, "Akkumulation"),
         Depths(info.AccumRedBits, info.AccumGreenBits, info.AccumBlueBits, info.AccumAlphaBits)},
        {Text(17, "Hilfspuffer"), QString::number(info.AuxBuffers)},
        {Text(18, "Subpixel"), QString::number(info.SubpixelBits)},
        {Text(19, "Abtastungen"), QString::number(std::max(0, format.samples()))}};
    if (stats) {
        report.Frame = {
            {Text(27, "Dreiecke"), QString::number(stats->Triangles)},
            {Text(28, "Zeichenaufrufe"), QString::number(stats->DrawCalls)},
            {Text(29, "Objekte"), QString::number(stats->Items)},
            {Text(30, "außerhalb der Sicht"), QString::number(stats->CulledItems)},
            {Text(31, "vereinfacht gezeichnet"), QString::number(stats->CoarseItems)},
            {Text(32, "zu klein, nicht gezeichnet"), QString::number(stats->HiddenItems)}};
    }
    return report;
}

TFormGlInfo::TFormGlInfo(const TGlReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormGlInfo"));
    setWindowTitle(Text(1, "OpenGL implementation info"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(Page(report.Common, tabs), Text(2, "Common"));
    tabs->addTab(Page(report.Buffers, tabs), Text(3, "Buffer and pixel depths"));
    if (!report.Frame.empty()) {
        tabs->addTab(Page(report.Frame, tabs), Text(26, "Letztes Bild"));
    }
    auto* close = new QPushButton(Text(4, "&Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(close, 0, Qt::AlignRight);
    ApplyFormStyle(this);
}

}  // namespace kx

#include "moc_f_GlInfo.cpp"
