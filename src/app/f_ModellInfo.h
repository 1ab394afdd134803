// The model-information window: model name, original, builder, category and description.
#pragma once

#include <QDialog>

#include "model/u_modelports.h"

class QLineEdit;
class QPlainTextEdit;

namespace kx {

class TFormModellInformation : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4011;

    explicit TFormModellInformation(const TModelInformation& info, QWidget* parent = nullptr);
    /// The fields as they stand now.
    TModelInformation Information() const;

    QLineEdit* Field(int index) const;  ///< 0 Modell, 1 Original, 2 gebaut von, 3 Kategorie
    QPlainTextEdit* Description() const { return m_description; }

private:
    QLineEdit* m_fields[4];
    QPlainTextEdit* m_description;
};

}  // namespace kx
