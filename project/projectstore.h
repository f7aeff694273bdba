#pragma once

#include "ccfgdata.h"

#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace lumaro {

class LogSink;
class Prompter;

// The INI-style files of a project's working folder.
enum class ProjectFile {
    Db,          // db.ctt: the project (cached in memory)
    DeviceType,  // DeviceType.ini: display names of the DALI device types (cached in memory)
    SoftSet,     // softset.ini: software settings, always read and written on disk
};

// The project's files on disk and the in-memory copies of db.ctt and DeviceType.ini. Every
// window reads and writes the project through it, with QString names and values; the files hold
// GBK bytes.
//
// Before load() has run, every operation works on the files themselves; load() then reads the
// files, so nothing written before it is lost. load() may run on a worker thread while the
// user-interface thread already calls in: the calls wait for the load to finish. After that the
// user-interface thread owns the store.
//
// A write through reaches the file before the call returns, except inside a Batch: there it
// changes the copy and the file is rewritten once when the outermost batch ends. Every rewrite
// is atomic (QSaveFile); a failed one is logged, and the copy keeps the change so that the next
// rewrite carries it.
class ProjectStore
{
public:
    static constexpr int kDefaultBufferSize = 256;
    // Section "SOFTWARE" of softset.ini is read with the smaller buffer the settings used.
    static constexpr int kSettingsBufferSize = 128;
    static constexpr int kExpandGroupLimit = 256;  // E0..E255
    static constexpr int kSequenceLimit = 68;      // S0..S67

    enum class StartupResult {
        Ready,
        MissingDeviceType,  // DeviceType.ini is missing: the program must end
        ProjectUnreadable,  // db.ctt is missing (could not be created) or cannot be read
    };
    struct StartupCheck {
        StartupResult result = StartupResult::Ready;
        QString message;  // the text to show before ending; empty when Ready
    };

    // `log` receives the failures of rewrites (without one they go to qWarning). Changes made
    // with writeToCopy() and not saved are dropped with the store; a Batch must end before it.
    explicit ProjectStore(QString workingFolder, LogSink *log = nullptr);
    ~ProjectStore();
    Q_DISABLE_COPY_MOVE(ProjectStore)

    // The folder a project lives in when none is named: the current directory, or "." when it
    // cannot be read.
    static QString currentWorkingFolder();

    QString workingFolder() const { return m_folder; }
    QString filePath(ProjectFile file) const;
    QString expandFolder() const;
    QString sequenceFolder() const;

    // The file checks of start-up, in their fixed order: creates db.ctt with [B0] COM=0 when it
    // is missing, then requires DeviceType.ini, then requires a readable db.ctt.
    StartupCheck prepareFiles();
    // COM of section B0: the index of the serial port chosen last time.
    int comPortIndex() const;

    // Reads db.ctt and then DeviceType.ini into their copies. A missing file gives an empty copy;
    // a file that exists but cannot be read is left uncached (its later rewrite would destroy
    // it) and load() returns false with the log lines in `failures`. Logs nothing itself: it may
    // run on a worker thread, away from the log. Runs once; later calls return the first result.
    bool load(QStringList *failures = nullptr);
    bool isLoaded(ProjectFile file) const;

    // The value, or the default when the key is missing, cut like a caller's buffer of
    // `bufferSize` bytes: at most bufferSize - 1 bytes of GBK text, never half a character.
    QString read(ProjectFile file, const QString &section, const QString &key,
                 const QString &defaultValue = QString(),
                 int bufferSize = kDefaultBufferSize) const;
    // In a copy: the section is known, even without keys. On disk: it has at least one key.
    bool readSection(ProjectFile file, const QString &section) const;

    // Sets key to value; without a value deletes the key; without a key deletes the section.
    // Changes the copy when loaded and writes the file (at once, or at the end of the batch).
    // Returns false when the file could not be written.
    bool writeThrough(ProjectFile file, const QString &section,
                      const std::optional<QString> &key = std::nullopt,
                      const std::optional<QString> &value = std::nullopt);
    // The same, but a loaded copy changes in memory only; saveCopy() takes it to the file.
    bool writeToCopy(ProjectFile file, const QString &section,
                     const std::optional<QString> &key = std::nullopt,
                     const std::optional<QString> &value = std::nullopt);
    // Rewrites the file from its whole copy. False when there is no copy or the write failed.
    bool saveCopy(ProjectFile file);

    // One key of section "SOFTWARE" of softset.ini.
    bool writeSetting(const QString &key, const QString &value);

    // MODEL of section DEV-tt of DeviceType.ini (tt: two upper-case hex digits), or "unknown".
    QString deviceTypeName(quint8 type) const;

    // Adds the first free extended group E0..E255 (NAME=Exp<i>, NAMES0..15=Scene0..15) or
    // sequence table S0..S67 (NAME=SeqTab<i>) and returns its index. When all exist, tells the
    // user through the prompter and returns nothing.
    std::optional<int> createExpandGroup(Prompter &prompter);
    std::optional<int> createSequence(Prompter &prompter);

    // Successful rewrites of the file by this store.
    int rewriteCount(ProjectFile file) const;

    // While one exists, write throughs to a cached file change the copy only; when the
    // outermost batch ends, each changed file is rewritten once. Files that are not cached are
    // still written at once.
    class Batch
    {
    public:
        explicit Batch(ProjectStore &store);
        ~Batch();
        Q_DISABLE_COPY_MOVE(Batch)

    private:
        ProjectStore &m_store;
    };

private:
    struct Copy {
        CCfgData data;
        bool loaded = false;
        bool dirty = false;  // changed by write throughs inside a batch
    };

    enum class Target { ThroughToFile, CopyOnly };

    bool write(ProjectFile file, Target target, const QString &section,
               const std::optional<QString> &key, const std::optional<QString> &value);
    bool writeFileDirectly(ProjectFile file, const QByteArray &section,
                           const std::optional<QByteArray> &key,
                           const std::optional<QByteArray> &value);
    bool saveData(ProjectFile file, const CCfgData &data);
    Copy *loadedCopy(ProjectFile file);
    const Copy *loadedCopy(ProjectFile file) const;
    void logFailure(const QString &text) const;
    void endBatch();
    std::optional<int> firstFreeSection(const QString &prefix, int limit) const;

    const QString m_folder;
    LogSink *const m_log;
    mutable QRecursiveMutex m_mutex;
    std::array<Copy, 2> m_copies;  // Db, DeviceType
    std::array<int, 3> m_rewrites{};
    int m_batchDepth = 0;
    bool m_loadRan = false;
    bool m_loadResult = false;
    QStringList m_failures;  // of load()
};

}  // namespace lumaro
