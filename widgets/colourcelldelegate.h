#pragma once

#include <QStyledItemDelegate>

// A list cell whose background is the colour of CellColourRole, with its display text on top in
// black or white, whichever reads better on that colour. Without a colour it is a plain cell.
class ColourCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int CellColourRole = Qt::UserRole + 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
