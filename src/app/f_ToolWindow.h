// A tool window that the program creates hidden at start and shows on demand; the windows
// whose content comes with later features start as this empty frame.
#pragma once

#include <QDialog>

namespace kx {

class TToolWindow : public QDialog {
    Q_OBJECT
public:
    /// caption: key 1 of the window's language section, German default.
    TToolWindow(const char* objectName, const char* section, const char* caption,
                QWidget* parent = nullptr);
    void DoLanguage();

private:
    const char* m_section;
    const char* m_caption;  ///< the German caption, the language table's default
};

}  // namespace kx
