#include "projectstore.h"

#include "gbktext.h"
#include "logsink.h"
#include "prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QtDebug>

namespace lumaro {

namespace {

const char *fileName(ProjectFile file)
{
    switch (file) {
    case ProjectFile::Db: return "db.ctt";
    case ProjectFile::DeviceType: return "DeviceType.ini";
    case ProjectFile::SoftSet: return "softset.ini";
    }
    return "";
}

constexpr size_t copyIndex(ProjectFile file) { return file == ProjectFile::Db ? 0 : 1; }

constexpr bool isCached(ProjectFile file) { return file != ProjectFile::SoftSet; }

// What a caller's buffer of `bufferSize` bytes would hold: bufferSize - 1 bytes and the
// terminator, and never the first byte of a GBK character without its second.
QByteArray cutToBuffer(QByteArray bytes, int bufferSize)
{
    const qsizetype limit = bufferSize > 0 ? bufferSize - 1 : 0;
    if (bytes.size() <= limit)
        return bytes;
    qsizetype kept = 0;
    while (kept < limit) {
        const qsizetype step = static_cast<unsigned char>(bytes[kept]) >= 0x80 ? 2 : 1;
        if (kept + step > limit)
            break;
        kept += step;
    }
    bytes.truncate(kept);
    return bytes;
}

// Applies one write to a copy; returns whether anything changed.
bool applyWrite(CCfgData &data, const QByteArray &section, const std::optional<QByteArray> &key,
                const std::optional<QByteArray> &value)
{
    if (!key)
        return data.deleteSection(section);
    if (!value)
        return data.deleteKey(section, *key);
    data.set(section, *key, *value);
    return true;
}

std::optional<QByteArray> optionalToGbk(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    return toGbk(*text);
}

}  // namespace

ProjectStore::ProjectStore(QString workingFolder, LogSink *log)
    : m_folder(std::move(workingFolder)), m_log(log)
{
}

ProjectStore::~ProjectStore()
{
    Q_ASSERT_X(m_batchDepth == 0, "ProjectStore", "a Batch outlives its store");
}

QString ProjectStore::currentWorkingFolder()
{
    const QDir current = QDir::current();
    return current.isReadable() ? current.absolutePath() : QStringLiteral(".");
}

QString ProjectStore::filePath(ProjectFile file) const
{
    return QDir(m_folder).filePath(QString::fromLatin1(fileName(file)));
}

QString ProjectStore::expandFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("Expand"));
}

QString ProjectStore::sequenceFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("Sequence"));
}

ProjectStore::StartupCheck ProjectStore::prepareFiles()
{
    const QString db = filePath(ProjectFile::Db);
    if (!QFileInfo::exists(db))
        writeThrough(ProjectFile::Db, QStringLiteral("B0"), QStringLiteral("COM"), QStringLiteral("0"));
    if (!QFileInfo::exists(filePath(ProjectFile::DeviceType)))
        return {StartupResult::MissingDeviceType,
                QCoreApplication::translate("ProjectStore", "Missing files, failure!")};
    // A db.ctt that exists but cannot be read is as lost as a missing one; loading it as empty
    // would rewrite it empty at exit.
    QFile probe(db);
    if (!probe.open(QIODevice::ReadOnly))
        return {StartupResult::ProjectUnreadable,
                QCoreApplication::translate("ProjectStore", "Project data loss or damage, open failed!")};
    return {};
}

int ProjectStore::comPortIndex() const
{
    return read(ProjectFile::Db, QStringLiteral("B0"), QStringLiteral("COM"), QStringLiteral("0")).toInt();
}

bool ProjectStore::load(QStringList *failures)
{
    QMutexLocker lock(&m_mutex);
    if (!m_loadRan) {
        m_loadRan = true;
        m_loadResult = true;
        for (ProjectFile file : {ProjectFile::Db, ProjectFile::DeviceType}) {
            Copy &copy = m_copies[copyIndex(file)];
            const QString path = filePath(file);
            QFile in(path);
            if (!in.exists()) {
                copy.data.clear();
                copy.loaded = true;
                continue;
            }
            if (!in.open(QIODevice::ReadOnly)) {
                m_loadResult = false;
                m_failures.append(
                    QCoreApplication::translate("ProjectStore", "Failure,Cannot read %1: %2.\r\n")
                        .arg(QDir::toNativeSeparators(path), in.errorString()));
                continue;
            }
            copy.data.loadBytes(in.readAll());
            copy.loaded = true;
        }
    }
    if (failures)
        *failures = m_failures;
    return m_loadResult;
}

