// The link, motor and rule dialogs as the model asks for them.
#include "motion/kinedialogs.h"

#include "motion/f_KineMotor.h"
#include "motion/f_Kollision.h"
#include "motion/f_TransRot.h"
#include "motion/f_kineRotation.h"

namespace kx {

TKineDialogsQt::TKineDialogsQt(QWidget* parent, std::function<QPoint()> viewTopLeft,
                               std::function<void()> redraw)
    : m_parent(parent), m_viewTopLeft(std::move(viewTopLeft)), m_redraw(std::move(redraw)) {}

bool TKineDialogsQt::GearLinkDialog(TGearLinkForm& form, TKinePreview& preview) {
    TFormKineRotation dialog(form, &preview, m_parent);
    dialog.Redraw = m_redraw;
    if (m_viewTopLeft) {
        dialog.move(m_viewTopLeft());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    form = dialog.Form();
    return true;
}

bool TKineDialogsQt::MotorDialog(TMotorForm& form, TKinePreview& preview) {
    TFormKineMotor dialog(form, &preview, m_parent);
    dialog.Redraw = m_redraw;
    if (m_viewTopLeft) {
        dialog.move(m_viewTopLeft());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    form = dialog.Form();
    return true;
}

bool TKineDialogsQt::TransRotDialog(TTransRotForm& form) {
    TFormTransRot dialog(form, m_parent);
    if (m_viewTopLeft) {
        dialog.move(m_viewTopLeft());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    form = dialog.Form();
    return true;
}

bool TKineDialogsQt::CollisionDialog(TCollisionForm& form) {
    TFormKollision dialog(form, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    form = dialog.Form();
    return true;
}

}  // namespace kx
