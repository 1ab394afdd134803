// "Ausgabe": a picture made by a command, to be saved or copied to the clipboard.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

class QAction;
class QLabel;

namespace kx {

class TFormAusgabe : public QDialog {
    Q_OBJECT
public:
    TFormAusgabe(const QImage& picture, QWidget* parent = nullptr);

    const QImage& Picture() const { return m_picture; }
    /// "Bild speichern": BMP unless the name says PNG. False and a message if it failed.
    bool SavePictureAs(const QString& fileName);
    void CopyToClipboard();
    /// Replaces the file dialog of "Bild speichern" when set (tests); an empty name cancels.
    std::function<QString()> FileChooser;

    QAction* SaveAction() const { return m_save; }
    QAction* CopyAction() const { return m_copy; }

private:
    void SaveClick();

    QImage m_picture;
    QLabel* m_view;
    QAction* m_save;
    QAction* m_copy;
    QAction* m_close;
};

}  // namespace kx
