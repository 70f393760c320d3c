#pragma once

#include <dlfcn.h>
#include <QCoreApplication>
#include <QFile>

namespace kvtest {

// The cipher library by its plain name, as the client loads it; sanitizer builds hide the
// run path from dlopen, so the program's folder is tried as well.
inline void* openCipherLibrary()
{
    if (void* h = dlopen("libAES.so", RTLD_NOW))
        return h;
    return dlopen(
        QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/libAES.so")).constData(),
        RTLD_NOW);
}

}  // namespace kvtest
