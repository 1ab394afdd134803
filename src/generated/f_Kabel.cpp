// The cable window: colour and stand-off of a cable between two plugs.
#include "generated/f_Kabel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("F_KABEL", key, german));
}
}  // namespace

TFormKabel::TFormKabel(TCableSession& session, std::function<void()> changed, QWidget* parent)
    : QDialog(parent), m_session(session), m_changed(std::move(changed)) {
    FormCreate();
}

void TFormKabel::FormCreate() {
    Stack().Push("TFormKabel.FormCreate");
    setObjectName(QStringLiteral("FormKabel"));
    setWindowTitle(Text(1, "Kabel erzeugen"));

    rbRot = new QRadioButton(Text(2, "Rot"), this);
    rbRot->setObjectName(QStringLiteral("rbRot"));
    rbGruen = new QRadioButton(Text(3, "Grün"), this);
    rbGruen->setObjectName(QStringLiteral("rbGruen"));
    auto* colours = new QButtonGroup(this);
    colours->addButton(rbRot);
    colours->addButton(rbGruen);
    rbRot->setChecked(!m_session.Green());
    rbGruen->setChecked(m_session.Green());

    lblAbstand = new QLabel(Text(4, "Abstand"), this);
    lblAbstand->setObjectName(QStringLiteral("lblAbstand"));
    tb = new QSlider(Qt::Horizontal, this);
    tb->setObjectName(QStringLiteral("tb"));
    tb->setRange(0, kCableTrackMax);
    tb->setPageStep(5);
    tb->setTickPosition(QSlider::TicksBelow);
    tb->setTickInterval(5);
    tb->setValue(m_session.TrackPosition());
    lblValue = new QLabel(this);
    lblValue->setObjectName(QStringLiteral("lblValue"));
    lblValue->setMinimumWidth(48);
    lblValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblAbstand->setBuddy(tb);

    btnOK = new QPushButton(Text(5, "OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(Text(6, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnHelp = new QPushButton(QStringLiteral("?"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnHelp->setFixedWidth(btnHelp->sizeHint().height());

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(rbRot);
    colourRow->addWidget(rbGruen);
    colourRow->addStretch();
    auto* trackRow = new QHBoxLayout;
    trackRow->addWidget(tb, 1);
    trackRow->addWidget(lblValue);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(colourRow);
    layout->addWidget(lblAbstand);
    layout->addLayout(trackRow);
    layout->addLayout(buttons);
    ShowValue();

    connect(tb, &QSlider::valueChanged, this, &TFormKabel::tbChange);
    connect(rbRot, &QRadioButton::toggled, this, &TFormKabel::rbGruenClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpContext); });
    ApplyFormStyle(this);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void TFormKabel::tbChange() {
    Stack().Push("TFormKabel.tbChange", tb->value());
    m_session.SetTrackPosition(tb->value());
    ShowValue();
    if (m_changed) {
        m_changed();
    }
}

void TFormKabel::rbGruenClick() {
    Stack().Push("TFormKabel.rbGruenClick", rbGruen->isChecked());
    m_session.SetGreen(rbGruen->isChecked());
    if (m_changed) {
        m_changed();
    }
}

void TFormKabel::ShowValue() {
    // The stand-off in millimetres, as the tools show lengths.
    lblValue->setText(QStringLiteral("%1 mm").arg(tb->value()));
}

TCableWindowQt::TCableWindowQt(QWidget* view, std::function<void()> redraw)
    : m_view(view), m_redraw(std::move(redraw)) {}

bool TCableWindowQt::Execute(TCableSession& session) {
    QWidget* owner = m_view ? m_view->window() : nullptr;
    TFormKabel form(session, m_redraw, owner);
    QObject::connect(&form, &TFormKabel::HelpRequested, &form, [this, &form](int context) {
        if (OnHelp) {
            OnHelp(context);
        } else {
            ShowHelp(&form, context);
        }
    });
    if (m_view) {
        form.move(m_view->mapToGlobal(QPoint(0, 0)));
    }
    if (m_redraw) {
        m_redraw();
    }
    return form.exec() == QDialog::Accepted;
}

}  // namespace kx

#include "moc_f_Kabel.cpp"
