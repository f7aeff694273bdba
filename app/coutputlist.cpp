#include "coutputlist.h"

#include "logbook.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace lumaro {

COutputList::COutputList(LogBook &log, QWidget *parent) : QListView(parent), m_log(log)
{
    setModel(&log);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Lines are never wrapped: the horizontal extent follows the widest line.
    setWordWrap(false);
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(&log, &LogBook::currentEntryChanged, this, &COutputList::selectRow);
}

void COutputList::selectRow(int row)
{
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index);
}

void COutputList::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(tr("Clear"), this, [this] { m_log.clear(); });
    menu.exec(event->globalPos());
}

}  // namespace lumaro
