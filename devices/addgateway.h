#pragma once

#include "requester.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace lumaro {

struct DeviceContext;

// What the gateway dialog does, without its widgets: in add mode it lists the free addresses,
// presets the name, searches the chosen address on the line and puts the gateway into the project
// only when it answers with a model that an RS485 extension gateway may have; in edit mode it
// changes the name and location of a gateway that is there. Requester 220 of the link while it
// is open, and the background status poll is disabled for as long. The dialog calls tick() every
// 100 ms for the one delayed message.
class AddGateway final : public QObject, public Requester
{
    Q_OBJECT
public:
    enum class Mode { Add, Edit };
    enum class State { Idle, Searching, Closed };

    static constexpr int kSearchTag = 0xF8;
    static constexpr int kDefaultPort = 502;
    static constexpr int kTickMs = 100;
    static constexpr int kDeviceTypeMessageMs = 200;

    // Opens in add mode; openForEdit() turns it into the edit dialog of one gateway.
    explicit AddGateway(DeviceContext &context, QObject *parent = nullptr);
    ~AddGateway() override;

    // Edit mode for the gateway of section "M<gateway>", the key of the selected tree node.
    void openForEdit(int gateway);

    Mode mode() const { return m_mode; }
    State state() const { return m_state; }
    QString title() const;
    QString buttonText() const;
    bool isButtonEnabled() const { return m_buttonEnabled; }

    // The "Gateway ID:" and "Connect to:" lists (M1..M16).
    const QStringList &idList() const { return m_ids; }
    const QStringList &connectList() const { return m_connect; }
    QString selectedId() const { return m_selectedId; }
    // Selecting another address in add mode presets the name again.
    void selectId(const QString &id);

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString location() const { return m_location; }
    void setLocation(const QString &location) { m_location = location; }
    int port() const { return m_port; }
    // The dialog only adds RS485 extension gateways; the controls for others stay disabled.
    bool isExtension() const { return true; }

    // The "Add" or "Edit" button.
    void press();
    void tick();

    void onAnswer(int tag, const Frame &answer) override;
    void onTimeout(int tag) override;

    // "M3" -> 3; 0 when the text names no gateway.
    static int gatewayOfId(const QString &id);

signals:
    // A gateway was put into the project: rebuild the tree and refresh the gateway list.
    void gatewayAdded(int gateway);
    // Name or location changed: relabel the gateway's tree node.
    void gatewayEdited(int gateway, const QString &name);
    // The button's state changed (a search ended).
    void changed();
    // The dialog is done and closes.
    void finished();

private:
    void close();
    // Gives the link and the status poll back; an answer after it is dropped by the link.
    void release();
    void logResult(const QString &text);
    bool nameMissing();

    DeviceContext &m_ctx;
    Mode m_mode = Mode::Add;
    State m_state = State::Idle;
    bool m_buttonEnabled = true;
    QStringList m_ids;
    QStringList m_connect;
    QString m_selectedId;
    QString m_name;
    QString m_location;
    int m_port = kDefaultPort;
    int m_searched = 0;
    int m_messageCountdownMs = 0;
    bool m_released = false;   // the device type message waits this long
};

}  // namespace lumaro
