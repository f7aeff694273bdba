#include "cmygatewayview.h"

#include "gatewaylist.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace lumaro {

namespace {
const QColor kGreen(50, 160, 60);
const QColor kRed(160, 50, 60);
const QColor kGrey(180, 180, 180);

QColor colourOf(GatewayList::Colour c)
{
    switch (c) {
    case GatewayList::Colour::Green: return kGreen;
    case GatewayList::Colour::Red: return kRed;
    case GatewayList::Colour::Grey: return kGrey;
    case GatewayList::Colour::None: break;
    }
    return {};
}

QString translated(const char *source)
{
    return QCoreApplication::translate("CMyGatewayView", source);
}
}  // namespace

CMyGatewayView::CMyGatewayView(DeviceContext &context, QWidget *parent)
    : QWidget(parent),
      m_logic(new GatewayList(context, this)),
      m_table(new QTableWidget(0, GatewayList::ColumnCount, this)),
      m_timer(new QTimer(this))
{
    m_table->setObjectName(QStringLiteral("gatewayList"));
    m_table->setHorizontalHeaderLabels(GatewayList::headings());
    m_table->setShowGrid(true);
    m_table->setWordWrap(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int c = 0; c < GatewayList::ColumnCount; ++c) {
        const int w = GatewayList::columnWidth(c);
        if (w == 0)
            m_table->setColumnHidden(c, true);
        else
            m_table->setColumnWidth(c, w);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    connect(m_logic, &GatewayList::rowsReset, this, &CMyGatewayView::showAll);
    connect(m_logic, &GatewayList::rowChanged, this, &CMyGatewayView::showRow);
    connect(m_timer, &QTimer::timeout, m_logic, &GatewayList::tick);
    connect(m_table, &QWidget::customContextMenuRequested, this, &CMyGatewayView::contextMenu);
    connect(m_table, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { m_logic->run(GatewayList::Command::CheckStatus, {row}); });
    auto *selectAll = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_A), m_table);
    selectAll->setContext(Qt::WidgetShortcut);
    connect(selectAll, &QShortcut::activated, m_table, &QTableWidget::selectAll);
}

CMyGatewayView::~CMyGatewayView() = default;

void CMyGatewayView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_timer->isActive())
        m_timer->start(GatewayList::kTickMs);
}

void CMyGatewayView::fill()
{
    m_logic->fill();
}

void CMyGatewayView::refreshRow(int gateway)
{
    m_logic->refreshRow(gateway);
}

void CMyGatewayView::setPollAllowed(bool allowed)
{
    m_logic->setPollAllowed(allowed);
}

void CMyGatewayView::showAll()
{
    m_table->setRowCount(0);
    m_table->setRowCount(int(m_logic->rows().size()));
    for (int r = 0; r < m_logic->rows().size(); ++r)
        showRow(r);
}

void CMyGatewayView::showRow(int row)
{
    if (row < 0 || row >= m_logic->rows().size() || row >= m_table->rowCount())
        return;
    const GatewayList::Row &r = m_logic->rows()[row];
    for (int c = 0; c < GatewayList::ColumnCount; ++c) {
        QTableWidgetItem *item = m_table->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            m_table->setItem(row, c, item);
        }
        item->setText(r.cells.value(c));
    }
    QTableWidgetItem *status = m_table->item(row, GatewayList::Status);
    status->setForeground(colourOf(r.statusColour));
    m_table->item(row, GatewayList::NetConnect)->setForeground(colourOf(r.netColour));
    // The status column grows to its longest text (status flags, "Failure/Off line").
    const int needed = m_table->fontMetrics().horizontalAdvance(status->text()) + 12;
    if (needed > m_table->columnWidth(GatewayList::Status))
        m_table->setColumnWidth(GatewayList::Status, needed);
}

QList<int> CMyGatewayView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &i : m_table->selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CMyGatewayView::contextMenu(const QPoint &at)
{
    if (m_table->rowCount() == 0)
        return;
    // A right click works on the selection; without one, on the row under the mark or the first.
    if (selectedRows().isEmpty())
        m_table->selectRow(std::max(0, m_table->currentRow()));

    using Command = GatewayList::Command;
    static const struct {
        Command command;
        const char *text;
    } kEntries[] = {
        {Command::CheckStatus, QT_TRANSLATE_NOOP("CMyGatewayView", "Check status")},
        {Command::ReadVersion, QT_TRANSLATE_NOOP("CMyGatewayView", "Read version")},
        {Command::ReadNetworkParameters, QT_TRANSLATE_NOOP("CMyGatewayView", "Read network parameters")},
        {Command::ReadControllerTime, QT_TRANSLATE_NOOP("CMyGatewayView", "Read controller time")},
        {Command::ReadTimeControlStatus, QT_TRANSLATE_NOOP("CMyGatewayView", "Read time control status")},
        {Command::Reboot, QT_TRANSLATE_NOOP("CMyGatewayView", "Reboot device")},
        {Command::CalibrationTime, QT_TRANSLATE_NOOP("CMyGatewayView", "Calibration time")},
    };
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GateView"));
    for (const auto &e : kEntries) {
        QAction *a = menu.addAction(translated(e.text));
        const Command command = e.command;
        connect(a, &QAction::triggered, this, [this, command] { m_logic->run(command, selectedRows()); });
    }
    menu.exec(m_table->viewport()->mapToGlobal(at));
}

}  // namespace lumaro
