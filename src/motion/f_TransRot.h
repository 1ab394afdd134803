// "Rotations/Translation": how far a rotation/translation link moves its second part per
// revolution, along X, Y and Z.
#pragma once

#include <QDialog>
#include <array>

#include "motion/u_kineedit.h"

class QLineEdit;

namespace kx {

class TFormTransRot : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4091;

    explicit TFormTransRot(const TTransRotForm& form, QWidget* parent = nullptr);

    /// The advances typed; an edit that holds no number gives an empty value.
    TTransRotForm Form() const;
    /// eX, eY, eZ.
    QLineEdit* AdvanceEdit(int axis) const { return m_edits.at(static_cast<size_t>(axis)); }

private:
    std::array<QLineEdit*, 3> m_edits{};
};

}  // namespace kx
