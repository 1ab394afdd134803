// The build-phase display: a small tool window that shows the current phase in large digits.
#pragma once

#include <QWidget>

namespace kx {

class TdlgShowBauphase : public QWidget {
    Q_OBJECT
public:
    /// Created hidden, placed and sized from the settings PHASEWINDOW*.
    explicit TdlgShowBauphase(QWidget* parent = nullptr);

    /// The number shown; the model's current phase follows into it.
    void SetBauphase(int phase);
    int Bauphase() const { return m_phase; }

    /// Renews the caption from the language table.
    void DoLanguage();

    /// The largest point size, counting up from 1, at which text in font still fits area;
    /// at least 1.
    static int FitFontSize(const QString& text, QFont font, const QSize& area,
                           const QPaintDevice* device = nullptr);
    /// The font the number is drawn in (its size set by the last paint).
    QFont DigitFont() const { return m_font; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    /// Writes position and size back to the settings.
    void StorePlacement();

    int m_phase = 1;
    QFont m_font;
};

}  // namespace kx
