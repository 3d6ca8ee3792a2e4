#include "singleinstance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString &lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath.isEmpty() ? defaultLockPath() : lockPath))
{
    // No age limit: a lock is stale only when the process that took it is gone.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return m_lock->tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    return QDir::temp().filePath(QString::fromLatin1(DefaultName) + QStringLiteral(".lock"));
}
