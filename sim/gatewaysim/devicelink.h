#pragma once

#include <QString>

namespace lumaro::sim {

// The symbolic link that gives gateway-sim's pseudo-terminal a fixed name (--link). A stale
// link of that name is replaced; a file that is not a link is never touched. The link goes when
// this object does, if it still points to the device.
class DeviceLink
{
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Makes the link path -> target; returns an error text, empty on success.
    QString make(const QString &path, const QString &target);

private:
    QString m_path;
    QString m_target;
};

}  // namespace lumaro::sim
