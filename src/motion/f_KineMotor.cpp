// "Motor festlegen": motor, axis and direction of a driven part, with a live preview.
#include "motion/f_KineMotor.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "motion/kinewidgets.h"

namespace kx {

namespace {

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_KINEMOTOR", key, def));
}

}  // namespace

TFormKineMotor::TFormKineMotor(const TMotorForm& form, TKinePreview* preview, QWidget* parent)
    : QDialog(parent),
      m_form(form),
      m_preview(preview),
      m_axes(new QButtonGroup(this)),
      m_status(new QButtonGroup(this)),
      cbMotor(new QComboBox(this)),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("FormKineMotor"));
    setWindowTitle(Text(1, "Motor festlegen"));

    auto* part = new QLabel(QString::fromStdString(form.PartName), this);
    part->setObjectName(QStringLiteral("lblPart"));
    QFont bold = part->font();
    bold.setBold(true);
    part->setFont(bold);

    // Axis buttons in the order X, Y, Z; their ids are the axis codes of the form.
    struct TAxis {
        const char* Name;
        int Key;
        const char* Caption;
        int Id;
    };
    const TAxis axes[] = {{"btnPitch", 7, "X-Achse", kMotorAxisX},
                          {"btnTurn", 8, "Y-Achse", kMotorAxisY},
                          {"btnRoll", 9, "Z-Achse", kMotorAxisZ}};
    auto* axisRow = new QHBoxLayout;
    for (const TAxis& a : axes) {
        QToolButton* button =
            ToggleButton(this, a.Name, AxisIcon(a.Id, false), Text(a.Key, a.Caption));
        m_axes->addButton(button, a.Id);
        axisRow->addWidget(button);
    }
    m_axes->setExclusive(true);
    if (QAbstractButton* pressed = m_axes->button(form.Axis)) {
        pressed->setChecked(true);
    }
    connect(m_axes, &QButtonGroup::idClicked, this, [this] { AxisPressed(); });

    struct TStatus {
        const char* Name;
        int Direction;
        int Id;
    };
    const TStatus states[] = {{"btnLeft", -1, 1}, {"btnStop", 0, 0}, {"btnRight", 1, 2}};
    auto* statusRow = new QHBoxLayout;
    for (const TStatus& s : states) {
        QToolButton* button = ToggleButton(this, s.Name, DirectionIcon(s.Direction));
        m_status->addButton(button, s.Id);
        statusRow->addWidget(button);
    }
    statusRow->addStretch();
    m_status->setExclusive(true);
    if (QAbstractButton* pressed = m_status->button(form.Status)) {
        pressed->setChecked(true);
    }

    cbMotor->setObjectName(QStringLiteral("cbMotor"));
    for (int n = 1; n <= kMotorCount; ++n) {
        const std::string item = "Motor " + std::to_string(n);
        cbMotor->addItem(Text(9 + n, item.c_str()));
    }
    cbMotor->setCurrentIndex(form.MotorIndex >= 0 && form.MotorIndex < kMotorCount ? form.MotorIndex
                                                                                   : 0);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(4, "Rotations-Achse"), this), 0, 0);
    grid->addLayout(axisRow, 0, 1);
    grid->addWidget(new QLabel(Text(5, "Status"), this), 1, 0);
    grid->addLayout(statusRow, 1, 1);
    grid->addWidget(new QLabel(Text(6, "Motor"), this), 2, 0);
    grid->addWidget(cbMotor, 2, 1, Qt::AlignLeft);

    auto* ok = new QPushButton(Text(2, "OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(3, "Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(HelpButton(this, kHelpContext));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(part);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    ApplyFormStyle(this);

    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kPreviewInterval);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    if (m_preview && form.PreviewAtStart) {
        m_timer->start();
    }
}

TMotorForm TFormKineMotor::Form() const {
    TMotorForm form = m_form;
    form.Axis = m_axes->checkedId();
    form.Status = std::max(0, m_status->checkedId());
    form.MotorIndex = cbMotor->currentIndex();
    return form;
}

QToolButton* TFormKineMotor::AxisButton(int axis) const {
    return qobject_cast<QToolButton*>(m_axes->button(axis));
}

QToolButton* TFormKineMotor::StatusButton(int status) const {
    return qobject_cast<QToolButton*>(m_status->button(status));
}

void TFormKineMotor::AxisPressed() {
    // The preview starts over from the part's stored pose about the new axis.
    m_timer->stop();
    if (m_preview) {
        m_preview->Reset(0);
        m_timer->start();
    }
}

void TFormKineMotor::Tick() {
    if (m_preview) {
        m_preview->StepMotor(Form());
        if (Redraw) {
            Redraw();
        }
    }
}

void TFormKineMotor::done(int result) {
    m_timer->stop();
    QDialog::done(result);
}

}  // namespace kx

#include "moc_f_KineMotor.cpp"
