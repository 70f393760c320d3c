#pragma once

#include "db/Outcome.h"
#include "db/Rows.h"

#include <QString>
#include <QVector>

// What the statements sent together in one exchange gave back: each statement's rows (a
// read) or its affected rows and new key (a write). The server stops at the first statement
// that fails; that one and every later one have no answer (reads outside a transaction
// excepted: see mySQLTool::ReadAll).
class Batch {
public:
    struct Answer {
        Rows rows = Rows({}, {}, 0);
        quint64 affected = 0;
        quint64 insertId = 0;
    };

    Batch() = default;
    static Batch failure(int at, unsigned code, const QString& error)
    {
        Batch b;
        b.failedAt_ = at;
        b.code_ = code;
        b.error_ = error;
        return b;
    }

    bool ok() const { return failedAt_ < 0; }
    explicit operator bool() const { return ok(); }
    // The index of the statement that failed; -1 when none did.
    int failedAt() const { return failedAt_; }
    unsigned code() const { return code_; }
    const QString& error() const { return error_; }
    Outcome failed() const { return Outcome::failed(error_); }

    // The rows of statement i, or the failure when it has no answer.
    Rows rows(int i) const;
    quint64 affected(int i) const { return answered(i) ? answers_.at(i).affected : 0; }
    quint64 insertId(int i) const { return answered(i) ? answers_.at(i).insertId : 0; }
    int answeredCount() const { return static_cast<int>(answers_.size()); }

    // Statement i's answer; a failed read's rows when it has none.
    Answer answer(int i) const;
    void append(Answer a) { answers_.append(std::move(a)); }
    void fail(int at, unsigned code, const QString& error)
    {
        failedAt_ = at;
        code_ = code;
        error_ = error;
    }

private:
    bool answered(int i) const { return i >= 0 && i < answers_.size(); }
    QVector<Answer> answers_;
    int failedAt_ = -1;
    unsigned code_ = 0;
    QString error_;
};
