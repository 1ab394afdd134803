// "Logik-Manager": the window in which the model's sequence program is drawn as a flowchart,
// from a palette of blocks onto a zoomable surface, and exported or imported as a file.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <functional>
#include <memory>

#include "sequence/u_ablaufeditor.h"

class QAction;
class QDrag;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QToolButton;

namespace kx {

class TkxMain;
class TLogicSurface;

/// The palette `lv`: ten entries whose picture index names the block kind; pressing an entry
/// starts dragging it at once.
class TLogicPalette : public QListWidget {
    Q_OBJECT
public:
    explicit TLogicPalette(QWidget* parent = nullptr);
    /// Runs a drag; tests replace it to hand the drag's data to the surface themselves.
    std::function<void(QDrag* drag)> RunDrag;
    /// The picture index of the selected entry, or -1.
    int SelectedPicture() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class TFormLLWin : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4151;

    explicit TFormLLWin(TkxMain& model, QWidget* parent = nullptr);

    /// ShowLogikManager.
    void ShowWindow();
    void DoLanguage();
    /// The flowchart can be changed only while kinematics mode is off; the status line says so.
    void UpdateReadOnly();

    TAblaufEditor& Editor() { return m_editor; }
    TLogicPalette* Palette() const { return lv; }
    TLogicSurface* Surface() const { return pb; }
    QScrollArea* ScrollBox() const { return sb; }
    QToolButton* BlockButton() const { return btnBlock; }
    QToolButton* LineButton() const { return btnLine; }
    QMenu* Popup() const { return pop; }
    QString StatusText() const;

    // The menu's commands.
    void NewProgram();
    void ExportProgram();
    void ImportProgram();
    /// The context menu's commands.
    void DeleteBlockCommand();
    void DeleteConnectionCommand();
    /// Double click: the block's dialog; a confirmed change marks the model changed.
    void EditBlockCommand(TBlock& block);

    /// Replaces the file dialogs when set: save or open, the filter; empty cancels.
    std::function<QString(bool save, const QString& filter)> FileChooser;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void BuildPalette();
    void ProgramChanged();
    void Message(const std::string& text);
    QString ChooseFile(bool save);
    QString Text(int key, const char* def) const;
    void OpenHelp();

    TkxMain& m_model;
    TAblaufEditor m_editor;
    QMenuBar* m_menuBar;
    QMenu* menDatei = nullptr;
    QMenu* menHilfe = nullptr;
    QAction* menNew = nullptr;
    QAction* menExport = nullptr;
    QAction* menImport = nullptr;
    QAction* Schlieen1 = nullptr;
    QAction* menHelp = nullptr;
    TLogicPalette* lv = nullptr;
    QScrollArea* sb = nullptr;
    TLogicSurface* pb = nullptr;
    QToolButton* btnBlock = nullptr;
    QToolButton* btnLine = nullptr;
    QMenu* pop = nullptr;
    QAction* B1 = nullptr;
    QAction* V1 = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace kx
