#pragma once

#include "currenttarget.h"

#include <QObject>
#include <QString>
#include <optional>

namespace lumaro {

struct DeviceContext;

// The direct DALI commands of the device tree: one register write to a target through the
// generic requester, which logs the answer. Also the two-step factory reset, whose second step
// follows one second after the first; tick() is driven every 100 ms while isRestorePending().
class DirectCommands final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRequestTag = 0x8039;
    static constexpr int kTickMs = 100;
    static constexpr int kRestoreStepDelayMs = 1000;
    // Request tags of the sequence commands: off n = base + 2 (n - 1), on n = that + 1.
    static constexpr int kSequenceTagBase = 0x8050;
    static constexpr int kSequences = 4;

    enum class Command {
        Off,
        RecallMin,
        RecallMax,
        RecallScene,      // scene 0..15
        StoreScene,       // scene 0..15
        RemoveScene,      // scene 0..15
        Reset,            // first step of the factory reset
        DeleteAddress,    // second step of the factory reset
        DeleteGear,       // "Delete" of a gear node
        RemoveFromGroup,  // "Delete" of a group node, scene = the group
    };

    explicit DirectCommands(DeviceContext &context, QObject *parent = nullptr);

    // The register write, without checksum, and the log text after the target label.
    static QByteArray payload(const CurrentTarget &target, Command command, int scene = 0);
    static QString logText(Command command, int scene = 0);

    // Queues the command for the target. False when the link refused it (the link has told the
    // user when the port is closed).
    bool send(const CurrentTarget &target, Command command, int scene = 0);
    // Turns sequence n (1..4) of the target's gateway off or on (gateway register 0x4EF6).
    bool sendSequence(const CurrentTarget &target, int sequence, bool on);

    // Asks, then sends the reset and, a second later, deletes the short address of the same
    // target. Returns false when the user said No.
    bool restoreFactory(const CurrentTarget &target);
    bool isRestorePending() const { return m_restoreTarget.has_value(); }
    void tick();

signals:
    // The 100 ms timer of the factory reset is needed (or no longer).
    void tickingNeeded(bool needed);

private:
    bool queue(const CurrentTarget &target, int tag, const QByteArray &payload, const QString &text);

    DeviceContext &m_context;
    std::optional<CurrentTarget> m_restoreTarget;
    int m_restoreCountdown = 0;
};

}  // namespace lumaro
