#pragma once

#include "portsetting.h"

#include <QDialog>
#include <QTimer>

class QComboBox;
class QLabel;
class QPushButton;

namespace lumaro {

// The port setting dialog, "Port setting": the port and line lists, the prompt with its
// countdown, the connecting status and the "Open Port" and "Close Port" buttons. It owns its
// logic (PortSetting), shows its state and forwards the user's actions; a one-second timer drives
// the countdown and a 10 ms timer the steps of the automatic search. It closes (accepted) when
// the logic is done. Run it modal; the link's tick must run while it is open.
class CPortSetting final : public QDialog
{
    Q_OBJECT
public:
    explicit CPortSetting(const PortSetting::Context &context, QWidget *parent = nullptr);

    PortSetting &logic() { return m_logic; }

private:
    void refresh();

    PortSetting m_logic;
    QLabel *m_prompt = nullptr;
    QComboBox *m_port = nullptr;
    QComboBox *m_baud = nullptr;
    QComboBox *m_parity = nullptr;
    QComboBox *m_stopBit = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_close = nullptr;
    QTimer m_countdownTimer;
    QTimer m_searchTimer;
};

}  // namespace lumaro
