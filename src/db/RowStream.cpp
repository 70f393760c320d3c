#include "db/RowStream.h"

RowStream::RowStream(const mySQLTool& like) : like_(like) {}

RowStream::~RowStream()
{
    stop();
}

bool RowStream::start(const Statement& statement)
{
    stop();
    if (!db_.ConnectLike(like_) || !db_.Stream(statement)) {
        error_ = db_.GetError();
        db_.Close();
        return false;
    }
    fields_.clear();
    for (int c = 0; c < db_.NumFields(); ++c) {
        QString name;
        db_.GetFieldName(c, &name);
        fields_.append(name);
    }
    open_ = true;
    return true;
}

Rows RowStream::next(int count)
{
    QVector<Row> rows;
    while (open_ && rows.size() < count) {
        if (!db_.FetchRow()) {
            open_ = false;
            if (db_.LastErrno() != 0) {
                error_ = db_.GetError();
                db_.Abort();
                return Rows::failure(error_);
            }
            // The whole result was read: the connection is not needed any more.
            db_.Close();
            break;
        }
        rows.append(db_.CurrentRow());
    }
    const quint64 n = static_cast<quint64>(rows.size());
    return Rows(fields_, std::move(rows), n);
}

void RowStream::stop()
{
    if (open_)
        db_.Abort();
    open_ = false;
}
