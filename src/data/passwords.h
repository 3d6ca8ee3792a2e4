#pragma once

#include <QString>

// Operator passwords are stored as Argon2id hashes of the text with Latin A-Z folded to
// lower case, so the login rule (those letters compare without case, nothing else does)
// holds while no clear text is kept. An empty stored value is the empty password.
namespace Passwords {

// Latin A-Z to a-z; every other character unchanged.
QString fold(const QString &text);

// The value to store for a typed password: empty for the empty password, else a hash.
QString hash(const QString &typed);

// Whether `typed` is the password whose stored value is `stored`. A stored value that is
// not a hash (a database from before hashing) is compared as text by the same rule.
bool matches(const QString &stored, const QString &typed);

} // namespace Passwords
