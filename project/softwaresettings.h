#pragma once

#include <QString>

namespace lumaro {

class ProjectStore;

// The settings of section "SOFTWARE" of softset.ini, read once at start-up. A missing key, a
// value that is not a whole number, or one outside its accepted range leaves the default.
struct SoftwareSettings
{
    int language = 0;                // 1 = Chinese texts ("1" in the file), 0 = English
    int comTimeout = 1500;           // answer wait in ms, 500..5000
    int checkThreadCount = 60;       // per-view refresh period in seconds, 1..300
    int allCheckThreadCount = 15;    // pause between status poll cycles in minutes, 1..60
    QString noCheckFlag = QStringLiteral("0");
    int logDayClear = 180;           // age in days of daily log files to delete; 0 means 180
    bool restoreFactory = false;     // "1" enables the factory reset command
    bool manuallyAddId = false;      // a value above 0 enables adding short addresses by hand

    // Anything but "0" keeps the background status poll paused.
    bool statusPollPaused() const { return noCheckFlag != QLatin1String("0"); }

    static SoftwareSettings read(const ProjectStore &store);
};

}  // namespace lumaro
