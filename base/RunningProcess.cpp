#include "base/RunningProcess.h"

#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

bool ProcessIsRunning(const QString& host, qint64 pid)
{
    if (host != ThisHost() || pid <= 0)
        return true;
    // Signal 0 only asks whether the process is there.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QString ThisHost()
{
    return QSysInfo::machineHostName();
}

qint64 ThisProcess()
{
    return qint64(::getpid());
}
