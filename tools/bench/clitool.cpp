#include "clitool.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>

#include <algorithm>

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

namespace {
QString writeScript(QTemporaryFile &file, const QStringList &script)
{
    file.open();
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    for (QString line : script) {
        line = line.trimmed();
        if (!line.startsWith(u'.') && !line.endsWith(u';'))
            line += u';';
        out << line << '\n';
    }
    out.flush();
    file.close();
    return file.fileName();
}
} // namespace

CliTool::CliTool(QString databaseFile)
    : m_file(std::move(databaseFile))
{
    m_available = !QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty();
    if (!m_available)
        return;
    QTemporaryFile empty;
    const QString name = writeScript(empty, {QStringLiteral("select 1")});
    QList<double> times;
    for (int i = 0; i < 7; ++i)
        times << runOnce(name);
    m_startup = median(times);
}

double CliTool::runOnce(const QString &scriptFile)
{
    QProcess process;
    process.setStandardInputFile(scriptFile);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral("sqlite3"),
                  {QStringLiteral("-batch"), QStringLiteral("-bail"), m_file});
    process.waitForFinished(-1);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return -1;
    }
    return ms;
}

double CliTool::time(const QStringList &script, int runs, const std::function<void()> &between)
{
    if (!m_available)
        return -1;
    QTemporaryFile file;
    const QString name = writeScript(file, script);
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = runOnce(name);
        if (between)
            between();
        if (ms < 0)
            return -1;
        times << ms;
    }
    return std::max(0.0, median(times) - m_startup);
}
