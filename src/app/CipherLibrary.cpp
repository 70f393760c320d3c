#include "app/CipherLibrary.h"

#include "ui/AppState.h"

#include <dlfcn.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QSysInfo>
#include <cstring>

namespace {
constexpr int kBufferBytes = 1024;
constexpr const char* kKey = "mopleu";
}  // namespace

bool CipherLibrary::Load(const QString& name)
{
    Free();
    void* h = ::dlopen(QFile::encodeName(name).constData(), RTLD_NOW | RTLD_LOCAL);
    // The run path names the program's folder; where a wrapper around dlopen hides the run
    // path (sanitizer builds), look there by hand.
    if (!h && !name.contains(QLatin1Char('/')))
        h = ::dlopen(
            QFile::encodeName(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name).constData(),
            RTLD_NOW | RTLD_LOCAL);
    if (!h)
        return false;
    auto* encrypt = reinterpret_cast<AesFunction>(::dlsym(h, "AesEncrypt"));
    auto* decrypt = reinterpret_cast<AesFunction>(::dlsym(h, "AesDecrypt"));
    if (!encrypt || !decrypt) {
        ::dlclose(h);
        return false;
    }
    handle_ = h;
    encrypt_ = encrypt;
    decrypt_ = decrypt;
    return true;
}

void CipherLibrary::Free()
{
    if (handle_)
        ::dlclose(handle_);
    handle_ = nullptr;
    encrypt_ = nullptr;
    decrypt_ = nullptr;
}

bool CipherLibrary::Decrypt(const QString& value, QString* plain) const
{
    return Decrypt(value, QString::fromLatin1(kKey), plain);
}

bool CipherLibrary::Encrypt(const QString& plain, const QString& key, QString* value) const
{
    value->clear();
    if (!encrypt_)
        return false;
    char out[kBufferBytes];
    const int length = encrypt_(plain.toUtf8().constData(), out, kBufferBytes, key.toUtf8().constData());
    if (length >= 0)
        *value = QString::fromLatin1(out, length);
    return length >= 0;
}

QString CipherLibrary::RememberedKey()
{
    return QStringList{QString::fromLatin1(kKey), QString::fromLatin1(QSysInfo::machineUniqueId()),
                       QSysInfo::machineHostName(), QDir::homePath(), g_workPath}
        .join(QLatin1Char('\n'));
}

bool CipherLibrary::Decrypt(const QString& value, const QString& key, QString* plain) const
{
    plain->clear();
    if (!decrypt_)
        return false;
    const QByteArray in = value.toUtf8();
    char out[kBufferBytes];
    std::memset(out, 0, sizeof out);
    // The library says when it could not: an empty text is no answer, it would connect
    // without a database or as the system's user.
    const int length = decrypt_(in.constData(), out, kBufferBytes, key.toUtf8().constData());
    out[kBufferBytes - 1] = '\0';  // whatever the library did, the text ends inside the buffer
    if (length >= 0)
        *plain = QString::fromUtf8(out);
    std::memset(out, 0, sizeof out);
    return length >= 0;
}
