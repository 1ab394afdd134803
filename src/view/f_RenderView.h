// The window that shows a rendered picture, with "save as" (PNG or JPEG) and copy.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QPushButton;

namespace kx {

class TFormRenderView : public QDialog {
    Q_OBJECT
public:
    explicit TFormRenderView(const QImage& image, QWidget* parent = nullptr);

    const QImage& Image() const { return m_image; }
    /// Saves the picture; the format follows the name (".jpg"/".jpeg" JPEG, else PNG, which is
    /// appended to a name without either). False and why when it could not be written.
    bool SaveAs(const QString& fileName, QString* error = nullptr);
    void CopyToClipboard();
    /// Replaces the save dialog when set (tests): the chosen name, empty to cancel.
    std::function<QString()> FileChooser;
    void DoLanguage();

private:
    void SaveCommand();

    QImage m_image;
    QLabel* m_picture = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace kx
