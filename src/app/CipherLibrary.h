#pragma once

#include "cipher/Aes.h"

#include <QString>

// The cipher library that deciphers the connection settings, loaded by name through the
// normal library search (the client's run path includes its own folder).
class CipherLibrary {
public:
    CipherLibrary() = default;
    ~CipherLibrary() { Free(); }
    CipherLibrary(const CipherLibrary&) = delete;
    CipherLibrary& operator=(const CipherLibrary&) = delete;

    // Loads the library and looks up "AesEncrypt" and "AesDecrypt"; false (and nothing
    // kept loaded) when the library or either entry point is missing.
    bool Load(const QString& name);
    void Free();
    bool IsLoaded() const { return handle_ != nullptr; }

    // Deciphers one value with the key of the settings file into `plain`; false (and
    // `plain` empty) when the value is damaged or was enciphered with another key.
    bool Decrypt(const QString& value, QString* plain) const;
    // The same with a key of the caller's, and its way back; false when it cannot.
    bool Decrypt(const QString& value, const QString& key, QString* plain) const;
    bool Encrypt(const QString& plain, const QString& key, QString* value) const;

    // The key of a remembered log-in password: the settings file's, bound to this computer,
    // this user's home folder and the folder of Config.ini, so that a copied Config.ini
    // signs in nowhere else.
    static QString RememberedKey();

private:
    void* handle_ = nullptr;
    AesFunction encrypt_ = nullptr;
    AesFunction decrypt_ = nullptr;
};
