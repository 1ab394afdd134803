// The small dialog that names a stored camera position.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kx {

class TdlgCameraName : public QDialog {
    Q_OBJECT
public:
    TdlgCameraName(const QString& name, QWidget* parent = nullptr);
    /// The trimmed text; an empty one too.
    QString Name() const;
    QLineEdit* Edit() const { return m_edit; }

private:
    QLineEdit* m_edit;
};

}  // namespace kx
