#include "schema.h"

#include "db.h"
#include "transactionscope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QUuid>

namespace Schema {

QStringList statements()
{
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DbError(QStringLiteral("schema.sql is missing from the resources"));
    QStringList result;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("--")))
            continue;
        if (t == QLatin1String(";")) {
            if (!current.trimmed().isEmpty())
                result.append(current.trimmed());
            current.clear();
            continue;
        }
        current += line + u'\n';
    }
    if (!current.trimmed().isEmpty())
        result.append(current.trimmed());
    return result;
}

void create(const QSqlDatabase &db)
{
    TransactionScope tx(db);
    for (const QString &sql : statements())
        Db::exec(db, sql);
    tx.commit();
}

void writeInitialContents(const QSqlDatabase &db)
{
    TransactionScope tx(db);
    for (const char16_t *table : {u"dinggou", u"客户信息", u"收款记录", u"维修记录", u"帐款明细",
                                  u"维修项目", u"操作员", u"乡镇"})
        Db::exec(db, QStringLiteral("delete from ") + QString::fromUtf16(table));
    for (const char16_t *item : {u"主机", u"键盘", u"显示器", u"鼠标", u"系统", u"其他"})
        Db::exec(db, QStringLiteral("insert into 维修项目 (维修项目) values (?)"),
                 {QString::fromUtf16(item)});
    QStringList flagColumns, marks;
    QVariantList values {QStringLiteral("0001"), QStringLiteral("系统管理员")};
    for (int flag = 1; flag <= 17; ++flag) {
        flagColumns << u'"' + QString::number(flag) + u'"';
        marks << QStringLiteral("?");
        values << 1;
    }
    Db::exec(db,
             QStringLiteral("insert into 操作员 (操作员, 姓名, %1) values (?, ?, %2)")
                     .arg(flagColumns.join(u", "), marks.join(u", ")),
             values);
    tx.commit();
}

QList<QPair<QString, QStringList>> expectedTables()
{
    static const QList<QPair<QString, QStringList>> tables = [] {
        QList<QPair<QString, QStringList>> result;
        static const QRegularExpression table(QStringLiteral(R"(^CREATE TABLE (\S+) \((.*)\)$)"),
                                              QRegularExpression::DotMatchesEverythingOption);
        for (const QString &sql : statements()) {
            const auto m = table.match(sql);
            if (!m.hasMatch())
                continue;
            QStringList columns;
            for (const QString &line : m.captured(2).split(u'\n')) {
                QString name = line.trimmed().section(u' ', 0, 0);
                if (name.isEmpty())
                    continue;
                name.remove(u'"');
                columns << name;
            }
            result.append({m.captured(1), columns});
        }
        return result;
    }();
    return tables;
}

QStringList missingParts(const QSqlDatabase &db)
{
    QStringList missing;
    const QStringList present = db.tables();
    for (const auto &[table, columns] : expectedTables()) {
        if (!present.contains(table)) {
            missing << table;
            continue;
        }
        const QSqlRecord record = db.record(table);
        for (const QString &column : columns) {
            if (record.indexOf(column) < 0)
                missing << table + u'.' + column;
        }
    }
    return missing;
}

QString createDatabaseFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return QStringLiteral("%1 already exists; it is left as it is").arg(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);

    // Written under a temporary name and renamed, so a failure leaves no half-made file.
    const QString temporary = path + QStringLiteral(".creating");
    QFile::remove(temporary);
    QString failure;
    const QString connection = QStringLiteral("merrow-create-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temporary);
        if (!db.open()) {
            failure = DbError::describe(db.lastError());
        } else {
            try {
                create(db);
                writeInitialContents(db);
            } catch (const DbError &e) {
                failure = e.text();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (failure.isEmpty()) {
        QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
        if (!QFile::rename(temporary, path))
            failure = QStringLiteral("cannot rename %1 to %2").arg(temporary, path);
    }
    if (!failure.isEmpty())
        QFile::remove(temporary);
    return failure;
}

} // namespace Schema
