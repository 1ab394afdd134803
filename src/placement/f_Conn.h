// The connector window "Verbindung wählen": the fixed and new part's connector lists, the step
// buttons that nudge and turn the new part, confirm and cancel.
#pragma once

#include <QDialog>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "placement/u_connect.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace kx {

class TDefCache;
class TFreeForm;
class TkxMain;

class TFormConn : public QDialog {
    Q_OBJECT
public:
    TFormConn(TkxMain& model, TDefCache& defs, QWidget* parent = nullptr);
    ~TFormConn() override;

    /// Fills the lists, places the new part and puts the window where it was last confirmed;
    /// Execute then shows it modally.
    void Prepare(TFreeForm& fixed, const std::string& number, int preselected);
    /// Prepare and exec: QDialog::Accepted when confirmed.
    int Execute(TFreeForm& fixed, const std::string& number, int preselected);

    /// Called after every change of the new part, so that the view is drawn again.
    void SetRedraw(std::function<void()> redraw) { m_redraw = std::move(redraw); }
    /// The 3D view on the screen: until the user has confirmed the window somewhere, it opens
    /// at the view's right edge instead of over the menus.
    void SetViewRect(const QRect& viewOnScreen) { m_viewRect = viewOnScreen; }

    TConnectorSession& Session() { return m_session; }
    QListWidget* lbFix = nullptr;
    QListWidget* lbNew = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* lblMove = nullptr;
    QLabel* lblLift = nullptr;
    QLabel* lblSlide = nullptr;

    /// The window's texts from the language table.
    void DoLanguage();

public slots:
    void accept() override;
    void reject() override;

private:
    /// Where the window opens: the stored place, else at the view's right edge on screen.
    void PlaceWindow();
    QRect m_viewRect;
    void FillLists();
    void ShowDistances();
    void Changed();
    QPushButton* StepButton(const QString& name, int value);

    TConnectorSession m_session;
    std::function<void()> m_redraw;
    QLabel* m_fixCaption = nullptr;
    QLabel* m_newCaption = nullptr;
    bool m_filling = false;
    bool m_done = false;
};

}  // namespace kx
