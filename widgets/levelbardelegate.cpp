#include "levelbardelegate.h"

#include <QApplication>
#include <QPainter>

void LevelBarDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    // The selection highlight and focus frame as for any cell, the bar and its text on top.
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const int percent = std::clamp(index.data(PercentRole).toInt(), 0, 100);
    const QColor colour = index.data(BarColourRole).value<QColor>();
    const QRect frame = opt.rect.adjusted(2, 2, -2, -2);
    painter->save();
    painter->setPen(opt.palette.color(QPalette::Mid));
    painter->setBrush(opt.palette.color(QPalette::Base));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    if (percent > 0 && colour.isValid()) {
        QRect bar = frame.adjusted(1, 1, -1, -1);
        bar.setWidth(bar.width() * percent / 100);
        painter->fillRect(bar, colour);
    }
    painter->setPen(opt.palette.color(QPalette::Text));
    painter->drawText(frame.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}
