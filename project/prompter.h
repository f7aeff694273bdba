#pragma once

#include <QString>

namespace lumaro {

// Questions and messages to the user. Logic asks through this interface; the application
// implements it with message boxes, tests answer from a script and record what was shown.
class Prompter
{
public:
    enum class Icon { Information, Warning, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;
    virtual Answer ask(Icon icon, Buttons buttons, const QString &text) = 0;

    void inform(const QString &text) { ask(Icon::Information, Buttons::Ok, text); }
    void warn(const QString &text) { ask(Icon::Warning, Buttons::Ok, text); }
    bool confirm(const QString &text) { return ask(Icon::Question, Buttons::YesNo, text) == Answer::Yes; }
};

}  // namespace lumaro
