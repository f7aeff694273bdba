#include "cmydevicelist.h"

#include "colourcelldelegate.h"
#include "levelbardelegate.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QSet>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lumaro {

namespace {

constexpr int kColumnWidths[CMyDeviceList::ColumnCount] = {50, 150, 150, 400, 80, 50, 150, 50, 100};

QColor toColor(const gearcells::Colour &c)
{
    return QColor(c.red, c.green, c.blue);
}

QTableWidgetItem *cell(QTableWidget *table, int row, int column)
{
    QTableWidgetItem *item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        table->setItem(row, column, item);
    }
    return item;
}

}  // namespace

CMyDeviceList::CMyDeviceList(DeviceContext context, QWidget *parent)
    : QWidget(parent), m_logic(context), m_table(new QTableWidget(this)), m_timer(new QTimer(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    m_table->setColumnCount(ColumnCount);
    m_table->setHorizontalHeaderLabels(GearList::columnTitles());
    for (int c = 0; c < ColumnCount; ++c)
        m_table->setColumnWidth(c, kColumnWidths[c]);
    m_table->setShowGrid(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);   // Ctrl+A selects all rows
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setItemDelegateForColumn(LevelColumn, new LevelBarDelegate(m_table));
    m_table->setItemDelegateForColumn(StatusColumn, new ColourCellDelegate(m_table));
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, &CMyDeviceList::contextMenu);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { doubleClicked(row); });

    connect(&m_logic, &GearList::filled, this, &CMyDeviceList::showRows);
    connect(&m_logic, &GearList::rowChanged, this, &CMyDeviceList::showRow);

    m_timer->setInterval(GearList::kTickMs);
    connect(m_timer, &QTimer::timeout, &m_logic, &GearList::tick);
}

CMyDeviceList::~CMyDeviceList() = default;

void CMyDeviceList::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The poll timer starts the first time the view is shown and then runs for good.
    if (!m_timer->isActive())
        m_timer->start();
}

void CMyDeviceList::fill(int gateway)
{
    m_logic.fill(gateway);
}

void CMyDeviceList::refreshRow(int gateway, int address)
{
    m_logic.refreshRow(gateway, address);
}

void CMyDeviceList::refreshAllRows()
{
    if (m_logic.currentGateway() != 0)
        m_logic.refreshAllRows();
}

void CMyDeviceList::updateTexts(int address)
{
    m_logic.updateTexts(address);
}

void CMyDeviceList::showRows()
{
    m_table->clearContents();
    m_table->setRowCount(int(m_logic.rows().size()));
    for (int row = 0; row < m_logic.rows().size(); ++row)
        showRow(row);
    // The status texts are longer than the column's usual width in some languages and states.
    m_table->resizeColumnToContents(StatusColumn);
    m_table->setColumnWidth(StatusColumn, std::max(m_table->columnWidth(StatusColumn) + 8, kColumnWidths[StatusColumn]));
}

void CMyDeviceList::showRow(int row)
{
    if (row < 0 || row >= m_logic.rows().size() || row >= m_table->rowCount())
        return;
    const GearList::Row &r = m_logic.rows()[row];
    cell(m_table, row, IdColumn)->setText(r.id);
    cell(m_table, row, NameColumn)->setText(r.name);
    cell(m_table, row, ModelColumn)->setText(r.model);
    QTableWidgetItem *level = cell(m_table, row, LevelColumn);
    level->setText(r.level.text);
    level->setData(LevelBarDelegate::PercentRole, r.level.percent);
    level->setData(LevelBarDelegate::BarColourRole, toColor(r.level.colour));
    QTableWidgetItem *status = cell(m_table, row, StatusColumn);
    status->setText(r.status.text);
    status->setData(ColourCellDelegate::CellColourRole, toColor(r.status.colour));
    status->setToolTip(r.status.text);
    cell(m_table, row, VersionColumn)->setText(r.version);
    cell(m_table, row, LocationColumn)->setText(r.location);
    cell(m_table, row, RemarkColumn)->setText(r.remark);
    cell(m_table, row, PhysicalMinColumn)->setText(r.physicalMinimum);
}

QList<int> CMyDeviceList::selectedRows() const
{
    QSet<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    QList<int> ordered(rows.begin(), rows.end());
    std::sort(ordered.begin(), ordered.end());
    return ordered;
}

void CMyDeviceList::checkSelected()
{
    m_logic.checkStatus(selectedRows());
}

void CMyDeviceList::readVersionOfSelected()
{
    m_logic.readVersion(selectedRows());
}

void CMyDeviceList::contextMenu(const QPoint &at)
{
    if (m_table->rowCount() == 0)
        return;
    // The menu acts on a selection: the row under the mouse, or the first row.
    if (selectedRows().isEmpty()) {
        const int row = std::max(0, m_table->rowAt(at.y()));
        m_table->selectRow(row);
    }
    QMenu menu(this);
    menu.addAction(QCoreApplication::translate("GearList", "Check status"), this, &CMyDeviceList::checkSelected);
    menu.addAction(QCoreApplication::translate("GearList", "Read Version"), this, &CMyDeviceList::readVersionOfSelected);
    menu.exec(m_table->viewport()->mapToGlobal(at));
}

void CMyDeviceList::doubleClicked(int row)
{
    if (row < 0 || row >= m_logic.rows().size())
        return;
    const GearList::Row r = m_logic.rows()[row];
    m_logic.checkStatus(selectedRows());
    CurrentTarget target;
    target.gateway = r.gateway;
    target.targetCode = r.address;
    target.label = r.id;
    emit dimmingTargetChosen(target, r.name);
}

}  // namespace lumaro
