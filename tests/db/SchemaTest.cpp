#include "db/mySQLTool.h"
#include "support/DbTest.h"

#include <QFile>
#include <QRegularExpression>

namespace {

class Schema : public kvtest::DbTest {};

QString source(const char* relative)
{
    QFile f(QStringLiteral(KV_SOURCE_DIR "/") + QString::fromLatin1(relative));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

// MySQL refuses a literal default on a TEXT or BLOB column (MariaDB takes it): the schema
// gives such defaults as expressions, and loads on a strict server; sql/upgrade.sql makes
// the same table as the schema.
TEST_F(Schema, LoadsOnStrictServersWithDefaultsMySqlAccepts)
{
    const QString schema = source("sql/schema.sql");
    ASSERT_FALSE(schema.isEmpty());
    static const QRegularExpression literalOnText(
        QStringLiteral("\\b(TINY|MEDIUM|LONG)?(TEXT|BLOB)\\b[^,\\n]*\\bDEFAULT\\s+'"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = literalOnText.match(schema);
    EXPECT_FALSE(m.hasMatch()) << m.captured(0).toStdString();

    const QString other = db().name() + QStringLiteral("_strict");
    db().exec(QStringLiteral("set session sql_mode='STRICT_ALL_TABLES,NO_ZERO_DATE,NO_ZERO_IN_DATE,"
                             "ERROR_FOR_DIVISION_BY_ZERO,ONLY_FULL_GROUP_BY,NO_ENGINE_SUBSTITUTION';"
                             "create database %1 character set gbk collate gbk_chinese_ci; use %1")
                  .arg(other));
    db().load(QStringLiteral("sql/schema.sql"));
    db().load(QStringLiteral("sql/seed.sql"));
    // The tables and triggers an earlier schema lacks.
    const auto shape = [this]() {
        QList<QStringList> out;
        for (const char* table : {"kvc_record_commit", "kvc_record_mission_day", "kvc_record_mission_stale",
                                  "kvc_record_product_total", "kvc_record_ship_total"})
            out << db().rows(QStringLiteral("show create table %1").arg(QString::fromLatin1(table))).value(0);
        return out + db().rows(QStringLiteral(
                         "select trigger_name, action_statement from information_schema.triggers "
                         "where trigger_schema=database() order by 1"));
    };
    const QList<QStringList> made = shape();
    ASSERT_EQ(made.size(), 5 + 13);
    db().exec(QStringLiteral(
        "drop table kvc_record_commit, kvc_record_mission_day, kvc_record_mission_stale, "
        "kvc_record_product_total, kvc_record_ship_total; "
        "drop trigger tg_mission_insert; drop trigger tg_flow_update; drop trigger tg_ship_total_update; "
        "alter table kvc_record_supplier drop key ux_supplier_name; "
        "insert into kvc_record_supplier (名称) values ('甲'), ('甲'), ('乙')"));
    db().load(QStringLiteral("sql/upgrade.sql"));
    db().load(QStringLiteral("sql/upgrade.sql"));
    EXPECT_EQ(shape(), made);
    // Supplier names given twice keep their first supplier and become unique by their key.
    EXPECT_EQ(db().rows(QStringLiteral("select 名称 from kvc_record_supplier order by 供应商号")),
              (QList<QStringList>{{"甲"}, {"甲（2）"}, {"乙"}}));
    EXPECT_EQ(db().count(QStringLiteral("from information_schema.statistics where table_schema=database() "
                                        "and index_name='ux_supplier_name'")),
              1);
    db().exec(QStringLiteral("use %1; drop database %2").arg(db().name(), other));
}

// The client's account may do what the client does and nothing beyond it.
TEST_F(Schema, TheClientAccountHasTheClientsRightsOnly)
{
    mySQLTool client;
    ASSERT_TRUE(db().connect(client)) << client.GetError().toStdString();
    for (const char* refused : {"drop table kvc_record_ship", "delete from kvc_record_procedure",
                                "update kvc_record_salary set 金额=1", "create table kv_more (id int)",
                                "select * from mysql.user", "alter table kvc_record_product add x int"}) {
        EXPECT_FALSE(client.Query(client.Format(refused), false)) << refused;
        // ... because of the rights, not a mistake in the statement.
        EXPECT_EQ(client.LastErrno() / 10, 114u) << refused << ": " << client.GetError().toStdString();
    }
    for (const char* allowed :
         {"alter table kvc_record_quality add 处理2 int", "delete from kvc_record_commit"})
        EXPECT_TRUE(client.Query(client.Format(allowed), false))
            << allowed << ": " << client.GetError().toStdString();
}
