// The link, motor and rule dialogs as the model asks for them, placed where the main window
// wants them and redrawing the view while their previews run.
#pragma once

#include <QPoint>
#include <functional>

#include "motion/u_kineedit.h"

class QWidget;

namespace kx {

class TKineDialogsQt : public TKineDialogs {
public:
    /// viewTopLeft: the screen position of the 3D view's top-left corner, where the link and
    /// motor dialogs open; redraw shows a preview step.
    TKineDialogsQt(QWidget* parent, std::function<QPoint()> viewTopLeft,
                   std::function<void()> redraw);

    bool GearLinkDialog(TGearLinkForm& form, TKinePreview& preview) override;
    bool MotorDialog(TMotorForm& form, TKinePreview& preview) override;
    bool TransRotDialog(TTransRotForm& form) override;
    bool CollisionDialog(TCollisionForm& form) override;

private:
    QWidget* m_parent;
    std::function<QPoint()> m_viewTopLeft;
    std::function<void()> m_redraw;
};

}  // namespace kx
