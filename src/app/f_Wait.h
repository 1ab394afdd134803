// The wait window: a title and a progress bar shown while a long job runs.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kx {

class TFormWait : public QDialog {
    Q_OBJECT
public:
    explicit TFormWait(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    void SetMaximum(int maximum);
    void SetPosition(int position);
    int Position() const;
    int Maximum() const;
    QString Title() const;

private:
    QLabel* lblTitel;
    QProgressBar* Gauge;
};

}  // namespace kx
