#include "maintenancestore.h"

#include "dates.h"
#include "db.h"
#include "schema.h"
#include "transactionscope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>
#include <QUuid>

#include <filesystem>
#include <system_error>

namespace {

// True when a connection of this program has `file` open.
bool openHere(const QString &file)
{
    const QString path = QFileInfo(file).canonicalFilePath();
    if (path.isEmpty())
        return false;
    const QStringList names = QSqlDatabase::connectionNames();
    for (const QString &name : names) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && QFileInfo(db.databaseName()).canonicalFilePath() == path)
            return true;
    }
    return false;
}

// The files the engine keeps beside a database in write-ahead-log mode.
QStringList companions(const QString &file)
{
    return {file + QStringLiteral("-wal"), file + QStringLiteral("-shm")};
}

// A private read-only connection on a file, removed again when the scope ends.
class OwnConnection
{
public:
    explicit OwnConnection(const QString &file)
        : m_name(QStringLiteral("merrow-maintenance-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        // Even a read-only reader of a file in write-ahead-log mode makes a log and a
        // shared-memory file beside it and cannot remove them again. A file nobody has open
        // and without a log (a backup, a file chosen for restore) is read as immutable, which
        // writes nothing there; a live file or one with a log left over is read through the
        // log, whose files are there already.
        const QString absolute = QFileInfo(file).absoluteFilePath();
        if (openHere(absolute) || QFileInfo::exists(companions(absolute).first())) {
            db.setDatabaseName(absolute);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        } else {
            db.setDatabaseName(QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded)
                               + QStringLiteral("?immutable=1"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        }
        if (!QFileInfo(file).isFile())
            m_error = QStringLiteral("%1 does not exist").arg(file);
        else if (!db.open())
            m_error = DbError::describe(db.lastError());
    }
    ~OwnConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    const QString &error() const { return m_error; }

private:
    QString m_name;
    QString m_error;
};

void requireSound(const QSqlDatabase &db)
{
    const QString verdict = Db::scalar(db, QStringLiteral("pragma quick_check")).toString();
    if (verdict != QLatin1String("ok"))
        throw DbError(verdict.isEmpty() ? QStringLiteral("quick_check gave no answer") : verdict);
}

// Replaces `target` by `from` in one step, as far as the file system allows.
void replaceFile(const QString &from, const QString &target)
{
    // A log left beside the old file would be replayed into the new one and corrupt it. A file
    // still open here has a live log: it must be closed first (a restore closes it, which also
    // writes its log back and removes it).
    if (openHere(target))
        throw DbError(QStringLiteral("%1 is open; it cannot be replaced").arg(target));
    for (const QString &stale : companions(target)) {
        if (QFileInfo::exists(stale) && !QFile::remove(stale))
            throw DbError(QStringLiteral("cannot remove %1").arg(stale));
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), ec);
    if (ec)
        throw DbError(QStringLiteral("cannot replace %1: %2")
                              .arg(target, QString::fromLocal8Bit(ec.message())));
}

const char16_t *const HistoryTables[] = {u"dinggou", u"收款记录", u"维修记录", u"帐款明细"};

} // namespace

MaintenanceStore::MaintenanceStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

void MaintenanceStore::backupTo(const QString &target) const
{
    copyDatabase(m_db.databaseName(), target);
}

void MaintenanceStore::copyDatabase(const QString &source, const QString &target)
{
    const QString absoluteTarget = QFileInfo(target).absoluteFilePath();
    const QString temporary = absoluteTarget + QStringLiteral(".saving");
    // The engine refuses to write into an existing file; a leftover is from an earlier failure.
    QFile::remove(temporary);
    try {
        {
            OwnConnection from(source);
            if (!from.error().isEmpty())
                throw DbError(from.error());
            Db::exec(from.db(), QStringLiteral("vacuum into ?"), {temporary});
        }
        {
            OwnConnection copy(temporary);
            if (!copy.error().isEmpty())
                throw DbError(copy.error());
            requireSound(copy.db());
        }
        if (!QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner))
            throw DbError(QStringLiteral("cannot set the permissions of %1").arg(temporary));
        replaceFile(temporary, absoluteTarget);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

QString MaintenanceStore::checkCandidate(const QString &file)
{
    OwnConnection candidate(file);
    if (!candidate.error().isEmpty())
        return candidate.error();
    try {
        // A file that is no database at all fails here already.
        requireSound(candidate.db());
        const QStringList missing = Schema::missingParts(candidate.db());
        if (!missing.isEmpty())
            return QStringLiteral("missing: ") + missing.join(QStringLiteral(", "));
    } catch (const DbError &e) {
        return e.text();
    }
    return {};
}

void MaintenanceStore::purgeBefore(const QDate &firstKept) const
{
    TransactionScope tx(m_db);
    for (const char16_t *table : HistoryTables)
        Db::exec(m_db,
                 QStringLiteral("delete from %1 where 日期 < ?").arg(QString::fromUtf16(table)),
                 {Dates::toText(firstKept)});
    tx.commit();
}

void MaintenanceStore::initialise() const
{
    Schema::writeInitialContents(m_db);
}
