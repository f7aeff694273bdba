#pragma once

#include "linesettings.h"
#include "portlist.h"
#include "requester.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace lumaro {

class GatewayLink;
class LogSink;
class ProjectStore;
class Prompter;
class SerialLine;

// The logic of the port setting dialog (CPortSetting): the four lists preselected from section
// B0, the buttons enabled by the line's state, the ten-second countdown of the first opening in
// a run, confirming the choice, and the automatic search of the ports for the line on which
// gateway 1 answers. While it exists it is requester 364 of the link.
//
// Driven time: secondTick() once a second runs the countdown, searchTick() every 10 ms runs a
// due step of the search (searchStepScheduled() says one is due). The dialog wires QTimers to
// them; tests call them with the link's tick.
class PortSetting : public QObject, public Requester
{
    Q_OBJECT
public:
    static constexpr int kCountdownSeconds = 10;
    // The search reads gateway 1's model and firmware version, tagged with the register's item.
    static constexpr int kModelVersionTag = 0xF8;
    static constexpr uint8_t kSearchedGateway = 1;

    // What outlives the dialog for the whole run; the main window keeps one.
    struct Session {
        bool dialogShown = false;   // the countdown runs only at the first opening
    };

    struct Context {
        SerialLine &line;
        GatewayLink &link;
        ProjectStore &store;
        LogSink &log;
        Prompter &prompter;
        Session &session;
        int answerWaitMs = 1500;    // COMTIMEOUT
    };

    enum class Search {
        Idle,
        StepDue,   // the next port is tried at the next searchTick()
        Asking,    // a port is open and gateway 1 has been asked
    };

    // Takes the port list of the line as it is now; the dialog shows this list until it closes.
    explicit PortSetting(const Context &context, QObject *parent = nullptr);
    ~PortSetting() override;

    QStringList portTexts() const { return m_ports.texts(); }
    static QStringList baudTexts();
    static QStringList parityTexts();
    static QStringList stopBitTexts();

    int portIndex() const { return m_portIndex; }
    int baudIndex() const { return m_baudIndex; }
    int parityIndex() const { return m_parityIndex; }
    int stopBitIndex() const { return m_stopBitIndex; }

    QString promptText() const;
    QString statusText() const { return m_statusText; }
    bool isCountdownRunning() const { return m_secondsLeft > 0; }
    int secondsLeft() const { return m_secondsLeft; }
    Search search() const { return m_search; }

    // "Open Port" and the port list only while the line is closed and no search runs, "Close
    // Port" only while the line is open.
    bool isOpenEnabled() const;
    bool isPortListEnabled() const { return isOpenEnabled(); }
    bool isCloseEnabled() const;

    // The user's choices; each stops the countdown. An index outside its list is ignored, and so
    // is a port chosen while the port list is locked.
    void choosePort(int index);
    void chooseBaud(int index);
    void chooseParity(int index);
    void chooseStopBit(int index);

    // "Open Port" (and Enter, and the end of the countdown).
    void confirm();
    // "Close Port"; ends a search that runs.
    void closePort();

    void secondTick();
    void searchTick();

    void onAnswer(int tag, const Frame &answer) override;
    void onTimeout(int tag) override;

signals:
    // Something the dialog shows has changed.
    void changed();
    // The dialog closes.
    void finished();
    // Gateway 1 answered and section M1 of db.ctt is up to date: the application rebuilds the
    // project data and the device tree, refreshes the gateway list and notes that gateway 1
    // answered.
    void gatewayOneFound();
    // A search step is due at the next searchTick(), 10 ms from now.
    void searchStepScheduled();

private:
    LineSettings chosenSettings() const;
    void storeChoice();
    void stopCountdown();
    void setStatusText(const QString &text);
    void startSearch(const LineSettings &settings);
    void runSearchStep();
    void tryNextPort();
    void endSearch();
    void failOutsideSearch(const QString &logText, const QString &message);
    void storeGatewayOne(uint8_t model, uint8_t version);
    void onLineClosed();

    Context m_context;
    PortList m_ports;
    int m_portIndex = PortList::kAuto;
    int m_baudIndex = LineSettings::kDefaultBaudIndex;
    int m_parityIndex = LineSettings::kDefaultParityIndex;
    int m_stopBitIndex = LineSettings::kDefaultStopBitIndex;
    int m_secondsLeft = 0;
    QString m_statusText;

    Search m_search = Search::Idle;
    QStringList m_searchList;
    qsizetype m_nextPort = 0;
    LineSettings m_searchSettings;
};

}  // namespace lumaro
