#pragma once

#include <QSqlError>
#include <QString>

#include <stdexcept>

class QSqlQuery;

// The one error type of the data layer: carries the engine's own text.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    { }
    explicit DbError(const QSqlError &error)
        : DbError(describe(error))
    { }

    const QString &text() const { return m_text; }

    static QString describe(const QSqlError &error)
    {
        QString text = error.databaseText();
        if (text.isEmpty())
            text = error.text();
        return text.isEmpty() ? QStringLiteral("未知的数据库错误") : text;
    }

private:
    QString m_text;
};
