// The picture-size dialog: a fixed size from the list, or one typed in by hand.
#pragma once

#include <QDialog>
#include <QSize>

class QLineEdit;
class QListWidget;

namespace kx {

class TdlgBildgroesse : public QDialog {
    Q_OBJECT
public:
    /// current: the size offered for "Manuell" (the view box's size less 5).
    explicit TdlgBildgroesse(QSize current, QWidget* parent = nullptr);

    /// The chosen size; unreadable manual values give 800 x 600.
    QSize ChosenSize() const;

    QListWidget* Sizes() const { return m_list; }
    QLineEdit* WidthEdit() const { return m_width; }
    QLineEdit* HeightEdit() const { return m_height; }

private:
    QListWidget* m_list;
    QLineEdit* m_width;
    QLineEdit* m_height;
};

}  // namespace kx
