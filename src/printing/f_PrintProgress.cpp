// The progress of a long print job, with a button that cancels it.
#include "printing/f_PrintProgress.h"

#include <QApplication>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

TFormPrintProgress::TFormPrintProgress(QWidget* parent) : m_dialog(new QProgressDialog(parent)) {
    m_dialog->setObjectName(QStringLiteral("FormPrintProgress"));
    m_dialog->setWindowTitle(QStringLiteral("Korvex designer"));
    m_dialog->setCancelButtonText(
        QString::fromStdString(Language().GetText("D_PRINT", 9, "Abbrechen")));
    m_dialog->setWindowModality(Qt::WindowModal);
    // A job of a moment shows no window at all.
    m_dialog->setMinimumDuration(400);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    ApplyFormStyle(m_dialog);
    m_dialog->reset();
}

TFormPrintProgress::~TFormPrintProgress() {
    delete m_dialog;
}

void TFormPrintProgress::Start(const std::string& title, int maximum) {
    m_dialog->setLabelText(QString::fromStdString(title));
    m_dialog->setRange(0, std::max(maximum, 1));
    m_dialog->setValue(0);
}

bool TFormPrintProgress::Step(int position) {
    m_dialog->setValue(position);
    // A window-modal dialog only takes its cancel when events are processed.
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void TFormPrintProgress::Finish() {
    m_dialog->reset();
    m_dialog->hide();
}

}  // namespace kx
