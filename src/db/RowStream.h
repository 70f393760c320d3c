#pragma once

#include "db/Rows.h"
#include "db/Statement.h"
#include "db/mySQLTool.h"

// A long result read a page at a time as the server sends it, on a connection of its own
// opened like a session's: the client holds one page whatever the result's size, the session
// stays free for other statements, and stopping early drops the connection instead of reading
// the rest.
class RowStream {
public:
    explicit RowStream(const mySQLTool& like);
    ~RowStream();
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    // Connects and runs the statement; false with error().
    bool start(const Statement& statement);
    // The next rows, at most `count`, with the result's field names: fewer than `count` at the
    // end, none after it; failed when the connection or the server failed between two rows.
    Rows next(int count);
    // Ends the read early.
    void stop();
    QString error() const { return error_; }

private:
    const mySQLTool& like_;
    mySQLTool db_;
    QStringList fields_;
    bool open_ = false;
    QString error_;
};
