#include "ctestadressing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace lumaro {

namespace {
QString translated(const char *source)
{
    return QCoreApplication::translate("CTestAdressing", source);
}
}  // namespace

CTestAdressing::CTestAdressing(DeviceContext &context, const CurrentTarget &target,
                               const QString &nodeName, QWidget *parent)
    : QDialog(parent), m_logic(context, target)
{
    setWindowTitle(m_logic.title(nodeName));

    auto *text = new QLabel(m_logic.explanation(), this);
    text->setWordWrap(true);
    text->setObjectName(QStringLiteral("explanation"));

    m_interval = new QComboBox(this);
    m_interval->setObjectName(QStringLiteral("interval"));
    m_interval->addItems(AddressingTest::intervalTexts());
    m_interval->setCurrentIndex(m_logic.intervalIndex());
    connect(m_interval, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_logic.setIntervalIndex(index); });

    m_offMax = new QCheckBox(translated(QT_TRANSLATE_NOOP("CTestAdressing", "OFF + Max level")), this);
    m_offMax->setObjectName(QStringLiteral("offMax"));
    m_minMax = new QCheckBox(translated(QT_TRANSLATE_NOOP("CTestAdressing", "Min level + Max level")), this);
    m_minMax->setObjectName(QStringLiteral("minMax"));
    connect(m_offMax, &QCheckBox::toggled, this,
            [this](bool on) { boxToggled(AddressingTest::Mode::OffMax, on); });
    connect(m_minMax, &QCheckBox::toggled, this,
            [this](bool on) { boxToggled(AddressingTest::Mode::MinMax, on); });

    auto *modes = new QGroupBox(translated(QT_TRANSLATE_NOOP("CTestAdressing", "Action mode:")), this);
    auto *modeLayout = new QVBoxLayout(modes);
    modeLayout->addWidget(m_offMax);
    modeLayout->addWidget(m_minMax);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Recall Max level")) * 2);

    auto *form = new QFormLayout;
    form->addRow(translated(QT_TRANSLATE_NOOP("CTestAdressing", "Interval [S]")), m_interval);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(modes);
    layout->addWidget(m_status);
    setMinimumWidth(420);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, &m_logic, &AddressingTest::intervalTick);
    connect(&m_logic, &AddressingTest::runningChanged, this, [this](bool running) {
        m_interval->setEnabled(!running);
        if (running)
            m_timer->start(m_logic.intervalMs());
        else
            m_timer->stop();
    });
    connect(&m_logic, &AddressingTest::statusTextChanged, m_status, &QLabel::setText);
    m_logic.open();
}

CTestAdressing::~CTestAdressing()
{
    m_logic.close();
}

bool CTestAdressing::isTimerRunning() const
{
    return m_timer->isActive();
}

void CTestAdressing::boxToggled(AddressingTest::Mode mode, bool checked)
{
    if (checked) {
        // The two boxes exclude each other; unchecking the other one must not stop the new mode.
        QCheckBox *other = mode == AddressingTest::Mode::OffMax ? m_minMax : m_offMax;
        const QSignalBlocker block(other);
        other->setChecked(false);
    }
    m_logic.setMode(mode, checked);
}

void CTestAdressing::done(int result)
{
    m_logic.close();
    QDialog::done(result);
}

}  // namespace lumaro
