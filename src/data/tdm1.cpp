#include "tdm1.h"

#include "db.h"
#include "resultset.h"
#include "schema.h"
#include "schemaupgrade.h"

#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace {
TDM1 *g_instance = nullptr;
}

TDM1 *DM1()
{
    return g_instance;
}

TDM1::TDM1(QObject *parent)
    : QObject(parent)
    , m_connectionName(QStringLiteral("ADOConnection1-") + QUuid::createUuid().toString())
{
    setObjectName(QStringLiteral("DM1"));
    g_instance = this;
    // A restore reopens the file: whatever the grids read before is stale.
    connect(this, &TDM1::reopened, this, &TDM1::rebindResultSets);
}

ResultSet *TDM1::ADOQuery(int n)
{
    if (n < 3 || n > 18)
        return nullptr;
    ResultSet *&slot = m_queries[std::size_t(n - 3)];
    if (!slot)
        slot = new ResultSet(QStringLiteral("ADOQuery%1").arg(n), ADOConnection1(), this);
    return slot;
}

void TDM1::rebindResultSets()
{
    for (ResultSet *query : m_queries) {
        if (query)
            query->setDatabase(ADOConnection1());
    }
}

TDM1::~TDM1()
{
    close();
    // The result sets hold the connection; they go before it is removed.
    for (ResultSet *&query : m_queries) {
        delete query;
        query = nullptr;
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    if (g_instance == this)
        g_instance = nullptr;
}

TDM1::OpenResult TDM1::open(const QString &file, QString *detail)
{
    close();
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile()) {
        if (detail)
            *detail = QStringLiteral("%1 does not exist").arg(file);
        return OpenResult::Missing;
    }

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
            ? QSqlDatabase::database(m_connectionName, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(info.absoluteFilePath());
    // The engine must never make an empty file in place of a missing one.
    db.setConnectOptions(info.isWritable() ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000")
                                           : QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        if (detail)
            *detail = DbError::describe(db.lastError());
        return OpenResult::Failed;
    }

    QStringList missing;
    try {
        // Reading the schema fails on a file that is not an SQLite database at all.
        Db::exec(db, QStringLiteral("select count(*) from sqlite_master"));
        missing = Schema::missingParts(db);
    } catch (const DbError &e) {
        missing << e.text();
    }
    if (!missing.isEmpty()) {
        db.close();
        if (detail)
            *detail = missing.join(QStringLiteral(", "));
        return OpenResult::NotMerrow;
    }
    if (info.isWritable()) {
        try {
            // A commit appends to the write-ahead log and syncs that one file, instead of the
            // several syncs of a rollback journal; synchronous=full keeps every commit durable
            // through a power loss.
            try {
                Db::exec(db, QStringLiteral("pragma journal_mode = wal"));
            } catch (const DbError &) {
                // Another program holds the file: it works on in its old journal mode, as it
                // also does on a file system without shared memory.
            }
            Db::exec(db, QStringLiteral("pragma synchronous = full"));
            // A file made by an older version gets the customer search indexes and newer indexes.
            SchemaUpgrade::apply(db);
        } catch (const DbError &e) {
            db.close();
            if (detail)
                *detail = e.text();
            return OpenResult::Failed;
        }
    }
    m_file = info.absoluteFilePath();
    rebindResultSets();
    for (int n = 3; n <= 18; ++n)
        ADOQuery(n);
    if (!info.isWritable()) {
        if (detail)
            *detail = QStringLiteral("%1 is read-only").arg(file);
        return OpenResult::ReadOnly;
    }
    return OpenResult::Ok;
}

void TDM1::close()
{
    for (ResultSet *query : m_queries) {
        if (query)
            query->close();
    }
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    m_file.clear();
}

bool TDM1::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName)
            && QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase TDM1::ADOConnection1() const
{
    return QSqlDatabase::database(m_connectionName, false);
}
