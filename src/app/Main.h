// The main window: menus and toolbar from the command table, the library strip, the parts
// and groups trees, the 3D view in its scroll box, the motor panels, the animation bar.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QScrollArea;
class QSlider;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace kx {

class TCommandTable;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    TCommandTable& Commands() { return *m_commands; }

    /// Status bar panel 0..3.
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    /// Replaces the window's texts from the current language table.
    void DoLanguage();

    void SetActiveColor(int colour);
    int ActiveColor() const { return m_activeColor; }

    QWidget* LibraryArea() const { return m_libraryArea; }
    QScrollArea* ViewBox() const { return sb; }
    QTreeWidget* PartsTree() const { return tvBausteine; }
    QTreeWidget* GroupsTree() const { return tvGroups; }
    QSlider* TimeSlider() const { return Track; }

private:
    void FormCreate();
    void BuildLayout();
    void BuildToolBar();
    void BindCommands();
    QToolButton* AddToolButton(const char* id, int hintKey, const char* hint, const QIcon& icon,
                               bool checkable = false);

    std::unique_ptr<TCommandTable> m_commands;
    QToolBar* m_toolBar = nullptr;
    QSplitter* m_libSplitter = nullptr;
    QWidget* m_libraryArea = nullptr;
    QGroupBox* m_partsBox = nullptr;
    QGroupBox* m_groupsBox = nullptr;
    QTreeWidget* tvBausteine = nullptr;
    QTreeWidget* tvGroups = nullptr;
    QScrollArea* sb = nullptr;
    QWidget* m_motorArea = nullptr;
    QWidget* m_animationBar = nullptr;
    QSlider* Track = nullptr;
    std::array<QLabel*, 4> m_panels{};
    int m_activeColor = 255;
    bool m_multiSelection = false;
    bool m_suppressMouseMove = false;
};

}  // namespace kx
