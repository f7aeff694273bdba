#pragma once

#include "addressingtest.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

namespace lumaro {

struct DeviceContext;

// The addressing test dialog: blinks the current target so that the installer can find it. It
// has no buttons; it is closed with the window's close box. The logic is AddressingTest.
class CTestAdressing final : public QDialog
{
    Q_OBJECT
public:
    CTestAdressing(DeviceContext &context, const CurrentTarget &target, const QString &nodeName,
                   QWidget *parent = nullptr);
    ~CTestAdressing() override;

    AddressingTest &logic() { return m_logic; }
    QCheckBox *offMaxBox() const { return m_offMax; }
    QCheckBox *minMaxBox() const { return m_minMax; }
    QComboBox *intervalList() const { return m_interval; }
    QLabel *statusLabel() const { return m_status; }
    bool isTimerRunning() const;

protected:
    void done(int result) override;

private:
    void boxToggled(AddressingTest::Mode mode, bool checked);

    AddressingTest m_logic;
    QComboBox *m_interval = nullptr;
    QCheckBox *m_offMax = nullptr;
    QCheckBox *m_minMax = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_timer = nullptr;
};

}  // namespace lumaro
