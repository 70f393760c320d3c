#include "auth/Passwords.h"

#include "db/Gbk.h"

#include <sodium.h>
#include <QCryptographicHash>
#include <QStringList>
#include <mutex>

namespace passwords {

namespace {

// The length of the hash part libsodium writes into its text form.
constexpr size_t kTagBytes = 32;

bool ready()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = sodium_init() >= 0; });
    return ok;
}

QByteArray toBase64(const unsigned char* bytes, size_t n)
{
    QByteArray out(
        static_cast<qsizetype>(sodium_base64_ENCODED_LEN(n, sodium_base64_VARIANT_ORIGINAL_NO_PADDING)),
        '\0');
    sodium_bin2base64(out.data(), static_cast<size_t>(out.size()), bytes, n,
                      sodium_base64_VARIANT_ORIGINAL_NO_PADDING);
    out.resize(static_cast<qsizetype>(qstrlen(out.constData())));
    return out;
}

}  // namespace

QString hash(const QString& plain)
{
    if (!ready())
        return QString();
    const QByteArray bytes = plain.toUtf8();
    char out[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return QString();
    return QString::fromLatin1(out);
}

bool isHash(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2id$")) && stored.size() < crypto_pwhash_STRBYTES;
}

bool isPlain(const QString& stored)
{
    return !isHash(stored) && stored != kOnServer;
}

bool matches(const QString& stored, const QString& typed)
{
    if (stored == kOnServer)
        return false;
    if (!isHash(stored))
        return !stored.isEmpty() && stored == typed;
    if (!ready())
        return false;
    const QByteArray text = stored.toLatin1();
    const QByteArray bytes = typed.toUtf8();
    return crypto_pwhash_str_verify(text.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
}

QString serverHash(const QString& plain)
{
    QByteArray bytes;
    if (!Gbk::encode(plain, bytes))
        bytes = plain.toUtf8();
    const QByteArray once = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    return QLatin1Char('*') +
           QString::fromLatin1(QCryptographicHash::hash(once, QCryptographicHash::Sha1).toHex().toUpper());
}

QString hashTail(const QString& head, const QString& typed)
{
    // "$argon2id$v=19$m=65536,t=2,p=1$salt$"
    const QStringList parts = head.split(QLatin1Char('$'));
    if (!ready() || parts.size() != 6 || parts[1] != QLatin1String("argon2id") || !parts[5].isEmpty())
        return QString();
    quint64 memory = 0, passes = 0, lanes = 0;
    for (const QString& p : parts[3].split(QLatin1Char(','))) {
        bool ok = false;
        const quint64 v = p.mid(2).toULongLong(&ok);
        if (!ok)
            return QString();
        if (p.startsWith(QLatin1String("m=")))
            memory = v;
        else if (p.startsWith(QLatin1String("t=")))
            passes = v;
        else if (p.startsWith(QLatin1String("p=")))
            lanes = v;
    }
    unsigned char salt[crypto_pwhash_SALTBYTES];
    size_t saltLength = 0;
    const QByteArray saltText = parts[4].toLatin1();
    if (lanes != 1 || memory == 0 || passes == 0 ||
        sodium_base642bin(salt, sizeof salt, saltText.constData(), static_cast<size_t>(saltText.size()),
                          nullptr, &saltLength, nullptr, sodium_base64_VARIANT_ORIGINAL_NO_PADDING) != 0 ||
        saltLength != sizeof salt)
        return QString();
    const QByteArray bytes = typed.toUtf8();
    unsigned char tag[kTagBytes];
    if (crypto_pwhash(tag, sizeof tag, bytes.constData(), static_cast<unsigned long long>(bytes.size()), salt,
                      passes, static_cast<size_t>(memory) * 1024, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return QString();
    const QString tail = QString::fromLatin1(toBase64(tag, sizeof tag));
    sodium_memzero(tag, sizeof tag);
    return tail;
}

}  // namespace passwords
