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

private:
    void* handle_ = nullptr;
    AesFunction encrypt_ = nullptr;
    AesFunction decrypt_ = nullptr;
};
