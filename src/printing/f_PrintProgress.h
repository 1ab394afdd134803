// The progress of a long print job, with a button that cancels it.
#pragma once

#include <QProgressDialog>

#include "printing/u_TPrintBase.h"

namespace kx {

class TFormPrintProgress : public TPrintProgress {
public:
    explicit TFormPrintProgress(QWidget* parent);
    ~TFormPrintProgress() override;

    void Start(const std::string& title, int maximum) override;
    bool Step(int position) override;
    void Finish() override;

    QProgressDialog& Dialog() { return *m_dialog; }

private:
    QProgressDialog* m_dialog;
};

}  // namespace kx
