#pragma once

#include <QStyledItemDelegate>

// A list cell drawn as a bar: the cell is filled from the left to the percentage of
// PercentRole (0..100) in the colour of BarColourRole, and the display text is drawn over it.
class LevelBarDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int PercentRole = Qt::UserRole + 1;
    static constexpr int BarColourRole = Qt::UserRole + 2;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
