// The 3D input device through the spacenav daemon (libspnav): its motion moves the camera.
// Built only where libspnav is installed (KX_HAVE_SPNAV).
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kx {

class TViewerInteraction;

class TSpaceMouse : public QObject {
    Q_OBJECT
public:
    explicit TSpaceMouse(TViewerInteraction& viewer, QObject* parent = nullptr);
    ~TSpaceMouse() override;

    /// Connects to the daemon; false when there is none (no device: nothing happens).
    bool Open();
    bool IsOpen() const { return m_open; }

private:
    void ReadEvents();

    TViewerInteraction& m_viewer;
    QSocketNotifier* m_notifier = nullptr;
    bool m_open = false;
};

}  // namespace kx
