#include "cportsetting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumaro {

namespace {

constexpr int kCountdownTickMs = 1000;
constexpr int kSearchStepMs = 10;

QComboBox *comboBox(const QStringList &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->addItems(items);
    // Device paths of pseudo-terminals are long; the list grows to show them whole.
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

}  // namespace

CPortSetting::CPortSetting(const PortSetting::Context &context, QWidget *parent)
    : QDialog(parent), m_logic(context)
{
    setWindowTitle(QCoreApplication::translate("CPortSetting", "Port setting"));

    m_prompt = new QLabel(this);
    m_port = comboBox(m_logic.portTexts(), this);
    m_baud = comboBox(PortSetting::baudTexts(), this);
    m_parity = comboBox(PortSetting::parityTexts(), this);
    m_stopBit = comboBox(PortSetting::stopBitTexts(), this);
    m_status = new QLabel(this);
    m_open = new QPushButton(QCoreApplication::translate("CPortSetting", "Open Port"), this);
    m_close = new QPushButton(QCoreApplication::translate("CPortSetting", "Close Port"), this);
    m_port->setObjectName(QStringLiteral("port"));
    m_open->setObjectName(QStringLiteral("openPort"));
    m_close->setObjectName(QStringLiteral("closePort"));
    m_open->setDefault(true);
    m_close->setAutoDefault(false);

    auto *lists = new QFormLayout;
    lists->addRow(QCoreApplication::translate("CPortSetting", "Port:"), m_port);
    lists->addRow(QCoreApplication::translate("CPortSetting", "Baud rate:"), m_baud);
    lists->addRow(QCoreApplication::translate("CPortSetting", "Parity:"), m_parity);
    lists->addRow(QCoreApplication::translate("CPortSetting", "Stop Bit:"), m_stopBit);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_open);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addLayout(lists);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // `activated` comes from the user only; the preselection does not stop the countdown.
    connect(m_port, &QComboBox::activated, &m_logic, &PortSetting::choosePort);
    connect(m_baud, &QComboBox::activated, &m_logic, &PortSetting::chooseBaud);
    connect(m_parity, &QComboBox::activated, &m_logic, &PortSetting::chooseParity);
    connect(m_stopBit, &QComboBox::activated, &m_logic, &PortSetting::chooseStopBit);
    connect(m_open, &QPushButton::clicked, &m_logic, &PortSetting::confirm);
    connect(m_close, &QPushButton::clicked, &m_logic, &PortSetting::closePort);

    connect(&m_logic, &PortSetting::changed, this, &CPortSetting::refresh);
    connect(&m_logic, &PortSetting::finished, this, &QDialog::accept);

    m_countdownTimer.setInterval(kCountdownTickMs);
    connect(&m_countdownTimer, &QTimer::timeout, &m_logic, &PortSetting::secondTick);
    // Each search step starts 10 ms after the previous one ended.
    m_searchTimer.setSingleShot(true);
    m_searchTimer.setInterval(kSearchStepMs);
    connect(&m_logic, &PortSetting::searchStepScheduled, &m_searchTimer, qOverload<>(&QTimer::start));
    connect(&m_searchTimer, &QTimer::timeout, &m_logic, &PortSetting::searchTick);

    if (m_logic.isCountdownRunning())
        m_countdownTimer.start();
    refresh();
    // The prompt is widest with the countdown at 10; the dialog keeps that width while it counts.
    m_prompt->setMinimumWidth(m_prompt->sizeHint().width());
}

void CPortSetting::refresh()
{
    m_prompt->setText(m_logic.promptText());
    m_status->setText(m_logic.statusText());
    m_port->setCurrentIndex(m_logic.portIndex());
    m_baud->setCurrentIndex(m_logic.baudIndex());
    m_parity->setCurrentIndex(m_logic.parityIndex());
    m_stopBit->setCurrentIndex(m_logic.stopBitIndex());
    m_port->setEnabled(m_logic.isPortListEnabled());
    m_open->setEnabled(m_logic.isOpenEnabled());
    m_close->setEnabled(m_logic.isCloseEnabled());
    if (!m_logic.isCountdownRunning())
        m_countdownTimer.stop();
}

}  // namespace lumaro