bool ProjectStore::isLoaded(ProjectFile file) const
{
    QMutexLocker lock(&m_mutex);
    return loadedCopy(file) != nullptr;
}

ProjectStore::Copy *ProjectStore::loadedCopy(ProjectFile file)
{
    if (!isCached(file))
        return nullptr;
    Copy &copy = m_copies[copyIndex(file)];
    return copy.loaded ? &copy : nullptr;
}

const ProjectStore::Copy *ProjectStore::loadedCopy(ProjectFile file) const
{
    return const_cast<ProjectStore *>(this)->loadedCopy(file);
}

QString ProjectStore::read(ProjectFile file, const QString &section, const QString &key,
                           const QString &defaultValue, int bufferSize) const
{
    const QByteArray s = toGbk(section);
    const QByteArray k = toGbk(key);
    QByteArray value;
    bool found = false;
    {
        QMutexLocker lock(&m_mutex);
        if (const Copy *copy = loadedCopy(file)) {
            if (const QByteArray *v = copy->data.find(s, k)) {
                value = *v;
                found = true;
            }
        } else {
            CCfgData disk;
            disk.load(filePath(file));
            if (const QByteArray *v = disk.find(s, k)) {
                value = *v;
                found = true;
            }
        }
    }
    if (!found)
        value = toGbk(defaultValue);
    return fromGbk(cutToBuffer(value, bufferSize));
}

bool ProjectStore::readSection(ProjectFile file, const QString &section) const
{
    const QByteArray s = toGbk(section);
    QMutexLocker lock(&m_mutex);
    if (const Copy *copy = loadedCopy(file))
        return copy->data.sectionExists(s);
    CCfgData disk;
    disk.load(filePath(file));
    return !disk.keys(s).isEmpty();
}

bool ProjectStore::writeThrough(ProjectFile file, const QString &section,
                                const std::optional<QString> &key,
                                const std::optional<QString> &value)
{
    return write(file, Target::ThroughToFile, section, key, value);
}

bool ProjectStore::writeToCopy(ProjectFile file, const QString &section,
                               const std::optional<QString> &key,
                               const std::optional<QString> &value)
{
    return write(file, Target::CopyOnly, section, key, value);
}

bool ProjectStore::write(ProjectFile file, Target target, const QString &section,
                         const std::optional<QString> &key, const std::optional<QString> &value)
{
    if (section.isEmpty() || (key && key->isEmpty()))
        return false;
    const QByteArray s = toGbk(section);
    const std::optional<QByteArray> k = optionalToGbk(key);
    const std::optional<QByteArray> v = optionalToGbk(value);

    QMutexLocker lock(&m_mutex);
    Copy *copy = loadedCopy(file);
    if (!copy)
        return writeFileDirectly(file, s, k, v);
    applyWrite(copy->data, s, k, v);
    if (target == Target::CopyOnly)
        return true;
    if (m_batchDepth > 0) {
        copy->dirty = true;
        return true;
    }
    copy->dirty = false;
    return saveData(file, copy->data);
}

bool ProjectStore::writeFileDirectly(ProjectFile file, const QByteArray &section,
                                     const std::optional<QByteArray> &key,
                                     const std::optional<QByteArray> &value)
{
    const QString path = filePath(file);
    CCfgData disk;
    if (QFileInfo::exists(path) && !disk.load(path)) {
        // Rewriting a file that could not be read would throw its contents away.
        QFile probe(path);
        probe.open(QIODevice::ReadOnly);
        logFailure(QCoreApplication::translate("ProjectStore", "Failure,Cannot write %1: %2.\r\n")
                       .arg(QDir::toNativeSeparators(path), probe.errorString()));
        return false;
    }
    // Deleting what is not there leaves the file as it is (and does not create it).
    if (!applyWrite(disk, section, key, value))
        return true;
    return saveData(file, disk);
}

