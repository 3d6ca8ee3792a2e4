#include "maintenancestore.h"

#include "dates.h"
#include "db.h"
#include "schema.h"
#include "transactionscope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

#include <filesystem>
#include <system_error>

namespace {

// A private read-only connection on a file, removed again when the scope ends.
class OwnConnection
{
public:
    explicit OwnConnection(const QString &file)
        : m_name(QStringLiteral("merrow-maintenance-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
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
