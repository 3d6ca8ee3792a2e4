#pragma once

#include <QString>

// The sectioned key=value file myini.ini. Nothing is cached: every read and write opens
// the file, so a value one screen writes is what the next reader sees. The file is GB18030
// on disk (equal to GBK for every GBK character).
class SettingsFile
{
public:
    static constexpr const char16_t *Section = u"程序参数";

    explicit SettingsFile(QString path);
    static SettingsFile programSettings(); // myini.ini in the program folder

    // The value of key in section; `fallback` when the file, the section or the key is
    // missing. A key present with an empty value reads as the empty text.
    QString readIn(const QString &section, const QString &key, const QString &fallback = {}) const;
    QString read(const QString &key, const QString &fallback = {}) const
    {
        return readIn(QString::fromUtf16(Section), key, fallback);
    }

    // Replaces the key's value, creating the file and the section when missing.
    // Returns false when the file could not be written.
    bool writeIn(const QString &section, const QString &key, const QString &value) const;
    bool write(const QString &key, const QString &value) const
    {
        return writeIn(QString::fromUtf16(Section), key, value);
    }

    const QString &path() const { return m_path; }

private:
    QString m_path;
};
