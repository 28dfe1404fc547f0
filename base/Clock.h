#pragma once
// The program's clock: the system's, unless a test fixes the moment it reads.
#include <QDateTime>

class Clock {
public:
    QDateTime now() const { return fixed_.isValid() ? fixed_ : QDateTime::currentDateTime(); }
    void fixAt(const QDateTime& moment) { fixed_ = moment; }

private:
    QDateTime fixed_;
};
