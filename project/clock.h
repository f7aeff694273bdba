#pragma once

#include <QDateTime>

namespace lumaro {

// Local date and time for logic that must be testable at a fixed moment (log prefixes, the
// gateways' clock calibration, the time control). The application passes a SystemClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands where it is set; tests move it by hand.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime t) : m_now(std::move(t)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime t) { m_now = std::move(t); }
    void advanceSeconds(qint64 s) { m_now = m_now.addSecs(s); }

private:
    QDateTime m_now;
};

}  // namespace lumaro
