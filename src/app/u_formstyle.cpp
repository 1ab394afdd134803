// The look every window gives itself when it is created.
#include "app/u_formstyle.h"

#include <QString>
#include <QStringList>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QWidget>

namespace kx {

namespace {
QFont CommonFont() {
    // Only the family is worked out once; a font object must not outlive the application.
    static const QString family =
        QFontDatabase::hasFamily(QStringLiteral("Segoe UI"))
            ? QStringLiteral("Segoe UI")
            : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont f(family);
    f.setPointSize(9);
    return f;
}
}  // namespace

void ApplyFormStyle(QWidget* form) {
    if (!form) {
        return;
    }
    const QFont font = CommonFont();
    form->setFont(font);
    // Qt widgets are double-buffered already; only the font needs spreading.
    for (QWidget* child : form->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child) ||
            qobject_cast<QAbstractItemView*>(child) || qobject_cast<QFrame*>(child)) {
            child->setFont(font);
        }
    }
}

QString QtFileFilter(const QString& stored) {
    const QStringList parts = stored.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        if (!caption.contains(QLatin1Char('('))) {
            caption += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        }
        filters << caption;
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace kx
