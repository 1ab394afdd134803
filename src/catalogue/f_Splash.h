// The splash window shown while the program starts: title, version, what is loading, progress.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace kx {

class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QWidget* parent = nullptr);

    void SetStatus(const QString& text);
    void SetMaximum(int maximum);
    /// Moves the bar; keeps the window painted by processing pending events now and then.
    void SetPosition(int position);

    QString Status() const;
    int Position() const;
    int Maximum() const;

private:
    QLabel* lblStatus;
    QProgressBar* Gauge;
    QElapsedTimer m_sinceRepaint;
};

}  // namespace kx
