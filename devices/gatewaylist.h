#pragma once

#include "requester.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lumaro {

struct DeviceContext;

// What the gateway list shows and does, without its widgets: one row per gateway of the
// project, the list's own status poll that walks over the gateways one after another, the
// firmware check after a fill, and the gateway commands of the context menu, run on the selected
// rows one after another. Requester 205 of the link for the life of the list. The view calls
// tick() every 100 ms; each command step queues one request and waits for its answer, its
// time-out, or at most "COMTIMEOUT" + 100 ms.
class GatewayList final : public QObject, public Requester
{
    Q_OBJECT
public:
    enum Column { Id, Name, Model, Status, Version, Location, NetConnect, SlaveTotal, GroupTotal, Dev, ColumnCount };
    enum class Colour { None, Green, Red, Grey };

    enum class Command {
        CheckStatus,
        ReadVersion,
        ReadNetworkParameters,
        ReadControllerTime,
        ReadTimeControlStatus,
        Reboot,
        CalibrationTime,
    };

    struct Row {
        int gateway = 0;
        QStringList cells;   // ColumnCount texts
        Colour statusColour = Colour::None;
        Colour netColour = Colour::Grey;
    };

    static constexpr int kTickMs = 100;
    static constexpr int kFillDelayTicks = 20;
    static constexpr int kRequestWaitTicks = 30;
    static constexpr int kRingBusyTicks = 10;
    static constexpr int kFirmwareCheckTicks = 10;   // one second after a fill
    static constexpr int kSuspendSeconds = 10;       // of the background poll, per request
    static constexpr int kMissesToFail = 2;
    static constexpr int kMissLimit = 250;
    // Request tags; the status poll and "Check status" read the same register.
    static constexpr int kPollTag = 0xFE;
    static constexpr int kCheckStatusTag = 0xFD;
    static constexpr int kVersionTag = 0xFA;
    static constexpr int kNetworkTag = 0xCA;
    static constexpr int kRebootTag = 0xE6;
    static constexpr int kReadClockTag = 0x4FE7;
    static constexpr int kCalibrationTag = 0x4FE6;
    static constexpr int kTimingStateTag = 0x4EF8;

    explicit GatewayList(DeviceContext &context, QObject *parent = nullptr);
    ~GatewayList() override;

    // Column titles and widths (0 = hidden).
    static QStringList headings();
    static int columnWidth(int column);
    // The status flag texts of a status byte, as the log shows them (" /Busy /Debug").
    static QString flagTexts(uint8_t flags);

    // Rebuilds the rows from the project; the firmware check follows one second later.
    void fill();
    // Rewrites the status and network cells of gateway n from its record.
    void refreshRow(int gateway);
    const QList<Row> &rows() const { return m_rows; }

    // The list polls only while the device tree's root ("Devices") or "ExpandControl" is selected.
    void setPollAllowed(bool allowed) { m_pollAllowed = allowed; }

    // The 100 ms timer of the view.
    void tick();

    // Runs a command on the gateways of the given rows, in row order. Ignored (false) while
    // another command runs or when no row is given.
    bool run(Command command, const QList<int> &rowIndexes);
    bool isCommandRunning() const { return m_command.state != CommandState::Idle; }

    // The gateway list as printed: its title, headings and one row of texts per gateway.
    static QString printTitle();
    static QStringList printHeadings();
    QList<QStringList> printRows() const;

    int pollIndex() const { return m_pollIndex; }
    int pollDelay() const { return m_pollDelay; }
    int longPauseTicks() const;

    void onAnswer(int tag, const Frame &answer) override;
    void onTimeout(int tag) override;

signals:
    void rowsReset();
    void rowChanged(int row);
    void commandFinished();

private:
    enum class CommandState { Idle, Waiting };
    struct CommandRun {
        CommandState state = CommandState::Idle;
        Command command = Command::CheckStatus;
        QList<int> gateways;   // still to visit, in row order
        int gateway = 0;       // the gateway concerned
        int tag = 0;           // of its request
        int waitTicks = 0;     // until the step gives up without an answer
    };

    void pollStep();
    void pollAnswered(const Frame &answer);
    void pollMissed();
    void advancePoll();
    void firmwareCheck();
    void nextCommandStep();
    void commandAnswered(int tag, const Frame &answer);
    void commandMissed(int tag);
    void setStatusCell(Row &row, bool offline, bool refresh) const;
    void setOffline(int gateway, bool offline);
    void log(const QString &text);
    int rowOf(int gateway) const;

    DeviceContext &m_ctx;
    QList<Row> m_rows;
    bool m_pollAllowed = false;
    int m_pollIndex = 1;
    int m_pollDelay = kFillDelayTicks;
    int m_polled = 0;
    bool m_polledAnswered = false;
    int m_firmwareCheckTicks = 0;
    CommandRun m_command;
};

}  // namespace lumaro
