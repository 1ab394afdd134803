// The motor panel of kinematics mode.
#include "motion/u_MotorPanel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QResizeEvent>
#include <QSlider>
#include <QToolButton>

#include "motion/u_motorstate.h"

namespace kx {

namespace {
constexpr int kTrackHeight = 30;
constexpr int kButtonRowHeight = 23;
constexpr int kButtonWidth = 23;
}  // namespace

TMotorPanel::TMotorPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setFixedSize(80, 125);

    m_label = new QLabel(QStringLiteral("Motor"), this);
    m_label->setObjectName(QStringLiteral("lblMotor"));
    m_label->setAlignment(Qt::AlignCenter);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSize(7);
    labelFont.setBold(true);
    m_label->setFont(labelFont);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("imgPart"));
    m_image->setAttribute(Qt::WA_TranslucentBackground);
    m_image->move(8, 10);

    m_track = new QSlider(Qt::Horizontal, this);
    m_track->setObjectName(QStringLiteral("tbSpeed"));
    m_track->setRange(1, 10);
    m_track->setPageStep(1);
    m_track->setTickPosition(QSlider::TicksBelow);
    connect(m_track, &QSlider::valueChanged, this, [this] { WriteState(); });

    m_buttonRow = new QWidget(this);
    m_buttonRow->setObjectName(QStringLiteral("pnlButtons"));
    m_buttons = new QButtonGroup(this);
    m_buttons->setExclusive(true);
    const char* captions[] = {"<", "0", ">"};
    const int statusOf[] = {1, 0, 2};
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QToolButton(m_buttonRow);
        button->setObjectName(QStringLiteral("btnStatus%1").arg(statusOf[i]));
        button->setText(QString::fromLatin1(captions[i]));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFont(bold);
        button->setGeometry(i * kButtonWidth, 0, kButtonWidth, kButtonRowHeight);
        m_buttons->addButton(button, statusOf[i]);
    }
    m_buttons->button(0)->setChecked(true);
    connect(m_buttons, &QButtonGroup::idClicked, this, [this] { WriteState(); });
    resizeEvent(nullptr);
}

void TMotorPanel::resizeEvent(QResizeEvent* event) {
    if (event) {
        QFrame::resizeEvent(event);
    }
    const int w = width();
    const int h = height();
    m_label->setGeometry(0, 0, w, m_label->sizeHint().height());
    m_track->setGeometry(0, h - kTrackHeight, w, kTrackHeight);
    m_buttonRow->setGeometry(0, h - kTrackHeight - kButtonRowHeight, w, kButtonRowHeight);
}

void TMotorPanel::Bind(TMotorPanelState* state) {
    m_state = state;
    WriteState();
}

void TMotorPanel::WriteState() {
    if (m_state && !m_syncing) {
        m_state->SetStatus(Status());
        m_state->SetSpeed(Speed());
    }
}

void TMotorPanel::SyncFromState() {
    if (!m_state) {
        return;
    }
    m_syncing = true;
    SetStatus(m_state->Status());
    SetSpeed(m_state->Speed());
    m_syncing = false;
}

int TMotorPanel::Status() const {
    if (m_buttons->button(2)->isChecked()) {
        return 2;
    }
    return m_buttons->button(1)->isChecked() ? 1 : 0;
}

void TMotorPanel::SetStatus(int status) {
    const int id = status == 1 || status == 2 ? status : 0;
    m_buttons->button(id)->setChecked(true);
    WriteState();
}

int TMotorPanel::Speed() const {
    return m_track->value();
}

void TMotorPanel::SetSpeed(int speed) {
    m_track->setValue(speed > 10 ? 10 : (speed < 1 ? 1 : speed));
    WriteState();
}

QString TMotorPanel::Text() const {
    return m_label->text();
}

void TMotorPanel::SetText(const QString& text) {
    m_label->setText(text);
}

QToolButton* TMotorPanel::Button(int status) const {
    return static_cast<QToolButton*>(m_buttons->button(status));
}

}  // namespace kx

#include "moc_u_MotorPanel.cpp"
