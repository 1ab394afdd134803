// The connector window "Verbindung wählen": the fixed and new part's connector lists, the step
// buttons that nudge and turn the new part, confirm and cancel.
#include "placement/f_Conn.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "model/MainObj.h"

namespace kx {

namespace {

constexpr const char* kSection = "F_CONN";

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TFormConn::TFormConn(TkxMain& model, TDefCache& defs, QWidget* parent)
    : QDialog(parent), m_session(model, defs) {
    setObjectName(QStringLiteral("FormConn"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QVBoxLayout(this);

    auto* lists = new QHBoxLayout;
    auto* fixColumn = new QVBoxLayout;
    m_fixCaption = new QLabel(this);
    lbFix = new QListWidget(this);
    lbFix->setObjectName(QStringLiteral("lbFix"));
    lbFix->setFixedHeight(120);
    fixColumn->addWidget(m_fixCaption);
    fixColumn->addWidget(lbFix);
    auto* newColumn = new QVBoxLayout;
    m_newCaption = new QLabel(this);
    lbNew = new QListWidget(this);
    lbNew->setObjectName(QStringLiteral("lbNew"));
    lbNew->setFixedHeight(120);
    newColumn->addWidget(m_newCaption);
    newColumn->addWidget(lbNew);
    lists->addLayout(fixColumn);
    lists->addLayout(newColumn);
    outer->addLayout(lists, 1);

    // Step rows: the nudges along the new part's own axes (direction Z, up Y, direction x up),
    // then the turns about them. The captions name the axes, which read the same in every
    // language.
    auto* steps = new QGridLayout;
    steps->setHorizontalSpacing(3);
    steps->setVerticalSpacing(2);
    struct TNudgeRow {
        const char* Caption;
        const char* Name;
        TNudgeAxis Axis;
        QLabel** Label;
    };
    const TNudgeRow nudges[] = {{"Z", "Move", TNudgeAxis::Move, &lblMove},
                                {"Y", "Lift", TNudgeAxis::Lift, &lblLift},
                                {"X", "Slide", TNudgeAxis::Slide, &lblSlide}};
    int row = 0;
    for (const TNudgeRow& r : nudges) {
        steps->addWidget(new QLabel(QString::fromUtf8(r.Caption), this), row, 0);
        int column = 1;
        for (int value : {-50, -5, 5, 50}) {
            QPushButton* b =
                StepButton(QStringLiteral("btn%1%2").arg(QLatin1String(r.Name)).arg(column), value);
            const TNudgeAxis axis = r.Axis;
            connect(b, &QPushButton::clicked, this, [this, axis, value] {
                m_session.Nudge(axis, value);
                Changed();
            });
            steps->addWidget(b, row, column++);
        }
        *r.Label = new QLabel(this);
        (*r.Label)->setObjectName(QStringLiteral("lbl%1").arg(QLatin1String(r.Name)));
        (*r.Label)->setMinimumWidth(60);
        (*r.Label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        steps->addWidget(*r.Label, row, 6);
        ++row;
    }
    struct TTurnRow {
        const char* Caption;
        const char* Name;
        TTurnAxis Axis;
    };
    const TTurnRow turns[] = {{"\u27F2 Z", "Roll", TTurnAxis::Roll},
                              {"\u27F2 Y", "Turn", TTurnAxis::Turn},
                              {"\u27F2 X", "Pitch", TTurnAxis::Pitch}};
    for (const TTurnRow& r : turns) {
        steps->addWidget(new QLabel(QString::fromUtf8(r.Caption), this), row, 0);
        int column = 1;
        for (int value : {-10, -1, 1, 10, 90}) {
            QPushButton* b =
                StepButton(QStringLiteral("btn%1%2").arg(QLatin1String(r.Name)).arg(column), value);
            const TTurnAxis axis = r.Axis;
            connect(b, &QPushButton::clicked, this, [this, axis, value] {
                m_session.TurnStep(axis, value);
                Changed();
            });
            steps->addWidget(b, row, column++);
        }
        ++row;
    }
    outer->addLayout(steps);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    outer->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TFormConn::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TFormConn::reject);

    connect(lbFix, &QListWidget::currentRowChanged, this, [this](int index) {
        if (m_filling || index < 0) {
            return;
        }
        m_session.ChooseFixed(index);
        FillLists();
        Changed();
    });
    connect(lbNew, &QListWidget::currentRowChanged, this, [this](int index) {
        if (m_filling || index < 0) {
            return;
        }
        m_session.ChooseNew(index);
        Changed();
    });

    ApplyFormStyle(this);
    DoLanguage();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TFormConn::~TFormConn() = default;

QPushButton* TFormConn::StepButton(const QString& name, int value) {
    auto* b = new QPushButton(value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value),
                              this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    b->setFixedWidth(44);
    return b;
}

void TFormConn::DoLanguage() {
    setWindowTitle(Text(1, "Verbindung wählen"));
    m_fixCaption->setText(Text(2, "Fester Baustein"));
    m_newCaption->setText(Text(3, "Neuer Baustein"));
    btnOK->setText(Text(4, "OK"));
    btnCancel->setText(Text(5, "Abbrechen"));
}

void TFormConn::Prepare(TFreeForm& fixed, const std::string& number, int preselected) {
    m_done = false;
    PlaceWindow();
    m_session.Open(fixed, number, preselected);
    FillLists();
    ShowDistances();
    lbNew->setFocus();
    if (m_redraw) {
        m_redraw();
    }
}

void TFormConn::PlaceWindow() {
    TkxParam& param = Param();
    if ((param.ValueExists("CONNWINDOWTOP") && param.ValueExists("CONNWINDOWLEFT")) ||
        m_viewRect.isEmpty()) {
        move(param.GetConnWindowLeft(), param.GetConnWindowTop());
        return;
    }
    adjustSize();
    constexpr int kMargin = 8;
    QRect frame(QPoint(m_viewRect.right() - width() - kMargin, m_viewRect.top() + kMargin), size());
    if (const QScreen* screen = QGuiApplication::screenAt(m_viewRect.center())) {
        const QRect area = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
    }
    move(frame.topLeft());
}

int TFormConn::Execute(TFreeForm& fixed, const std::string& number, int preselected) {
    Prepare(fixed, number, preselected);
    return exec();
}

void TFormConn::FillLists() {
    m_filling = true;
    lbFix->clear();
    for (const std::string& item : m_session.FixedItems()) {
        lbFix->addItem(Q(item));
    }
    lbFix->setCurrentRow(m_session.FixedIndex());
    lbNew->clear();
    for (const std::string& item : m_session.NewItems()) {
        lbNew->addItem(Q(item));
    }
    lbNew->setCurrentRow(m_session.NewIndex());
    m_filling = false;
}

void TFormConn::ShowDistances() {
    lblMove->setText(Q(m_session.DistanceText(TNudgeAxis::Move)));
    lblLift->setText(Q(m_session.DistanceText(TNudgeAxis::Lift)));
    lblSlide->setText(Q(m_session.DistanceText(TNudgeAxis::Slide)));
}

void TFormConn::Changed() {
    ShowDistances();
    if (m_redraw) {
        m_redraw();
    }
}

void TFormConn::accept() {
    if (!m_done) {
        m_done = true;
        m_session.Confirm();
        Param().SetConnWindowTop(y());
        Param().SetConnWindowLeft(x());
    }
    QDialog::accept();
}

void TFormConn::reject() {
    if (!m_done) {
        m_done = true;
        m_session.Cancel();
    }
    if (m_redraw) {
        m_redraw();
    }
    QDialog::reject();
}

}  // namespace kx
