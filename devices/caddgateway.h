#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace lumaro {

class AddGateway;
struct DeviceContext;

// The gateway dialog: adds a gateway found on the line, or edits the name and location of one
// in the project. Modal; the logic (AddGateway) registers with the link and disables the
// background status poll for as long as the dialog exists.
class CAddGateway final : public QDialog
{
    Q_OBJECT
public:
    // Opens in add mode.
    explicit CAddGateway(DeviceContext &context, QWidget *parent = nullptr);
    ~CAddGateway() override;

    // Edit mode for gateway n (the selected tree node's key M<n>).
    void openForEdit(int gateway);

    AddGateway &logic() { return *m_logic; }

signals:
    // A gateway was put into the project: rebuild the device tree and refill the gateway list.
    void gatewayAdded(int gateway);
    // Name or location changed: relabel the gateway's tree node.
    void gatewayEdited(int gateway, const QString &name);

private:
    void showState();
    void press();

    AddGateway *m_logic;
    QCheckBox *m_extension;
    QComboBox *m_id;
    QLineEdit *m_name;
    QComboBox *m_connect;
    QLineEdit *m_ip;
    QSpinBox *m_port;
    QLineEdit *m_location;
    QPushButton *m_button;
    QTimer *m_timer;
};

}  // namespace lumaro
