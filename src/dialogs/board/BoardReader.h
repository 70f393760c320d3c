#pragma once

#include "db/mySQLTool.h"
#include "dialogs/board/ops/BoardFigures.h"

#include <QObject>
#include <memory>

// Reads the board's figures on a thread of its own, through a session of its own signed in
// as the user is: a server that does not answer never holds up the windows of this PC, and
// the board's reads never mix with an action of this PC. The session is read-only: the
// server refuses any write on it.
class BoardReader : public QObject {
    Q_OBJECT
public:
    explicit BoardReader(const mySQLTool::Login& login);
    ~BoardReader() override;

    // Seconds the session waits to connect, and for an answer.
    static constexpr int kConnectSeconds = 5;
    static constexpr int kAnswerSeconds = 10;
    // Sets a session up as the board's, before it connects.
    static void prepare(mySQLTool& db);

    // Reads the figures as of `now`; answers with read(). Run in the reader's thread.
    Q_INVOKABLE void readAt(const QDateTime& now);

Q_SIGNALS:
    // The figures, or why they could not be read (then `failure` is not empty).
    void read(const board::Figures& figures, const QString& failure);

private:
    mySQLTool::Login login_;
    std::unique_ptr<mySQLTool> db_;
};
