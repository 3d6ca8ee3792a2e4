#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Makes sure only one copy of the program runs. The lock is a file whose holder is checked
// by process id, so a copy that crashed does not keep later copies out.
class SingleInstance
{
public:
    static constexpr const char *DefaultName = "fenwickdiannaogongsikehuguanli";

    // `lockPath` empty: the program's lock file in the temporary folder.
    explicit SingleInstance(const QString &lockPath = {});
    ~SingleInstance();

    // True when this is the only copy; the lock is then held until this object goes.
    bool acquire();

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
