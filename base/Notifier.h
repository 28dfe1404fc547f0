#pragma once
// How the core speaks to the operator: a message box with an OK button, and
// a yes/no question. The windows show real boxes; the driver lists them.
#include <QString>

class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void message(const QString& text, const QString& title) = 0;
    virtual bool question(const QString& text, const QString& title) = 0;
    // A question whose two answers the program names; true for the first.
    // Where the operator cannot be asked that way, a yes/no question.
    virtual bool ask(const QString& text, const QString& title, const QString& first, const QString& second)
    {
        (void)first;
        (void)second;
        return question(text, title);
    }
};
