#include "scriptedprompter.h"

ScriptedPrompter::Answer ScriptedPrompter::ask(Icon icon, Buttons buttons, const QString &text)
{
    m_shown.append({icon, buttons, text});
    if (!m_script.isEmpty())
        return m_script.takeFirst();
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel: return Answer::Ok;
    case Buttons::YesNo: return Answer::Yes;
    }
    return Answer::Ok;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList t;
    for (const Shown &s : m_shown)
        t.append(s.text);
    return t;
}
