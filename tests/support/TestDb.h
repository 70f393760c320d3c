#pragma once

#include <gtest/gtest.h>
#include <QList>
#include <QString>
#include <QStringList>

class mySQLTool;

namespace kvtest {

// Where the run's database server listens.
struct Server {
    QString host = QStringLiteral("127.0.0.1");
    int port = 0;
    QString account = QStringLiteral("kv");
    QString password = QStringLiteral("kv");
};
Server server();

// A fresh database built from sql/schema.sql and sql/seed.sql (and sql/demo.sql when
// asked), dropped again at the end. Its own connection speaks UTF-8, apart from the
// session under test, so that what a test checks does not depend on that session.
// Sessions under test sign in as a client account of its own with the rights of
// sql/grants.sql and nothing more, so every action a test runs works under them.
class Database {
public:
    // `people`: the roles and procedures of the people's own database accounts too (the
    // second half of sql/grants.sql, which takes a while to load).
    explicit Database(bool demo = false, bool people = false);
    // The same on another server (a node of the suite's cluster).
    explicit Database(const Server& on, bool demo = false, bool people = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& name() const { return name_; }
    // The role of sql/grants.sql on this database, and the client account that has it.
    const QString& role() const { return role_; }
    const QString& clientAccount() const { return account_; }
    // Runs statements (several separated by ';' are fine); a failure fails the test.
    void exec(const QString& sql);
    // Runs a script file of the source tree, such as "sql/demo.sql".
    void load(const QString& relativePath);
    // All rows of a query, NULL cells as a null QString.
    QList<QStringList> rows(const QString& sql);
    // The first cell of the first row; a null QString when there is none.
    QString scalar(const QString& sql);
    int count(const QString& sqlFromWhere);  // "select count(*) " + the text
    // Connects a session to this database as the client account; through `port` (a proxy's
    // to the server) when given.
    bool connect(mySQLTool& db, int port = 0) const;
    // A database account of this database's own that holds the role of an identity
    // (sql/grants.sql), password that of the server's kv; made anew each time.
    QString personAccount(const QString& identity);
    // Connects a session as such an account.
    bool connectAs(mySQLTool& db, const QString& identity);
    // The CA file that verifies the test server's certificate.
    static QString tlsCa();
    // Runs a script text as load() does.
    void loadText(const QString& text);

private:
    void dropAccounts();
    void* mysql_ = nullptr;
    Server server_;
    QString name_;
    QString role_;
    QString account_;
};

}  // namespace kvtest
