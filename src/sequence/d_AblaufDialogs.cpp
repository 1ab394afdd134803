// The property dialogs of the flowchart's blocks.
#include "sequence/d_AblaufDialogs.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "view/f_EditModes.h"

namespace kx {

namespace {

/// The integer in the field, or `def` when it holds none.
int32_t NumberOr(const QLineEdit* edit, int32_t def) {
    return ParseInt(Trim(edit->text().toStdString())).value_or(def);
}

QLineEdit* NumberEdit(QWidget* parent, const char* name, int32_t value) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QColor FromWinColour(int32_t c) {
    const auto v = static_cast<uint32_t>(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int32_t ToWinColour(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

/// The pictures of the motor's direction buttons: arrows and a stop sign.
QIcon DirectionPicture(int status) {
    QIcon icon;
    for (const int ratio : {1, 2}) {
        QPixmap pixmap(28 * ratio, 28 * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (status == 0) {
            QPolygonF octagon;
            for (int i = 0; i < 8; ++i) {
                const double a = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
                octagon << QPointF(14 + 12 * std::cos(a), 14 + 12 * std::sin(a));
            }
            p.setPen(QPen(Qt::white, 1.5));
            p.setBrush(QColor(200, 30, 30));
            p.drawPolygon(octagon);
            p.fillRect(QRectF(8, 12.5, 12, 3), Qt::white);
        } else {
            const bool left = status == 1;
            QPainterPath arrow;
            const double tip = left ? 3 : 25;
            const double head = left ? 13 : 15;
            const double tail = left ? 25 : 3;
            arrow.moveTo(tip, 14);
            arrow.lineTo(head, 5);
            arrow.lineTo(head, 10);
            arrow.lineTo(tail, 10);
            arrow.lineTo(tail, 18);
            arrow.lineTo(head, 18);
            arrow.lineTo(head, 23);
            arrow.closeSubpath();
            p.fillPath(arrow, QColor(40, 90, 170));
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon SwatchPicture(int32_t colour) {
    QPixmap pixmap(56, 20);
    pixmap.fill(FromWinColour(colour));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 55, 19);
    return QIcon(pixmap);
}

}  // namespace

// --- TAblaufDialog ----------------------------------------------------------------------------

TAblaufDialog::TAblaufDialog(const char* objectName, const char* section, const char* caption,
                             QWidget* parent, bool keys)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_grid(new QGridLayout),
      m_section(section),
      m_keys(keys) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(Text(1, caption));
    SetHelpContext(this, kHelpContext);
    btnOK = new QPushButton(Text(2, keys ? "OK" : "Ok"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(Text(3, "Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOK->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    btnOK->setDefault(keys);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TAblaufDialog::Text(int key, const char* def) const {
    return QString::fromStdString(Language().GetText(m_section, key, def));
}

void TAblaufDialog::AddLabel(int row, int key, const char* def, int column) {
    auto* label = new QLabel(key > 0 ? Text(key, def) : QString::fromUtf8(def), this);
    m_grid->addWidget(label, row, column);
}

void TAblaufDialog::Finish() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    layout->addStretch();
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    adjustSize();
    if (const QScreen* s = screen()) {
        move(s->availableGeometry().center() - rect().center());
    }
}

void TAblaufDialog::keyPressEvent(QKeyEvent* event) {
    if (!m_keys && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                    event->key() == Qt::Key_Enter)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- Motor ------------------------------------------------------------------------------------

TFormAblaufMotor::TFormAblaufMotor(TBlockMotor& block, QWidget* parent)
    : TAblaufDialog("FormAblaufMotor", "D_ABLAUF_MOTOR", "s", parent), m_block(block) {
    AddLabel(0, 4, "Motor-Nr.:");
    cbNr = new QComboBox(this);
    cbNr->setObjectName(QStringLiteral("cbNr"));
    for (int n = 1; n <= 8; ++n) {
        cbNr->addItem(QString::number(n));
    }
    cbNr->setCurrentIndex(block.MotorNr >= 1 && block.MotorNr <= 8 ? block.MotorNr - 1 : -1);
    m_grid->addWidget(cbNr, 0, 1);
    AddLabel(1, 5, "Richtung:");
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    auto* row = new QHBoxLayout;
    const auto button = [&](const char* name, int status) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(DirectionPicture(status));
        b->setIconSize(QSize(28, 28));
        b->setCheckable(true);
        group->addButton(b);
        row->addWidget(b);
        return b;
    };
    btnLeft = button("btnLeft", 1);
    btnStop = button("btnStop", 0);
    btnRight = button("btnRight", 2);
    (block.Status == 1 ? btnLeft : block.Status == 2 ? btnRight : btnStop)->setChecked(true);
    m_grid->addLayout(row, 1, 1);
    Finish();
}

void TFormAblaufMotor::Apply() {
    m_block.MotorNr = cbNr->currentIndex() + 1;
    m_block.Status = btnLeft->isChecked() ? 1 : btnRight->isChecked() ? 2 : 0;
}

// --- Collision --------------------------------------------------------------------------------

TFormAblaufKollision::TFormAblaufKollision(TBlockKollision& block,
                                           const std::vector<TCollData>& rules, QWidget* parent)
    : TAblaufDialog("FormAblaufKollision", "D_ABLAUF_KOLLISION", "Eigenschaften Kollision", parent),
      m_block(block) {
    AddLabel(0, 4, "Kollisions-Name:");
    cbName = new QComboBox(this);
    cbName->setObjectName(QStringLiteral("cbName"));
    cbName->setEditable(true);
    cbName->setMinimumWidth(160);
    for (const TCollData& rule : rules) {
        if (rule.ReportsOnly()) {
            cbName->addItem(QString::fromStdString(rule.Param1));
        }
    }
    cbName->setCurrentText(QString::fromStdString(block.Name));
    m_grid->addWidget(cbName, 1, 0);
    Finish();
}

void TFormAblaufKollision::Apply() {
    m_block.Name = cbName->currentText().toStdString();
}

// --- Pause ------------------------------------------------------------------------------------

TFormAblaufPause::TFormAblaufPause(TBlockPause& block, QWidget* parent)
    : TAblaufDialog("FormAblaufPause", "D_ABLAUF_PAUSE", "Eigenschaften Pause", parent),
      m_block(block) {
    AddLabel(0, 4, "Dauer (in Millisekunden)");
    eIntervall = NumberEdit(this, "eIntervall", block.Intervall);
    m_grid->addWidget(eIntervall, 1, 0);
    Finish();
}

void TFormAblaufPause::Apply() {
    m_block.Intervall = NumberOr(eIntervall, 1000);
}

// --- Set variable -----------------------------------------------------------------------------

TFormAblaufSetVar::TFormAblaufSetVar(TBlockSetVar& block, QWidget* parent)
    : TAblaufDialog("FormAblaufSetVar", "D_ABLAUF_SETVAR", "Variable setzen", parent),
      m_block(block) {
    AddLabel(0, 4, "Variable (1..99)", 0);
    AddLabel(0, 5, "Wert", 2);
    eVariable = NumberEdit(this, "eVariable", block.Variable);
    eWert = NumberEdit(this, "eWert", block.Wert);
    m_grid->addWidget(eVariable, 1, 0);
    AddLabel(1, 0, "=", 1);
    m_grid->addWidget(eWert, 1, 2);
    Finish();
}

void TFormAblaufSetVar::Apply() {
    m_block.Variable = std::clamp(NumberOr(eVariable, 1), 1, 99);
    m_block.Wert = NumberOr(eWert, 0);
}

// --- Joystick ---------------------------------------------------------------------------------

TFormAblaufJoystick::TFormAblaufJoystick(TBlockJoystick& block, QWidget* parent)
    : TAblaufDialog("FormAblaufJoystick", "D_ABLAUF_JOYSTICK", "Joystick-Eigenschaften", parent),
      m_block(block) {
    AddLabel(0, 4, "Joystick-Achse/Knopf");
    cbAchse = new QComboBox(this);
    cbAchse->setObjectName(QStringLiteral("cbAchse"));
    const char* const items[] = {"Achse X+", "Achse X-", "Achse Y+", "Achse Y-",
                                 "Knopf 1",  "Knopf 2",  "Knopf 3",  "Knopf 4"};
    int key = 5;
    for (const char* item : items) {
        cbAchse->addItem(Text(key++, item));
    }
    cbAchse->setCurrentIndex(block.Achse >= 0 && block.Achse < 8 ? block.Achse : -1);
    m_grid->addWidget(cbAchse, 1, 0);
    Finish();
}

void TFormAblaufJoystick::Apply() {
    m_block.Achse = cbAchse->currentIndex();
}

// --- Colour -----------------------------------------------------------------------------------

TFormAblaufFarbe::TFormAblaufFarbe(TBlockFarbe& block, QWidget* parent)
    : TAblaufDialog("FormAblaufFarbe", "D_ABLAUF_FARBE", "Bauteil einfärben", parent, false),
      m_block(block),
      m_colour(block.Farbe) {
    AddLabel(0, 4, "Bauteil");
    eBauteil = new QLineEdit(QString::fromStdString(block.Bauteil), this);
    eBauteil->setObjectName(QStringLiteral("eBauteil"));
    m_grid->addWidget(eBauteil, 0, 1);
    AddLabel(1, 5, "Farbe");
    Shape1 = new QToolButton(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setIconSize(QSize(56, 20));
    connect(Shape1, &QToolButton::clicked, this, [this] { ChooseColour(); });
    m_grid->addWidget(Shape1, 1, 1, Qt::AlignLeft);
    ShowColour();
    Finish();
}

void TFormAblaufFarbe::ShowColour() {
    Shape1->setIcon(SwatchPicture(m_colour));
}

void TFormAblaufFarbe::ChooseColour() {
    Stack().Push("TFormAblaufFarbe.Shape1MouseDown");
    LoadCustomColors();
    QColorDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted) {
        m_colour = ToWinColour(dialog.currentColor());
        ShowColour();
    }
    // The custom colours are the user's palette, kept whether or not a colour was taken.
    StoreCustomColors();
}

void TFormAblaufFarbe::Apply() {
    m_block.Bauteil = eBauteil->text().toStdString();
    m_block.Farbe = m_colour;
}

// --- Compare ----------------------------------------------------------------------------------

TFormAblaufVariable::TFormAblaufVariable(TBlockVariable& block, QWidget* parent)
    : TAblaufDialog("FormAblaufVariable", "D_ABLAUF_VARIABLE", "Variable abfragen", parent),
      m_block(block) {
    AddLabel(0, 4, "Variable (1..99)", 0);
    AddLabel(0, 0, "Variable (1..99)", 2);
    eVar1 = NumberEdit(this, "eVar1", block.Var1);
    cbTyp = new QComboBox(this);
    cbTyp->setObjectName(QStringLiteral("cbTyp"));
    for (const char* op : {"=", "<", ">", "<=", ">=", "<>"}) {
        cbTyp->addItem(QString::fromLatin1(op));
    }
    cbTyp->setCurrentIndex(block.Art >= 0 && block.Art < 6 ? block.Art : -1);
    eVar2 = NumberEdit(this, "eVar2", block.Var2);
    m_grid->addWidget(eVar1, 1, 0);
    m_grid->addWidget(cbTyp, 1, 1);
    m_grid->addWidget(eVar2, 1, 2);
    Finish();
}

void TFormAblaufVariable::Apply() {
    m_block.Var1 = NumberOr(eVar1, 1);
    m_block.Var2 = NumberOr(eVar2, 1);
    m_block.Art = cbTyp->currentIndex();
}

// --- Change variable --------------------------------------------------------------------------

TFormAblaufIncVar::TFormAblaufIncVar(TBlockIncVar& block, QWidget* parent)
    : TAblaufDialog("FormAblaufIncVar", "D_ABLAUF_INCVAR", "Variable verändern", parent),
      m_block(block) {
    AddLabel(0, 4, "Variable (1..99)", 0);
    AddLabel(0, 5, "Schrittweite", 1);
    eVariable = NumberEdit(this, "eVariable", block.Variable);
    eWert = NumberEdit(this, "eWert", block.Wert);
    m_grid->addWidget(eVariable, 1, 0);
    m_grid->addWidget(eWert, 1, 1);
    Finish();
}

void TFormAblaufIncVar::Apply() {
    m_block.Variable = NumberOr(eVariable, 1);
    m_block.Wert = NumberOr(eWert, 1);
}

// --- Edit -------------------------------------------------------------------------------------

namespace {
template <class TForm, class... TArgs>
bool Run(TArgs&&... args) {
    TForm form(std::forward<TArgs>(args)...);
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    form.Apply();
    return true;
}
}  // namespace

bool EditBlock(QWidget* parent, TBlock& block, const std::vector<TCollData>& rules) {
    Stack().Push("TBlock.Edit", static_cast<int>(block.Kind()));
    switch (block.Kind()) {
        case TBlockKind::Start:
        case TBlockKind::Ende: {
            const bool start = block.Kind() == TBlockKind::Start;
            QMessageBox::information(parent, QStringLiteral("Korvex designer"),
                                     QString::fromStdString(Language().GetText(
                                         "U_ABLAUF", start ? 1 : 2,
                                         start ? "Für den Start-Block gibt es keine Parameter"
                                               : "Für den Ende-Block gibt es keine Parameter")));
            return false;
        }
        case TBlockKind::Motor:
            return Run<TFormAblaufMotor>(static_cast<TBlockMotor&>(block), parent);
        case TBlockKind::Kollision:
            return Run<TFormAblaufKollision>(static_cast<TBlockKollision&>(block), rules, parent);
        case TBlockKind::Pause:
            return Run<TFormAblaufPause>(static_cast<TBlockPause&>(block), parent);
        case TBlockKind::SetVar:
            return Run<TFormAblaufSetVar>(static_cast<TBlockSetVar&>(block), parent);
        case TBlockKind::Joystick:
            return Run<TFormAblaufJoystick>(static_cast<TBlockJoystick&>(block), parent);
        case TBlockKind::Farbe:
            return Run<TFormAblaufFarbe>(static_cast<TBlockFarbe&>(block), parent);
        case TBlockKind::Variable:
            return Run<TFormAblaufVariable>(static_cast<TBlockVariable&>(block), parent);
        case TBlockKind::IncVar:
            return Run<TFormAblaufIncVar>(static_cast<TBlockIncVar&>(block), parent);
    }
    return false;
}

}  // namespace kx

#include "moc_d_AblaufDialogs.cpp"
