#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString &folder()
{
    static QString path;
    return path;
}
} // namespace

void ProgramFolder::initFromArguments(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--data-dir") && i + 1 < arguments.size()) {
            set(arguments[i + 1]);
            return;
        }
        if (arg.startsWith(QLatin1String("--data-dir="))) {
            set(arg.mid(11));
            return;
        }
    }
    set(QCoreApplication::applicationDirPath());
}

void ProgramFolder::set(const QString &path)
{
    folder() = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString ProgramFolder::path()
{
    if (folder().isEmpty() && QCoreApplication::instance())
        set(QCoreApplication::applicationDirPath());
    return folder();
}

QString ProgramFolder::file(const QString &relative)
{
    return path() + u'/' + relative;
}
