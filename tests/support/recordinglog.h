#pragma once

#include "logsink.h"

#include <QStringList>

// A log sink that keeps every written piece; the last entry grows while a line is open,
// as in the log book, but without time prefixes, flushing or files.
class RecordingLog final : public lumaro::LogSink
{
public:
    void appendPending(const QString &text) override { m_pending += text; }
    void writePending() override
    {
        if (m_pending.size() < 3)
            return;
        if (m_newLine || m_lines.isEmpty())
            m_lines.append(m_pending);
        else
            m_lines.last() += m_pending;
        m_newLine = m_pending.endsWith(QLatin1String("\r\n"));
        m_pending.clear();
    }
    QString pending() const override { return m_pending; }

    const QStringList &lines() const { return m_lines; }
    void clear() { m_lines.clear(); m_pending.clear(); m_newLine = true; }

private:
    QStringList m_lines;
    QString m_pending;
    bool m_newLine = true;
};
