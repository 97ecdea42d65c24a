// SPDX-License-Identifier: MIT
#include "users/PasswordHash.h"

#include "core/AppError.h"

#include <sodium.h>

namespace {

void initialiseSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw AppError(QStringLiteral("The password library could not be initialised"));
}

} // namespace

QString HashPassword(const QString& password) {
    if (password.isEmpty())
        return QString();
    initialiseSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw AppError(QStringLiteral("Out of memory while protecting the password"));
    return QString::fromLatin1(hash);
}

bool IsPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

bool PasswordMatches(const QString& stored, const QString& typed) {
    if (!IsPasswordHash(stored))
        return stored == typed;
    initialiseSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}
