// The Qt side of the view's handling: the window services it asks for, and drag and drop of
// library parts onto the 3D view widget.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "view/u_viewer.h"

class QWidget;

namespace kx {

/// TViewerHost over a view widget. The main window sets the callbacks it has.
class TQtViewerHost : public QObject, public TViewerHost {
    Q_OBJECT
public:
    explicit TQtViewerHost(QWidget* view, QObject* parent = nullptr);

    int ViewWidth() const override;
    int ViewHeight() const override;
    void Redraw() override;
    void ProcessPendingEvents() override;
    bool KinematicsRunning() const override { return Kinematics && Kinematics(); }
    void RunJogDial(int x, int y) override {
        if (JogDial) {
            JogDial(x, y);
        }
    }
    void RepaintPartsTree() override {
        if (PartsTreeRepaint) {
            PartsTreeRepaint();
        }
    }
    /// Runs the action from the event loop, after the drag-and-drop has returned.
    void AfterDrop(std::function<void()> action) override;
    void PartDropped(const std::string& number) override {
        if (Dropped) {
            Dropped(number);
        }
    }

    std::function<bool()> Kinematics;
    std::function<void(int, int)> JogDial;
    std::function<void()> PartsTreeRepaint;
    std::function<void(const std::string&)> Dropped;

private:
    QPointer<QWidget> m_view;
};

/// Lets a view widget take drops: every drag is accepted; a dragged library tile (its mime
/// data carries the part number) marks connectors while it moves and is placed when dropped.
class TViewerDropTarget : public QObject {
    Q_OBJECT
public:
    TViewerDropTarget(QWidget* view, TViewerInteraction& viewer, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_view;
    TViewerInteraction& m_viewer;
    std::string m_dragged;
};

}  // namespace kx
