// kvaccounts hash DBNAME
// Replaces every password an earlier version stored plain (the log-in accounts' and the
// privileged password) by its hash. The server is the one KV_DB_HOST, KV_DB_PORT,
// KV_DB_USER and KV_DB_PASSWORD name (an administrator's account).
#include "auth/HashStored.h"
#include "db/mySQLTool.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace {

QString env(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return QString::fromLocal8Bit(v && *v ? v : fallback);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 || QByteArray(argv[1]) != "hash") {
        std::fprintf(stderr, "usage: kvaccounts hash DBNAME\n");
        return 2;
    }
    mySQLTool db;
    if (!db.Connect(env("KV_DB_HOST", "127.0.0.1"), env("KV_DB_PORT", "3306").toInt(),
                    QString::fromLocal8Bit(argv[2]), env("KV_DB_USER", "root"), env("KV_DB_PASSWORD", ""))) {
        std::fprintf(stderr, "kvaccounts: %s\n", qPrintable(db.GetError()));
        return 1;
    }
    passwords::Hashed done;
    const Outcome r = passwords::hashStored(db, &done);
    if (!r) {
        std::fprintf(stderr, "kvaccounts: %s\n", qPrintable(r.text()));
        return 1;
    }
    std::printf("%d account password(s) hashed; the privileged password %s\n", done.accounts,
                done.privileged ? "hashed" : "was already a hash");
    return 0;
}
