#pragma once

#include "currenttarget.h"
#include "requester.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace lumaro {

struct DeviceContext;

// The addressing test: makes the gear behind one tree node blink so that the installer finds it
// in the building. The target is switched to its maximum level and then, together with every
// other gear of its gateway, off or to the minimum level, in turn at a fixed interval. Requester
// 372; the link logs the answers. The dialog CTestAdressing drives intervalTick() with a timer
// of intervalMs() while isRunning(), and calls open() and close().
class AddressingTest final : public QObject, public Requester
{
    Q_OBJECT
public:
    enum class Mode { Idle = 0, OffMax = 1, MinMax = 2 };
    enum class Phase { MaximumNext, LowStepNext };
    // Request tags: the DALI command each request carries.
    enum Tag { OffTag = 0, MaxTag = 5, MinTag = 6 };

    static constexpr int kIntervalStepMs = 500;
    static constexpr int kIntervalCount = 6;   // 0.5 s to 3 s
    static constexpr int kDefaultIntervalIndex = 1;

    AddressingTest(DeviceContext &context, const CurrentTarget &target, QObject *parent = nullptr);
    ~AddressingTest() override;

    // Registers with the link and keeps the background status poll out while the dialog is open.
    void open();
    // Stops the blinking, unregisters and lets the status poll run again.
    void close();

    static QStringList intervalTexts();
    void setIntervalIndex(int index);
    int intervalIndex() const { return m_intervalIndex; }
    int intervalMs() const { return (m_intervalIndex + 1) * kIntervalStepMs; }

    // Checking a box starts its mode with an off request; unchecking the running mode stops.
    void setMode(Mode mode, bool checked);
    Mode mode() const { return m_mode; }
    Phase phase() const { return m_phase; }
    bool isRunning() const { return m_mode != Mode::Idle; }
    // One interval has passed.
    void intervalTick();

    const CurrentTarget &target() const { return m_target; }
    QString statusText() const { return m_status; }
    QString title(const QString &nodeName) const;
    QString explanation() const;

    void onAnswer(int tag, const Frame &answer) override;

signals:
    // The interval timer must run (with intervalMs()) or stop; the interval list is enabled
    // exactly while it does not run.
    void runningChanged(bool running);
    void statusTextChanged(const QString &text);

private:
    void sendMaximum();
    void sendLowStep(uint8_t command, int tag, const QString &logText, const QString &status);
    void sendOff();
    void sendMinimum();

    DeviceContext &m_context;
    const CurrentTarget m_target;
    Mode m_mode = Mode::Idle;
    Phase m_phase = Phase::MaximumNext;
    int m_intervalIndex = kDefaultIntervalIndex;
    QString m_status;
    bool m_open = false;
};

}  // namespace lumaro
