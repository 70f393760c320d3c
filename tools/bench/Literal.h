#pragma once

#include <mysql.h>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

// A bare client for the literal statements: its own connection in GBK, each result stored
// whole, at most 1024 rows of it put into a list, as a list control would hold them.
class Literal {
public:
    Literal() = default;
    ~Literal();
    Literal(const Literal&) = delete;
    Literal& operator=(const Literal&) = delete;

    bool connect(const QString& host, int port, const QString& database, const QString& user,
                 const QString& password);
    QString error() const { return error_; }

    // The listed rows (at most `cap`, all when negative); total() is the rows of the result.
    QList<QStringList> select(const QString& sql, int cap = 1024);
    quint64 total() const { return total_; }
    // The first cell of the first row, empty when none.
    QString scalar(const QString& sql);
    bool exec(const QString& sql);
    quint64 insertId() const { return insertId_; }

    // The clock of one run: started before the action, restarted after its untimed set-up,
    // stopped before its untimed clean-up.
    void startClock();
    void stopClock();
    double elapsedMs() const;
    quint64 statements() const { return stoppedNs_ >= 0 ? stoppedStatements_ : statements_; }

private:
    bool send(const QString& sql);

    MYSQL* mysql_ = nullptr;
    QString error_;
    quint64 total_ = 0;
    quint64 insertId_ = 0;
    quint64 statements_ = 0;
    QElapsedTimer clock_;
    qint64 stoppedNs_ = -1;
    quint64 stoppedStatements_ = 0;
};
