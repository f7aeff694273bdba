#pragma once

#include "logsink.h"

#include <QAbstractListModel>
#include <QDate>
#include <QStringList>

namespace lumaro {

class Clock;

// The log of the main window: one entry per line, each with its time prefix and trailing CR LF.
// Text collects in the pending text of the current line until it is written. The book keeps about
// 250 entries; older ones go to the daily file "<date>-log.txt" of the working folder, and daily
// files older than the configured number of days are deleted. The log pane shows this model.
class LogBook final : public QAbstractListModel, public LogSink
{
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 250;
    static constexpr int kDefaultKeepDays = 180;

    LogBook(QString workingFolder, const Clock &clock, QObject *parent = nullptr);

    // Days after which daily log files are deleted; 0 means the default.
    void setKeepDays(int days);

    void appendPending(const QString &text) override;
    void writePending() override;
    QString pending() const override { return m_pending; }

    const QStringList &entries() const { return m_entries; }
    // Ends a line that is still waiting for the rest of its text (the result of a request that
    // will not come), so that the next text starts a line of its own.
    void endOpenLine();

    // Appends every entry (or all but the last) to today's file. Returns false when the file
    // cannot be written; the entries are then kept in the book.
    bool writeLogFile(bool allButLast = false);
    // Writes every entry to today's file, then empties the book.
    bool clear();

    QString dailyFilePath() const;
    static QString linePrefix(const QDateTime &t);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

signals:
    // The entry that the pane should select (the one just added or extended).
    void currentEntryChanged(int row);

private:
    void addText(const QString &text);
    void deleteOldLogFiles();

    QString m_folder;
    const Clock &m_clock;
    int m_keepDays = kDefaultKeepDays;
    QStringList m_entries;
    QString m_pending;
    bool m_newLine = true;
    int m_logDay = 0;   // day of the month of the last file write; 0 = none yet
};

}  // namespace lumaro
