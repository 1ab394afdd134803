// The cable window: colour and stand-off of a cable between two plugs, shown while the cable
// is laid, and the model's cable window that opens it over the 3D view.
#pragma once

#include <QDialog>
#include <functional>

#include "generated/u_kabel.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kx {

class TFormKabel : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4001;

    /// changed runs after every change of the cable (the view redraws it).
    TFormKabel(TCableSession& session, std::function<void()> changed, QWidget* parent = nullptr);

    QRadioButton* rbRot = nullptr;
    QRadioButton* rbGruen = nullptr;
    QLabel* lblAbstand = nullptr;
    QLabel* lblValue = nullptr;
    QSlider* tb = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;

signals:
    void HelpRequested(int context);

private:
    void FormCreate();
    void tbChange();
    void rbGruenClick();
    void ShowValue();

    TCableSession& m_session;
    std::function<void()> m_changed;
};

/// Opens the cable window modally with its top-left corner on the 3D view's.
class TCableWindowQt : public TCableWindow {
public:
    TCableWindowQt(QWidget* view, std::function<void()> redraw);
    bool Execute(TCableSession& session) override;
    /// Opens a help topic by context number ("?").
    std::function<void(int)> OnHelp;

private:
    QWidget* m_view;
    std::function<void()> m_redraw;
};

}  // namespace kx
