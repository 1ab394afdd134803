// The small dialog that names a stored camera position.
#include "view/d_CameraName.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"

namespace kx {

TdlgCameraName::TdlgCameraName(const QString& name, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("dlgCameraName"));
    const TkxLanguage& lng = Language();
    setWindowTitle(QString::fromStdString(lng.GetText("D_CAMERANAME", 1, "Kameraname")));
    m_edit = new QLineEdit(name, this);
    auto* ok = new QPushButton(QString::fromStdString(lng.GetText("D_CAMERANAME", 2, "OK")), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_edit, 1);
    layout->addWidget(ok);
    ApplyFormStyle(this);
    m_edit->selectAll();
}

QString TdlgCameraName::Name() const {
    return m_edit->text().trimmed();
}

}  // namespace kx

#include "moc_d_CameraName.cpp"
