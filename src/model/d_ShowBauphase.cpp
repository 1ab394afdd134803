// The build-phase display: a small tool window that shows the current phase in large digits.
#include "model/d_ShowBauphase.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
// Settings may hold anything; the window stays within reach and big enough to show a digit.
constexpr int kMinSide = 16;
constexpr int kMaxSide = 4096;
constexpr int kMaxPosition = 100000;
// Far beyond any window: ends the search even for an empty or zero-width text.
constexpr int kMaxFontSize = 2000;
}  // namespace

TdlgShowBauphase::TdlgShowBauphase(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    Stack().Push("TdlgShowBauphase.FormCreate");
    setObjectName(QStringLiteral("dlgShowBauphase"));
    setFocusPolicy(Qt::StrongFocus);
    ApplyFormStyle(this);
    DoLanguage();
    // The house digits where the font is installed, a typewriter face like it otherwise.
    m_font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Nimbus Mono PS"),
                        QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setBold(true);

    TkxParam& param = Param();
    const int left = std::clamp(param.GetPhaseWindowLeft(), -kMaxPosition, kMaxPosition);
    const int top = std::clamp(param.GetPhaseWindowTop(), -kMaxPosition, kMaxPosition);
    const int width = std::clamp(param.GetPhaseWindowWidth(), kMinSide, kMaxSide);
    const int height = std::clamp(param.GetPhaseWindowHeight(), kMinSide, kMaxSide);
    move(left, top);
    resize(width, height);
}

void TdlgShowBauphase::DoLanguage() {
    setWindowTitle(QString::fromStdString(Language().GetText("D_SHOWBAUPHASE", 1, "Bauphase")));
}

void TdlgShowBauphase::SetBauphase(int phase) {
    m_phase = phase;
    update();
}

int TdlgShowBauphase::FitFontSize(const QString& text, QFont font, const QSize& area,
                                  const QPaintDevice* device) {
    int size = 1;
    for (int next = 2; next <= kMaxFontSize; ++next) {
        font.setPointSize(next);
        const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
        const QSize needed(metrics.horizontalAdvance(text), metrics.height());
        if (needed.width() > area.width() || needed.height() > area.height()) {
            break;
        }
        size = next;
    }
    return size;
}

void TdlgShowBauphase::paintEvent(QPaintEvent*) {
    const QString text = QString::number(m_phase);
    m_font.setPointSize(FitFontSize(text, m_font, contentsRect().size(), this));
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, text);
}

void TdlgShowBauphase::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) {
        StorePlacement();
    }
    QWidget::changeEvent(event);
}

void TdlgShowBauphase::focusOutEvent(QFocusEvent* event) {
    StorePlacement();
    QWidget::focusOutEvent(event);
}

void TdlgShowBauphase::StorePlacement() {
    Stack().Push("TdlgShowBauphase.FormDeactivate");
    TkxParam& param = Param();
    param.SetPhaseWindowTop(y());
    param.SetPhaseWindowLeft(x());
    param.SetPhaseWindowWidth(width());
    param.SetPhaseWindowHeight(height());
}

}  // namespace kx

#include "moc_d_ShowBauphase.cpp"