bool ProjectStore::saveData(ProjectFile file, const CCfgData &data)
{
    const QString path = filePath(file);
    QString error;
    if (!data.save(path, &error)) {
        logFailure(QCoreApplication::translate("ProjectStore", "Failure,Cannot write %1: %2.\r\n")
                       .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    ++m_rewrites[size_t(file)];
    return true;
}

bool ProjectStore::saveCopy(ProjectFile file)
{
    QMutexLocker lock(&m_mutex);
    Copy *copy = loadedCopy(file);
    if (!copy)
        return false;
    copy->dirty = false;
    return saveData(file, copy->data);
}

bool ProjectStore::writeSetting(const QString &key, const QString &value)
{
    return writeThrough(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"), key, value);
}

QString ProjectStore::deviceTypeName(quint8 type) const
{
    const QString section = QStringLiteral("DEV-%1").arg(type, 2, 16, QLatin1Char('0')).toUpper();
    return read(ProjectFile::DeviceType, section, QStringLiteral("MODEL"),
                QCoreApplication::translate("ProjectStore", "unknown"));
}

std::optional<int> ProjectStore::firstFreeSection(const QString &prefix, int limit) const
{
    for (int i = 0; i < limit; ++i) {
        if (!readSection(ProjectFile::Db, prefix + QString::number(i)))
            return i;
    }
    return std::nullopt;
}

std::optional<int> ProjectStore::createExpandGroup(Prompter &prompter)
{
    const std::optional<int> free = firstFreeSection(QStringLiteral("E"), kExpandGroupLimit);
    if (!free) {
        prompter.warn(QCoreApplication::translate("ProjectStore", "Failure,Allowed only %1 expand group.")
                          .arg(kExpandGroupLimit));
        return std::nullopt;
    }
    const QString section = QStringLiteral("E%1").arg(*free);
    Batch batch(*this);
    writeThrough(ProjectFile::Db, section, QStringLiteral("NAME"), QStringLiteral("Exp%1").arg(*free));
    for (int j = 0; j < 16; ++j)
        writeThrough(ProjectFile::Db, section, QStringLiteral("NAMES%1").arg(j), QStringLiteral("Scene%1").arg(j));
    return free;
}

std::optional<int> ProjectStore::createSequence(Prompter &prompter)
{
    const std::optional<int> free = firstFreeSection(QStringLiteral("S"), kSequenceLimit);
    if (!free) {
        prompter.warn(QCoreApplication::translate("ProjectStore", "Failure,Allowed only %1 sequence tables.")
                          .arg(kSequenceLimit));
        return std::nullopt;
    }
    writeThrough(ProjectFile::Db, QStringLiteral("S%1").arg(*free), QStringLiteral("NAME"),
                 QStringLiteral("SeqTab%1").arg(*free));
    return free;
}

int ProjectStore::rewriteCount(ProjectFile file) const
{
    QMutexLocker lock(&m_mutex);
    return m_rewrites[size_t(file)];
}

void ProjectStore::logFailure(const QString &text) const
{
    if (m_log)
        m_log->log(text);
    else
        qWarning().noquote() << text.trimmed();
}

ProjectStore::Batch::Batch(ProjectStore &store) : m_store(store)
{
    QMutexLocker lock(&m_store.m_mutex);
    ++m_store.m_batchDepth;
}

ProjectStore::Batch::~Batch()
{
    m_store.endBatch();
}

void ProjectStore::endBatch()
{
    QMutexLocker lock(&m_mutex);
    if (--m_batchDepth > 0)
        return;
    for (ProjectFile file : {ProjectFile::Db, ProjectFile::DeviceType}) {
        Copy *copy = loadedCopy(file);
        if (copy && copy->dirty) {
            copy->dirty = false;
            saveData(file, copy->data);
        }
    }
}

}  // namespace lumaro
