// The jog dial: eight quick commands in a circle under the pointer, and the chooser that
// assigns a command to a sector.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QListWidget;

namespace kx {

/// The 48x48 picture of a jog type ("DELETE" ...), painted by the program; a null pixmap for
/// a name it does not know.
QPixmap JogPicture(const std::string& resource);

class TJogSurface;

class TdlgJog : public QDialog {
    Q_OBJECT
public:
    /// Sectors from the settings JOG1 ... JOG8. available tells which types the chooser offers
    /// (those whose command the window can run); empty: all.
    explicit TdlgJog(QWidget* parent = nullptr, std::function<bool(int)> available = {});

    /// Centred on the screen point, kept on the screen.
    void PlaceAt(const QPoint& screenPoint);
    /// The type of the chosen sector, or 0 when nothing was chosen.
    int ResultType() const;
    int CurrentSector() const { return m_current; }
    int Slot(int sector) const;
    /// Positions outside 0 to 7 are ignored.
    void SetSlot(int sector, int type);
    /// The label over the dial (its text is the current sector's caption).
    QLabel* Label() const { return m_label; }
    QWidget* Surface() const;
    /// Replaces the chooser (tests): returns the chosen type, or -1.
    std::function<int(int sector)> Chooser;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TJogSurface;
    void Paint(QPainter& painter) const;
    void PointerMoved(const QPoint& at);
    void Pressed(Qt::MouseButton button, const QPoint& at);
    void ShowCaption();

    std::array<uint8_t, 8> m_slots{};
    int m_current = 0;
    QLabel* m_label = nullptr;
    TJogSurface* m_surface = nullptr;
    std::function<bool(int)> m_available;
};

/// The chooser of a sector's command: "Leer" and every available jog type, one row each.
class TdlgSelectJogType : public QDialog {
    Q_OBJECT
public:
    TdlgSelectJogType(QWidget* parent, const std::function<bool(int)>& available);
    /// The chosen type (0: empty), or -1 when nothing was chosen.
    int Result() const { return m_result; }
    QListWidget* List() const { return m_list; }

private:
    QListWidget* m_list;
    int m_result = -1;
};

}  // namespace kx
