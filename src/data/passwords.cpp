#include "passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace Passwords {

namespace {
void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium could not be initialised");
}
} // namespace

QString fold(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

QString hash(const QString &typed)
{
    if (typed.isEmpty())
        return {};
    ensureSodium();
    const QByteArray plain = fold(typed).toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, plain.constData(), quint64(plain.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool matches(const QString &stored, const QString &typed)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (!stored.startsWith(QLatin1String("$argon2")))
        return fold(stored) == fold(typed);
    ensureSodium();
    const QByteArray plain = fold(typed).toUtf8();
    const QByteArray hashed = stored.toLatin1();
    return crypto_pwhash_str_verify(hashed.constData(), plain.constData(), quint64(plain.size()))
            == 0;
}

} // namespace Passwords
