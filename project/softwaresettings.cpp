#include "softwaresettings.h"

#include "projectstore.h"

#include <limits>
#include <optional>

namespace lumaro {

namespace {

QString readSetting(const ProjectStore &store, const char *key)
{
    return store.read(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"), QString::fromLatin1(key),
                      QString(), ProjectStore::kSettingsBufferSize);
}

std::optional<int> readNumber(const ProjectStore &store, const char *key)
{
    bool ok = false;
    const int value = readSetting(store, key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int readInRange(const ProjectStore &store, const char *key, int defaultValue, int min, int max)
{
    const std::optional<int> value = readNumber(store, key);
    return value && *value >= min && *value <= max ? *value : defaultValue;
}

}  // namespace

SoftwareSettings SoftwareSettings::read(const ProjectStore &store)
{
    SoftwareSettings s;
    s.language = readSetting(store, "LANGUAGE") == QLatin1String("1") ? 1 : 0;
    s.comTimeout = readInRange(store, "COMTIMEOUT", s.comTimeout, 500, 5000);
    s.checkThreadCount = readInRange(store, "CHECKTHREADCOUNT", s.checkThreadCount, 1, 300);
    s.allCheckThreadCount = readInRange(store, "ALLCHECKTHREADCOUNT", s.allCheckThreadCount, 1, 60);
    s.noCheckFlag = store.read(ProjectFile::SoftSet, QStringLiteral("SOFTWARE"),
                               QStringLiteral("NOCHECKFLAG"), s.noCheckFlag,
                               ProjectStore::kSettingsBufferSize);
    // 0 days would delete every log file at once; it is taken as the default instead, and so is
    // anything that is not an age.
    s.logDayClear = readInRange(store, "LOGDAYCLR", s.logDayClear, 1, std::numeric_limits<int>::max());
    s.restoreFactory = readSetting(store, "RESTOREFACTORY") == QLatin1String("1");
    s.manuallyAddId = readNumber(store, "MANUALLYADDID").value_or(0) > 0;
    return s;
}

}  // namespace lumaro
