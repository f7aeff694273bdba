#pragma once

#include "devicecontext.h"
#include "gearlistcells.h"
#include "requester.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lumaro {

class Frame;

// The gear list of one gateway without its window: the rows and their cells, the list's own poll
// of its gear (presence, then status and level, then the colour of colour gear), and the
// commands "Check status" and "Read Version" on chosen rows. It is requester 138 of the link for
// its whole life. tick() every 100 ms drives the poll and the waits of the commands; the gear
// list window wires a timer to it, tests call it.
class GearList final : public QObject, public Requester
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;
    static constexpr int kFillDelayTicks = 20;
    static constexpr int kRequestWaitTicks = 30;   // after each request, and while not polling
    static constexpr int kRingBusyTicks = 10;
    static constexpr int kSuspendSeconds = 10;     // of the background status poll, per request
    static constexpr int kMissesToFail = 2;
    static constexpr int kMissLimit = 250;
    static constexpr int kCommandMarginMs = 100;

    // Request tags: those of the poll, and those of the commands one below them.
    enum Tag {
        PresenceCommand = 63,
        PresencePoll = 64,
        VersionCommand = 68,
        StatusCommand = 73,
        StatusPoll = 74,
        ColourCommand = 113,
        ColourPoll = 114,
    };
    enum class Phase { Presence, StatusLevel, Colour };

    struct Row {
        int gateway = 0;
        int address = 0;
        QString id;          // M3A17
        QString name;
        QString model;
        gearcells::Level level;
        gearcells::Status status;
        QString version;
        QString location;
        QString remark;
        QString physicalMinimum;
    };

    // The gear of the current gateway as printed: heading, column titles and one text per column.
    struct PrintTable {
        QString heading;     // Hall#M3
        QString date;        // 2026-12-10
        QStringList columns;
        QList<QStringList> rows;
    };

    explicit GearList(DeviceContext context, QObject *parent = nullptr);
    ~GearList() override;

    // The list's column titles, in column order.
    static QStringList columnTitles();

    // Rebuilds the rows for gateway 1..16, or none for 0 (the root or a folder is selected), and
    // starts the poll from the first gear.
    void fill(int gateway);
    int currentGateway() const { return m_gateway; }
    const QList<Row> &rows() const { return m_rows; }

    // Rewrites Level and Status of one gear from its record, when it is listed.
    void refreshRow(int gateway, int address);
    void refreshAllRows();
    // Rewrites Name, Location and Remark of one gear of the current gateway from the store.
    void updateTexts(int address);

    // Run on the given rows in order; ignored while a command runs. Rows out of range are skipped.
    void checkStatus(const QList<int> &rows);
    void readVersion(const QList<int> &rows);
    bool isCommandRunning() const { return m_command != Command::None; }

    PrintTable printTable() const;

    void tick();

    // For the window's state and the tests.
    Phase pollPhase() const { return m_phase; }
    int pollIndex() const { return m_index; }
    int pollDelay() const { return m_delay; }
    int longPauseTicks() const;

    void onAnswer(int tag, const Frame &answer) override;
    void onTimeout(int tag) override;

signals:
    void filled();
    void rowChanged(int row);

private:
    enum class Command { None, CheckStatus, ReadVersion };
    struct Gear {
        int gateway = 0;
        int address = 0;
    };

    Row makeRow(int address);
    void readTypes(int gateway, int address);
    void setLevelStatus(Row &row, bool onFill) const;

    void pollStep();
    bool sendPoll(int tag, int count, const char *what);
    void advanceIndex();
    void afterQuery();

    void pollAnswer(int tag, const Frame &answer);
    void pollException(int tag);
    void pollTimeout(int tag);
    // A failed presence check: counts the miss; true once the gear has missed twice in a row.
    bool presenceMissed(GearRecord &gear);
    // The status-and-level read failed: the level is unknown (0).
    void levelLost(GearRecord &gear);
    // On to the presence check of the next gear of the list.
    void nextGear();
    void responseError(int tag);

    // Shared by the poll and the commands.
    bool takeStatusLevel(const Gear &gear, const Frame &answer);
    bool takeColour(const Gear &gear, const Frame &answer);
    void clearColour(const Gear &gear);
    void markOffline(const Gear &gear, bool gatewaySilent);

    void startCommand(Command command, const QList<int> &rows);
    void commandStep();
    void commandAnswer(int tag, const Frame &answer);
    void commandTimeout(int tag);
    void commandStepDone();

    int colourCount(const Gear &gear) const;
    QString label(const Gear &gear) const;
    void log(const QString &text);
    int answerWaitMs() const;

    DeviceContext m_ctx;
    int m_gateway = 0;
    QList<Row> m_rows;

    // The poll.
    int m_index = 0;
    Phase m_phase = Phase::Presence;
    int m_delay = kFillDelayTicks;
    Gear m_polled;

    // The running command: the gear still to do, the step of the current one, its wait.
    Command m_command = Command::None;
    QList<Gear> m_commandGear;
    Gear m_commandCurrent;
    QList<Tag> m_commandSteps;
    int m_commandWait = 0;   // ticks left for the current step's answer
};

}  // namespace lumaro
