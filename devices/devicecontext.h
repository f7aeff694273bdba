#pragma once

namespace lumaro {

class Clock;
class GatewayLink;
class LogSink;
class ProjectData;
class ProjectStore;
class Prompter;
class StatusPoll;
struct SoftwareSettings;

// What the device windows work with, all owned by the main window's core and outliving them.
struct DeviceContext {
    GatewayLink &link;
    ProjectStore &store;
    ProjectData &data;
    LogSink &log;
    Prompter &prompter;
    const SoftwareSettings &settings;
    StatusPoll &poll;
    const Clock &clock;
};

}  // namespace lumaro
