#include "gatewayoverview.h"

#include "projectdata.h"
#include "projectstore.h"

#include <QHeaderView>

namespace lumaro {

namespace {
enum Column { Address, Name, Location, Model, Version, Gear, Status, ColumnCount };
}

GatewayOverview::GatewayOverview(QWidget *parent) : QTableWidget(parent)
{
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({tr("Address"), tr("Name"), tr("Location"), tr("Model"), tr("Version"),
                               tr("Gear"), tr("Status")});
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
}

void GatewayOverview::fill(ProjectData &project, const ProjectStore &store)
{
    setRowCount(0);
    for (int g = ProjectData::kFirstGateway; g <= ProjectData::kLastGateway; ++g) {
        GatewayRecord &gw = project.gateway(g);
        if (!gw.present)
            continue;
        if (!gw.stateKnown)
            project.loadGatewayState(store, g);
        const QString section = ProjectData::gatewaySection(g);
        const int row = rowCount();
        insertRow(row);
        const quint8 model = quint8(store.read(ProjectFile::Db, section, QStringLiteral("MODEL"), QStringLiteral("FF")).toUInt(nullptr, 16));
        const QStringList cells = {
            section,
            store.read(ProjectFile::Db, section, QStringLiteral("NAME")),
            store.read(ProjectFile::Db, section, QStringLiteral("LOCATION")),
            store.deviceTypeName(model),
            store.read(ProjectFile::Db, section, QStringLiteral("VER"), QStringLiteral("0")),
            QString::number(gw.gearCount),
            QString(),
        };
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, g);
            setItem(row, c, item);
        }
        refreshGateway(project, g);
    }
    resizeColumnsToContents();
}

int GatewayOverview::rowOf(int gateway) const
{
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, Address)->data(Qt::UserRole).toInt() == gateway)
            return r;
    return -1;
}

void GatewayOverview::refreshGateway(const ProjectData &project, int gateway)
{
    const int row = rowOf(gateway);
    if (row < 0)
        return;
    const bool answering = project.gateway(gateway).status == GatewayRecord::Answering;
    QTableWidgetItem *cell = item(row, Status);
    cell->setText(answering ? tr("Normal") : tr("Failure/Off line"));
    cell->setForeground(answering ? QColor(0, 128, 0) : QColor(200, 0, 0));
}

}  // namespace lumaro
