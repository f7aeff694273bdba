#pragma once

#include <QListView>

namespace lumaro {

class LogBook;

// The log pane: shows the log book, keeps its last line selected and in view, and offers
// "Clear" on the right button.
class COutputList final : public QListView
{
    Q_OBJECT
public:
    explicit COutputList(LogBook &log, QWidget *parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void selectRow(int row);

    LogBook &m_log;
};

}  // namespace lumaro
