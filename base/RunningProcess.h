#pragma once
// Whether a process another run of the program left its name on (a lock
// file, a match in the log) is still running: on this machine, by its
// process id. One on another machine, or whose id is not a number, cannot
// be asked and is taken to be running.
#include <QString>

bool ProcessIsRunning(const QString& host, qint64 pid);
// This process as those names give it: the machine's name and the id.
QString ThisHost();
qint64 ThisProcess();
