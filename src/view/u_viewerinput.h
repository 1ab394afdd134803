// What the 3D view hears from the user, as plain data: pointer, wheel and key events, and the
// port through which the view widget hands them to the interaction logic.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

enum class TMouseButton : uint8_t { None, Left, Right, Middle };

struct TModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool operator==(const TModifiers&) const = default;
};

/// A pointer event in view pixels (origin top left).
struct TPointerEvent {
    int X = 0;
    int Y = 0;
    TMouseButton Button = TMouseButton::None;  ///< the button that changed; None for a move
    bool LeftDown = false;                     ///< buttons held after the event
    bool RightDown = false;
    bool MiddleDown = false;
    TModifiers Modifiers;
};

struct TWheelEvent {
    int X = 0;
    int Y = 0;
    int Delta = 0;  ///< 120 per notch, positive away from the user
    TModifiers Modifiers;
};

struct TKeyEvent {
    /// Windows virtual-key code: letters and digits as their upper-case ASCII, VK_LEFT 0x25,
    /// VK_F1 0x70 …; 0 for keys without one.
    int Key = 0;
    std::string Text;  ///< UTF-8 text the key types, if any
    bool AutoRepeat = false;
    TModifiers Modifiers;
};

/// The view's handler: implemented by the interaction logic, called by the view widget.
class TViewerInput {
public:
    virtual ~TViewerInput() = default;
    virtual void MouseDown(const TPointerEvent&) {}
    virtual void MouseMove(const TPointerEvent&) {}
    virtual void MouseUp(const TPointerEvent&) {}
    virtual void DoubleClick(const TPointerEvent&) {}
    virtual void MouseWheel(const TWheelEvent&) {}
    virtual void KeyDown(const TKeyEvent&) {}
    virtual void KeyUp(const TKeyEvent&) {}
    virtual void Resized(int /*width*/, int /*height*/) {}
};

}  // namespace kx
