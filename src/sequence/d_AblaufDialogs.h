// The property dialogs of the flowchart's blocks, one per kind that has parameters. Each is
// preset from its block and changes it only when confirmed (Apply).
#pragma once

#include <QDialog>
#include <vector>

#include "motion/u_colldata.h"
#include "sequence/u_ablaufblocks.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kx {

/// What the eight dialogs share: their language section, the confirm and cancel buttons, the
/// small tool frame centred on the screen.
class TAblaufDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4151;

    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    /// Writes the dialog's values into its block.
    virtual void Apply() = 0;

protected:
    /// `keys`: whether Enter confirms and Escape cancels.
    TAblaufDialog(const char* objectName, const char* section, const char* caption, QWidget* parent,
                  bool keys = true);
    /// Entry `key` of the dialog's section.
    QString Text(int key, const char* def) const;
    /// A label in column 0 of row `row`, replaced from entry `key` (0: not replaced).
    void AddLabel(int row, int key, const char* def, int column = 0);
    /// Buttons below the fields, the common font, the texts, the place on the screen.
    void Finish();
    void keyPressEvent(QKeyEvent* event) override;

    QGridLayout* m_grid;

private:
    const char* m_section;
    bool m_keys;
};

class TFormAblaufMotor : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufMotor(TBlockMotor& block, QWidget* parent = nullptr);
    void Apply() override;
    QComboBox* cbNr;
    QToolButton* btnLeft;
    QToolButton* btnStop;
    QToolButton* btnRight;

private:
    TBlockMotor& m_block;
};

class TFormAblaufKollision : public TAblaufDialog {
    Q_OBJECT
public:
    /// The list offers the names of the rules that only report their state.
    TFormAblaufKollision(TBlockKollision& block, const std::vector<TCollData>& rules,
                         QWidget* parent = nullptr);
    void Apply() override;
    QComboBox* cbName;

private:
    TBlockKollision& m_block;
};

class TFormAblaufPause : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufPause(TBlockPause& block, QWidget* parent = nullptr);
    void Apply() override;
    QLineEdit* eIntervall;

private:
    TBlockPause& m_block;
};

class TFormAblaufSetVar : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufSetVar(TBlockSetVar& block, QWidget* parent = nullptr);
    void Apply() override;
    QLineEdit* eVariable;
    QLineEdit* eWert;

private:
    TBlockSetVar& m_block;
};

class TFormAblaufJoystick : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufJoystick(TBlockJoystick& block, QWidget* parent = nullptr);
    void Apply() override;
    QComboBox* cbAchse;

private:
    TBlockJoystick& m_block;
};

class TFormAblaufFarbe : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufFarbe(TBlockFarbe& block, QWidget* parent = nullptr);
    void Apply() override;
    /// A press on the swatch: the colour dialog, with the user's custom colours.
    void ChooseColour();
    int32_t SwatchColour() const { return m_colour; }
    QLineEdit* eBauteil;
    QToolButton* Shape1;

private:
    void ShowColour();
    TBlockFarbe& m_block;
    int32_t m_colour;
};

class TFormAblaufVariable : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufVariable(TBlockVariable& block, QWidget* parent = nullptr);
    void Apply() override;
    QLineEdit* eVar1;
    QComboBox* cbTyp;
    QLineEdit* eVar2;

private:
    TBlockVariable& m_block;
};

class TFormAblaufIncVar : public TAblaufDialog {
    Q_OBJECT
public:
    TFormAblaufIncVar(TBlockIncVar& block, QWidget* parent = nullptr);
    void Apply() override;
    QLineEdit* eVariable;
    QLineEdit* eWert;

private:
    TBlockIncVar& m_block;
};

/// Edit() of a block: its dialog, modal; true when it was confirmed. Start and end blocks have
/// no dialog: they say so and answer false.
bool EditBlock(QWidget* parent, TBlock& block, const std::vector<TCollData>& rules);

}  // namespace kx
