#pragma once

#include <QString>

// How passwords are kept: never as typed. The log-in accounts and the privileged password
// hold a salted slow hash (Argon2id, libsodium's text form "$argon2id$v=19$m=...,t=...,p=1$salt$hash").
// Values stored before hashing came in are plain text; they still match once and are
// replaced by their hash.
namespace passwords {

// Kept in kvc_record_user.密码 of an account whose password the database server keeps (it
// signs in to the database as itself); it matches no typed password.
inline const QString kOnServer = QStringLiteral("$server$");

// A new hash of `plain`, with a salt of its own; empty only when the memory for it is missing.
QString hash(const QString& plain);
// The value is a hash made by hash() (or by the same algorithm elsewhere).
bool isHash(const QString& stored);
// True when `typed` is the password that `stored` keeps: a hash is checked, kOnServer never
// matches, and any other value (stored before hashing) is compared as it is, exactly.
bool matches(const QString& stored, const QString& typed);
// True when `stored` is no hash and should be replaced by one (plain text).
bool isPlain(const QString& stored);

// The hash the database server keeps for an account of its own (mysql_native_password:
// '*' and 40 hex digits), of the bytes the client sends for the password (GBK).
QString serverHash(const QString& plain);

// An account moved from a hashed password to an account of its own on the server keeps
// that password: the server first knows it by the hash's last part. `head` is the stored
// hash up to that part (its parameters and salt); the result is the last part as hashing
// `typed` with them makes it, empty when `head` is no such head.
QString hashTail(const QString& head, const QString& typed);

}  // namespace passwords
