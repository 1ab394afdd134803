// How the parts tree draws a part node: a hidden part greyed, and in developer mode the node's
// two status letters (record present, object visible) at its right end.
#pragma once

#include <QStyledItemDelegate>

namespace kx {

class TkxMain;

class TPartsTreeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TPartsTreeDelegate(const TkxMain& model, bool developerMode, QObject* parent = nullptr);

    /// The letters a part node shows in developer mode: "J" or "N" (the model has a record of
    /// that name or not), then "V" or "-" (its scene object is visible or not).
    static QString StatusLetters(const TkxMain& model, const QString& name);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const TkxMain& m_model;
    bool m_developerMode;
};

}  // namespace kx
