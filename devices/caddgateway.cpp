#include "caddgateway.h"

#include "addgateway.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace lumaro {

namespace {
constexpr int kMaxPort = 65535;
constexpr int kFieldWidth = 220;
}  // namespace

CAddGateway::CAddGateway(DeviceContext &context, QWidget *parent)
    : QDialog(parent),
      m_logic(new AddGateway(context, this)),
      m_extension(new QCheckBox(QCoreApplication::translate("CAddGateway", "Add RS485 extension interface DALI gateway"), this)),
      m_id(new QComboBox(this)),
      m_name(new QLineEdit(this)),
      m_connect(new QComboBox(this)),
      m_ip(new QLineEdit(this)),
      m_port(new QSpinBox(this)),
      m_location(new QLineEdit(this)),
      m_button(new QPushButton(this)),
      m_timer(new QTimer(this))
{
    setModal(true);
    m_extension->setObjectName(QStringLiteral("extension"));
    m_id->setObjectName(QStringLiteral("gatewayId"));
    m_name->setObjectName(QStringLiteral("name"));
    m_connect->setObjectName(QStringLiteral("connectTo"));
    m_ip->setObjectName(QStringLiteral("ip"));
    m_port->setObjectName(QStringLiteral("port"));
    m_location->setObjectName(QStringLiteral("location"));
    m_button->setObjectName(QStringLiteral("addButton"));

    auto *form = new QFormLayout;
    form->addRow(QCoreApplication::translate("CAddGateway", "Gateway ID:"), m_id);
    form->addRow(QCoreApplication::translate("CAddGateway", "Name:"), m_name);
    form->addRow(QCoreApplication::translate("CAddGateway", "Connect to:"), m_connect);
    form->addRow(QCoreApplication::translate("CAddGateway", "IP:"), m_ip);
    form->addRow(QCoreApplication::translate("CAddGateway", "Port:"), m_port);
    form->addRow(QCoreApplication::translate("CAddGateway", "Location:"), m_location);
    m_name->setMinimumWidth(kFieldWidth);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_extension);
    layout->addLayout(form);
    layout->addWidget(m_button, 0, Qt::AlignRight);

    // Only RS485 extension gateways are added here: their network controls stay disabled.
    m_extension->setChecked(m_logic->isExtension());
    m_extension->setEnabled(false);
    m_ip->setText(QStringLiteral("0.0.0.0"));
    m_ip->setEnabled(false);
    m_port->setRange(0, kMaxPort);
    m_port->setEnabled(false);
    m_connect->setEnabled(false);

    connect(m_id, &QComboBox::currentTextChanged, this, [this](const QString &id) {
        m_logic->selectId(id);
        m_name->setText(m_logic->name());
    });
    connect(m_name, &QLineEdit::textEdited, m_logic, &AddGateway::setName);
    connect(m_location, &QLineEdit::textEdited, m_logic, &AddGateway::setLocation);
    connect(m_button, &QPushButton::clicked, this, &CAddGateway::press);
    connect(m_logic, &AddGateway::gatewayAdded, this, &CAddGateway::gatewayAdded);
    connect(m_logic, &AddGateway::gatewayEdited, this, &CAddGateway::gatewayEdited);
    connect(m_logic, &AddGateway::finished, this, &QDialog::accept);
    connect(m_logic, &AddGateway::changed, this, [this] { m_button->setEnabled(m_logic->isButtonEnabled()); });
    connect(m_timer, &QTimer::timeout, m_logic, &AddGateway::tick);
    m_timer->start(AddGateway::kTickMs);
    showState();
}

CAddGateway::~CAddGateway() = default;

void CAddGateway::openForEdit(int gateway)
{
    m_logic->openForEdit(gateway);
    showState();
}

void CAddGateway::showState()
{
    setWindowTitle(m_logic->title());
    m_button->setText(m_logic->buttonText());
    {
        const QSignalBlocker block(m_id);
        m_id->clear();
        m_id->addItems(m_logic->idList());
        m_id->setCurrentText(m_logic->selectedId());
    }
    m_connect->clear();
    m_connect->addItems(m_logic->connectList());
    m_connect->setCurrentIndex(-1);
    m_name->setText(m_logic->name());
    m_location->setText(m_logic->location());
    m_port->setValue(m_logic->port());
    m_button->setEnabled(m_logic->isButtonEnabled());
}

void CAddGateway::press()
{
    m_logic->setName(m_name->text());
    m_logic->setLocation(m_location->text());
    m_logic->press();
    if (m_logic->state() != AddGateway::State::Closed)
        m_button->setEnabled(m_logic->isButtonEnabled());
}

}  // namespace lumaro
