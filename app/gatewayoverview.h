#pragma once

#include <QTableWidget>

namespace lumaro {

class ProjectData;
class ProjectStore;

// The view in front while the whole installation is selected: one row per gateway of the
// project with its name, model, firmware version and whether it answers.
class GatewayOverview final : public QTableWidget
{
    Q_OBJECT
public:
    explicit GatewayOverview(QWidget *parent = nullptr);

    void fill(ProjectData &project, const ProjectStore &store);
    // Refreshes the status cell of one gateway after the poll changed it.
    void refreshGateway(const ProjectData &project, int gateway);

private:
    int rowOf(int gateway) const;
};

}  // namespace lumaro
