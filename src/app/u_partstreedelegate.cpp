// How the parts tree draws a part node.
#include "app/u_partstreedelegate.h"

#include <QPainter>

#include "model/MainObj.h"
#include "model/u_TBauteil.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

// Hidden by the view's visibility mode until the next repaint: the tree says so.
bool PartHidden(const TkxMain& model, const QString& name) {
    const TFreeForm* object = model.PartObject(name.toStdString());
    return object && !object->Visible();
}

}  // namespace

TPartsTreeDelegate::TPartsTreeDelegate(const TkxMain& model, bool developerMode, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model), m_developerMode(developerMode) {}

QString TPartsTreeDelegate::StatusLetters(const TkxMain& model, const QString& name) {
    const std::string text = name.toStdString();
    const TFreeForm* object = model.PartObject(text);
    return QString(model.FindBauteil(text) ? QLatin1Char('J') : QLatin1Char('N')) +
           QString(object && object->Visible() ? QLatin1Char('V') : QLatin1Char('-'));
}

void TPartsTreeDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.parent().isValid() && PartHidden(m_model, index.data().toString())) {
        option->palette.setColor(QPalette::Text, Qt::gray);
        option->font.setItalic(true);
    }
}

void TPartsTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_developerMode || !index.parent().isValid()) {
        return;
    }
    const QString letters = StatusLetters(m_model, index.data().toString());
    painter->save();
    painter->setPen(option.palette.color(option.state.testFlag(QStyle::State_Selected)
                                             ? QPalette::HighlightedText
                                             : QPalette::Text));
    const QFontMetrics metrics(option.font);
    const int right = option.rect.right() - 4;
    const int baseline = option.rect.top() + (option.rect.height() + metrics.ascent()) / 2 - 1;
    painter->drawText(right - metrics.horizontalAdvance(letters[1]) - 16, baseline,
                      QString(letters[1]));
    painter->drawText(right - metrics.horizontalAdvance(letters[0]), baseline, QString(letters[0]));
    painter->restore();
}

}  // namespace kx

#include "moc_u_partstreedelegate.cpp"
