#pragma once
// How the core speaks to the operator: a message box with an OK button, and
// a yes/no question. The windows show real boxes; the driver lists them.
#include <QString>

class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void message(const QString& text, const QString& title) = 0;
    virtual bool question(const QString& text, const QString& title) = 0;
};
