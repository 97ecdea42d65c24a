// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Login passwords are stored as salted, slow Argon2id hashes in libsodium's encoded form. The empty
// password stays the empty text and means "no password". A stored value that is not such a hash is
// a password kept in plain text by an older version, compared exactly.

QString HashPassword(const QString& password);
bool IsPasswordHash(const QString& stored);
bool PasswordMatches(const QString& stored, const QString& typed);
