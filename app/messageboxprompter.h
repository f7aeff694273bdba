#pragma once

#include "prompter.h"

class QWidget;

namespace lumaro {

// The prompter of the program: modal message boxes over the main window.
class MessageBoxPrompter final : public Prompter
{
public:
    void setParent(QWidget *parent) { m_parent = parent; }
    Answer ask(Icon icon, Buttons buttons, const QString &text) override;

private:
    QWidget *m_parent = nullptr;
};

}  // namespace lumaro
