#include "logbook.h"

#include "clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumaro {

namespace {
const QLatin1String kLineEnd("\r\n");
}

LogBook::LogBook(QString workingFolder, const Clock &clock, QObject *parent)
    : QAbstractListModel(parent), m_folder(std::move(workingFolder)), m_clock(clock)
{
}

void LogBook::setKeepDays(int days)
{
    m_keepDays = days > 0 ? days : kDefaultKeepDays;
}

QString LogBook::linePrefix(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss  >"));
}

QString LogBook::dailyFilePath() const
{
    return QDir(m_folder).filePath(m_clock.now().date().toString(QStringLiteral("yyyy-MM-dd"))
                                   + QStringLiteral("-log.txt"));
}

void LogBook::appendPending(const QString &text)
{
    m_pending += text;
}

void LogBook::writePending()
{
    // A fragment of one or two characters waits for the text that completes it.
    if (m_pending.size() < 3)
        return;
    const QString text = std::exchange(m_pending, QString());
    addText(text);
    m_newLine = text.endsWith(kLineEnd);
}

void LogBook::addText(const QString &text)
{
    if (m_newLine) {
        const int row = int(m_entries.size());
        beginInsertRows({}, row, row);
        m_entries.append(linePrefix(m_clock.now()) + text);
        endInsertRows();
        emit currentEntryChanged(row);
    } else if (!m_entries.isEmpty()) {
        const int row = int(m_entries.size()) - 1;
        m_entries.last() += text;
        emit dataChanged(index(row), index(row));
        emit currentEntryChanged(row);
    }

    const bool dayChanged = m_clock.now().date().day() != m_logDay;
    if ((m_entries.size() > kMaxEntries || dayChanged) && text.endsWith(kLineEnd)) {
        if (!writeLogFile(true))
            return;
        const QString last = m_entries.isEmpty() ? QString() : m_entries.last();
        beginResetModel();
        m_entries.clear();
        if (!last.isNull())
            m_entries.append(last);
        endResetModel();
        if (!m_entries.isEmpty())
            emit currentEntryChanged(0);
    }
}

void LogBook::endOpenLine()
{
    if (!m_newLine) {
        addText(std::exchange(m_pending, QString()) + kLineEnd);
        m_newLine = true;
    }
}

bool LogBook::writeLogFile(bool allButLast)
{
    QFile file(dailyFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const qsizetype n = allButLast ? qMax<qsizetype>(0, m_entries.size() - 1) : m_entries.size();
    QByteArray out;
    for (qsizetype i = 0; i < n; ++i) {
        out += m_entries[i].toUtf8();
        // Each entry is one line of the file, also the unfinished last one.
        if (!m_entries[i].endsWith(kLineEnd))
            out += "\r\n";
    }
    const bool ok = file.write(out) == out.size() && file.flush();
    file.close();

    const int today = m_clock.now().date().day();
    if (today != m_logDay) {
        m_logDay = today;
        deleteOldLogFiles();
    }
    return ok;
}

bool LogBook::clear()
{
    if (!writeLogFile(false))
        return false;
    beginResetModel();
    m_entries.clear();
    endResetModel();
    return true;
}

void LogBook::deleteOldLogFiles()
{
    const QDateTime limit = m_clock.now().addSecs(-qint64(m_keepDays) * 86400);
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*-log.txt")}, QDir::Files);
    for (const QFileInfo &f : files) {
        const QDateTime born = f.birthTime();
        if ((born.isValid() && born < limit) || f.lastModified() < limit)
            QFile::remove(f.absoluteFilePath());
    }
}

int LogBook::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant LogBook::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    if (role == Qt::DisplayRole) {
        QString s = m_entries[index.row()];
        if (s.endsWith(kLineEnd))
            s.chop(2);
        return s;
    }
    return {};
}

}  // namespace lumaro
