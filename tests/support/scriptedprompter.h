#pragma once

#include "prompter.h"

#include <QList>
#include <QString>

// Answers the questions of the logic from a script and records every text that was shown.
// Without a scripted answer it gives the first button's answer (Ok or Yes).
class ScriptedPrompter final : public lumaro::Prompter
{
public:
    struct Shown {
        Icon icon;
        Buttons buttons;
        QString text;
    };

    Answer ask(Icon icon, Buttons buttons, const QString &text) override;
    void script(Answer a) { m_script.append(a); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;

private:
    QList<Answer> m_script;
    QList<Shown> m_shown;
};
