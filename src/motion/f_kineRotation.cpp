// "Rotations-Bindung": the axes and tooth counts of a gear link, with a live preview.
#include "motion/f_kineRotation.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
    return QString::fromStdString(Language().GetText("F_KINEROTATION", key, def));
}

const char* const kButtonNames[2][kAxisButtonCount] = {
    {"btnB1R1", "btnB1R2", "btnB1G1", "btnB1G2", "btnB1B1", "btnB1B2"},
    {"btnB2R1", "btnB2R2", "btnB2G1", "btnB2G2", "btnB2B1", "btnB2B2"},
};

}  // namespace

TFormKineRotation::TFormKineRotation(const TGearLinkForm& form, TKinePreview* preview,
                                     QWidget* parent)
    : QDialog(parent), m_form(form), m_preview(preview), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("FormKineRotation"));
    setWindowTitle(Text(1, "Rotations-Bindung"));
    auto* panels = new QHBoxLayout;
    panels->addWidget(PartPanel(0, QString::fromStdString(form.Part1)));
    panels->addWidget(PartPanel(1, QString::fromStdString(form.Part2)));

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
    layout->addLayout(panels);
    layout->addLayout(buttons);
    ApplyFormStyle(this);

    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(kPreviewInterval);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    if (m_preview) {
        m_timer->start();
    }
}

QWidget* TFormKineRotation::PartPanel(int part, const QString& partName) {
    auto* box = new QGroupBox(part == 0 ? Text(4, "Bauteil 1") : Text(5, "Bauteil 2"), this);
    box->setObjectName(part == 0 ? QStringLiteral("pnlBauteil1") : QStringLiteral("pnlBauteil2"));
    auto* name = new QLabel(partName, box);
    name->setObjectName(part == 0 ? QStringLiteral("lblName1") : QStringLiteral("lblName2"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);

    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    m_axes[static_cast<size_t>(part)] = group;
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int b = 0; b < kAxisButtonCount; ++b) {
        const int axis = b / 2;
        const bool negative = b % 2 == 1;
        static const char* const kCaptions[] = {"X+", "X\u2212", "Y+", "Y\u2212", "Z+", "Z\u2212"};
        QToolButton* button = ToggleButton(box, kButtonNames[part][b], AxisIcon(axis, negative),
                                           QString::fromUtf8(kCaptions[b]));
        group->addButton(button, b);
        grid->addWidget(button, negative ? 1 : 0, axis);
    }
    const int preset = part == 0 ? m_form.Button1 : m_form.Button2;
    if (QAbstractButton* pressed = group->button(preset)) {
        pressed->setChecked(true);
    }
    connect(group, &QButtonGroup::idClicked, this, [this, part] { AxisPressed(part); });

    auto* teeth = new QLineEdit(QString::fromStdString(part == 0 ? m_form.Z1 : m_form.Z2), box);
    teeth->setObjectName(part == 0 ? QStringLiteral("eZ1") : QStringLiteral("eZ2"));
    teeth->setMaximumWidth(80);
    (part == 0 ? eZ1 : eZ2) = teeth;

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(name);
    layout->addWidget(new QLabel(Text(6, "Rotations-Achse"), box));
    layout->addLayout(grid);
    layout->addWidget(new QLabel(Text(7, "Übersetzung (Zähne)"), box));
    layout->addWidget(teeth);
    layout->addStretch();
    return box;
}

TGearLinkForm TFormKineRotation::Form() const {
    TGearLinkForm form = m_form;
    form.Button1 = std::max(0, m_axes[0]->checkedId());
    form.Button2 = std::max(0, m_axes[1]->checkedId());
    form.Z1 = eZ1->text().trimmed().toStdString();
    form.Z2 = eZ2->text().trimmed().toStdString();
    return form;
}

QToolButton* TFormKineRotation::AxisButton(int part, int button) const {
    return qobject_cast<QToolButton*>(m_axes[static_cast<size_t>(part)]->button(button));
}

void TFormKineRotation::AxisPressed(int part) {
    // The preview starts over from the part's stored pose about the new axis.
    m_timer->stop();
    if (m_preview) {
        m_preview->Reset(static_cast<size_t>(part));
        m_timer->start();
    }
}

void TFormKineRotation::Tick() {
    if (m_preview) {
        m_preview->StepGear(Form());
        if (Redraw) {
            Redraw();
        }
    }
}

void TFormKineRotation::done(int result) {
    m_timer->stop();
    QDialog::done(result);
}

}  // namespace kx

#include "moc_f_kineRotation.cpp"
