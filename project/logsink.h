#pragma once

#include <QString>

namespace lumaro {

// Where log text goes. The log book of the application implements it; the link and the project
// store write through it. Text is collected in the pending text of the current line and then
// written: the sink decides whether it starts a new line (see the log book).
class LogSink
{
public:
    virtual ~LogSink() = default;
    virtual void appendPending(const QString &text) = 0;
    virtual void writePending() = 0;
    // Text of the current line that has not been written yet.
    virtual QString pending() const = 0;

    // One complete entry: appended and written at once.
    void log(const QString &text) { appendPending(text); writePending(); }
};

}  // namespace lumaro
