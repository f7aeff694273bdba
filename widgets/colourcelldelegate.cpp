#include "colourcelldelegate.h"

#include <QApplication>
#include <QPainter>

void ColourCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QColor colour = index.data(CellColourRole).value<QColor>();
    if (!colour.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    painter->save();
    const QRect cell = opt.rect.adjusted(1, 1, -1, -1);
    painter->fillRect(cell, colour);
    // Light colours (the yellow of a failure) take black text, dark ones white.
    painter->setPen(qGray(colour.rgb()) > 140 ? Qt::black : Qt::white);
    painter->drawText(cell.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}
