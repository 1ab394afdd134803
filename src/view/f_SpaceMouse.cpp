// The 3D input device through the spacenav daemon (libspnav): its motion moves the camera.
#include "view/f_SpaceMouse.h"

#include <QSocketNotifier>

#include "view/u_viewer.h"

// The client library's header may bring in Xlib, whose macros (None, Bool ...) clash with our
// names; it comes last, and only the daemon's own socket protocol is used.
#include <spnav.h>

namespace kx {

TSpaceMouse::TSpaceMouse(TViewerInteraction& viewer, QObject* parent)
    : QObject(parent), m_viewer(viewer) {}

TSpaceMouse::~TSpaceMouse() {
    if (m_open) {
        spnav_close();
    }
}

bool TSpaceMouse::Open() {
    if (m_open) {
        return true;
    }
    if (spnav_open() == -1) {
        return false;
    }
    const int fd = spnav_fd();
    if (fd < 0) {
        spnav_close();
        return false;
    }
    m_open = true;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TSpaceMouse::ReadEvents);
    return true;
}

void TSpaceMouse::ReadEvents() {
    spnav_event event;
    while (spnav_poll_event(&event) > 0) {
        if (event.type == SPNAV_EVENT_MOTION) {
            TSpaceMotion m;
            m.TX = event.motion.x;
            m.TY = event.motion.y;
            m.TZ = event.motion.z;
            m.RX = event.motion.rx;
            m.RY = event.motion.ry;
            m.RZ = event.motion.rz;
            m_viewer.SpaceMouseMotion(m);
        }
    }
}

}  // namespace kx
