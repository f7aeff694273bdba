#include "messageboxprompter.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace lumaro {

Prompter::Answer MessageBoxPrompter::ask(Icon icon, Buttons buttons, const QString &text)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(QCoreApplication::translate("CMainFrame", "Lumaro"));
    // Texts of the log carry their line end; a message box shows them without it.
    box.setText(QString(text).remove(QLatin1Char('\r')).trimmed());
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

}  // namespace lumaro
