#include "settingsfile.h"

#include "programfolder.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

namespace {

constexpr const char *Encoding = "GB18030";

bool loadLines(const QString &path, QStringList &lines, QString &newline)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder decode(Encoding);
    QString text = decode.isValid() ? decode(bytes) : QString::fromLocal8Bit(bytes);
    newline = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return true;
}

bool isSection(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Splits "key=value"; false for comments and lines without '='.
bool splitKey(const QString &line, QString &key, QString &value)
{
    const QString t = line.trimmed();
    if (t.startsWith(u';') || t.startsWith(u'#'))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    return true;
}

} // namespace

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{ }

SettingsFile SettingsFile::programSettings()
{
    return SettingsFile(ProgramFolder::settingsFile());
}

QString
SettingsFile::readIn(const QString &section, const QString &key, const QString &fallback) const
{
    QStringList lines;
    QString newline;
    if (!loadLines(m_path, lines, newline))
        return fallback;
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        QString name;
        if (isSection(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && splitKey(line, k, v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return fallback;
}

bool SettingsFile::writeIn(const QString &section, const QString &key, const QString &value) const
{
    QStringList lines;
    QString newline = QStringLiteral("\r\n");
    loadLines(m_path, lines, newline);

    // A value is one line.
    QString flat = value;
    flat.remove(u'\r');
    flat.remove(u'\n');
    const QString entry = key + u'=' + flat;

    qsizetype sectionStart = -1;
    qsizetype sectionEnd = lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            if (sectionStart >= 0) {
                sectionEnd = i;
                break;
            }
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = i;
        }
    }

    bool replaced = false;
    if (sectionStart >= 0) {
        for (qsizetype i = sectionStart + 1; i < sectionEnd; ++i) {
            QString k, v;
            if (splitKey(lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            // After the section's last non-blank line.
            qsizetype at = sectionEnd;
            while (at > sectionStart + 1 && lines[at - 1].trimmed().isEmpty())
                --at;
            lines.insert(at, entry);
        }
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }

    QStringEncoder encode(Encoding);
    const QString text = lines.join(newline) + newline;
    const QByteArray bytes = encode.isValid() ? QByteArray(encode(text)) : text.toLocal8Bit();

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}
