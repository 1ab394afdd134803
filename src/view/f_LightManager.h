// The light manager: eight check boxes that switch the scene's lights on and off at once.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

namespace kx {

class TScene;

class TFormLichtManager : public QDialog {
    Q_OBJECT
public:
    /// changed runs after every switch, so the view can redraw.
    explicit TFormLichtManager(QWidget* parent = nullptr);

    /// The scene whose lights the boxes switch; the boxes take the lights' state.
    void SetScene(TScene* scene, std::function<void()> changed);
    /// Box 1 "Licht 1", 2 "Kamera-Licht", 3..8 "Licht 3".."Licht 8".
    QCheckBox* Box(int number) const;
    void DoLanguage();

private:
    void BoxToggled(int number, bool on);

    TScene* m_scene = nullptr;
    std::function<void()> m_changed;
    std::array<QCheckBox*, 8> m_boxes{};
    QPushButton* m_close = nullptr;
};

}  // namespace kx
