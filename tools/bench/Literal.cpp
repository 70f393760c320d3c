#include "Literal.h"

#include "db/Gbk.h"
#include "db/MysqlResult.h"

#include <cstdio>

Literal::~Literal()
{
    if (mysql_)
        mysql_close(mysql_);
}

bool Literal::connect(const QString& host, int port, const QString& database, const QString& user,
                      const QString& password)
{
    mysql_ = mysql_init(nullptr);
    mysql_options(mysql_, MYSQL_SET_CHARSET_NAME, "gbk");
    if (!mysql_real_connect(mysql_, host.toUtf8().constData(), user.toUtf8().constData(),
                            password.toUtf8().constData(), database.toUtf8().constData(),
                            static_cast<unsigned>(port), nullptr, 0)) {
        error_ = QString::fromUtf8(mysql_error(mysql_));
        return false;
    }
    return true;
}

bool Literal::send(const QString& sql)
{
    QByteArray gbk;
    if (!Gbk::encode(sql, gbk)) {
        error_ = QStringLiteral("not GBK: ") + sql;
        return false;
    }
    ++statements_;
    if (mysql_real_query(mysql_, gbk.constData(), static_cast<unsigned long>(gbk.size())) != 0) {
        error_ = Gbk::decode(QByteArray(mysql_error(mysql_))) + QStringLiteral(" in: ") + sql;
        std::fprintf(stderr, "  literal: %s\n", qPrintable(error_));
        return false;
    }
    return true;
}

QList<QStringList> Literal::select(const QString& sql, int cap)
{
    QList<QStringList> list;
    total_ = 0;
    if (!send(sql))
        return list;
    const MysqlResult owned(mysql_store_result(mysql_));
    MYSQL_RES* result = owned.get();
    if (!result)
        return list;
    total_ = mysql_num_rows(result);
    const unsigned fields = mysql_num_fields(result);
    while (cap < 0 || list.size() < cap) {
        MYSQL_ROW row = mysql_fetch_row(result);
        if (!row)
            break;
        const unsigned long* lengths = mysql_fetch_lengths(result);
        QStringList cells;
        cells.reserve(static_cast<qsizetype>(fields));
        for (unsigned c = 0; c < fields; ++c)
            cells.append(row[c] ? Gbk::decode(row[c], static_cast<qsizetype>(lengths[c])) : QString());
        list.append(std::move(cells));
    }
    return list;
}

QString Literal::scalar(const QString& sql)
{
    const QList<QStringList> rows = select(sql);
    return rows.isEmpty() || rows[0].isEmpty() ? QString() : rows[0][0];
}

bool Literal::exec(const QString& sql)
{
    if (!send(sql))
        return false;
    const MysqlResult unread(mysql_store_result(mysql_));
    insertId_ = mysql_insert_id(mysql_);
    return true;
}

void Literal::startClock()
{
    statements_ = 0;
    stoppedNs_ = -1;
    clock_.start();
}

void Literal::stopClock()
{
    if (stoppedNs_ >= 0)
        return;
    stoppedNs_ = clock_.nsecsElapsed();
    stoppedStatements_ = statements_;
}

double Literal::elapsedMs() const
{
    return (stoppedNs_ >= 0 ? stoppedNs_ : clock_.nsecsElapsed()) / 1e6;
}
