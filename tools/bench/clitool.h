#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Times the sqlite3 command-line tool running a script on a database file: the wall time of
// the process minus the same tool's start-up, measured with an empty statement in the same run.
class CliTool
{
public:
    explicit CliTool(QString databaseFile);

    bool available() const { return m_available; }
    // Median milliseconds over `runs` runs of the script (dot commands and statements, one
    // per line), start-up subtracted; negative when the tool failed. `between` runs after
    // each run (to undo what a writing script did).
    double time(const QStringList &script, int runs, const std::function<void()> &between = {});
    double startupMs() const { return m_startup; }
    const QString &lastError() const { return m_error; }

private:
    double runOnce(const QString &scriptFile);

    QString m_file;
    bool m_available = false;
    double m_startup = 0;
    QString m_error;
};

// Median of a list of timings.
double median(QList<double> values);
