// A tool window that the program creates hidden at start and shows on demand; the windows
// whose content comes with later features start as this empty frame.
#include "app/f_ToolWindow.h"

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

TToolWindow::TToolWindow(const char* objectName, const char* section, const char* caption,
                         QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_section(section), m_caption(caption) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromUtf8(caption));
    ApplyFormStyle(this);
    DoLanguage();
    hide();
}

void TToolWindow::DoLanguage() {
    setWindowTitle(QString::fromStdString(Language().GetText(m_section, 1, m_caption)));
}

}  // namespace kx

#include "moc_f_ToolWindow.cpp"
