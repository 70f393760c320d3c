#include "app/Accounts.h"
#include "db/Columns.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "flow/Intake.h"
#include "support/DbTest.h"
#include "ui/AppState.h"

#include <functional>

namespace {

class TextWidth : public kvtest::DemoDbTest {};

// 51 × 黄: longer than a 50-wide column however it is counted, so a server would cut it.
const QString kLongName = QString(51, QChar(0x9EC4));

}  // namespace

// A text longer than its column is refused with its width before anything is written, on
// a server that would cut it silently and on one that would refuse it in English.
TEST_F(TextWidth, TextsLongerThanTheirColumnAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char* what;
        std::function<Outcome()> act;
        const char* column;
        QString unchanged;  // a query whose answer must stay
    };
    const QList<Case> cases = {
        {"receiver",
         [] {
             intake::Order o;
             o.client = 1;
             o.receiver = kLongName;
             o.goods = 10;
             o.priority = QStringLiteral("一般");
             return intake::submitOrder(g_sqlTool, o, true, 0, QString());
         },
         "接货人", QStringLiteral("select count(*) from kvc_record_product")},
        {"new account",
         [] {
             return accounts::save(g_sqlTool, g_account, {},
                                   {{accounts::kNewRow, kLongName, accounts::kPasswordTyped,
                                     QStringLiteral("员工"), QStringLiteral("x1")}})
                 .outcome;
         },
         "账号", QStringLiteral("select count(*) from kvc_record_user")},
    };
    for (const char* mode : {"", "STRICT_ALL_TABLES"}) {
        ASSERT_TRUE(g_sqlTool.Exec("set session sql_mode='%s'", QString::fromLatin1(mode)));
        for (const Case& c : cases) {
            const QString before = db().scalar(c.unchanged);
            const Outcome r = c.act();
            EXPECT_EQ(r.kind(), Outcome::Kind::Refused) << c.what << " / " << mode;
            EXPECT_TRUE(r.text().startsWith(QStringLiteral("“%1”太长").arg(QString::fromUtf8(c.column))))
                << r.text().toStdString();
            EXPECT_EQ(db().scalar(c.unchanged), before) << c.what << " / " << mode;
        }
    }
}

// The widths the client checks are the widths the installation's tables have.
TEST_F(TextWidth, TheCheckedWidthsAreThoseOfTheSchema)
{
    const QList<QStringList> text = db().rows(
        QStringLiteral(
            "select table_name, column_name, character_maximum_length from information_schema.columns "
            "where table_schema='%1' and data_type in ('varchar', 'char', 'text') and table_name in "
            "(select table_name from information_schema.tables where table_schema='%1' and table_type='BASE "
            "TABLE')")
            .arg(db().name()));
    ASSERT_GT(text.size(), 60);
    for (const QStringList& c : text)
        EXPECT_EQ(columns::width(c[0].toLatin1().constData(), c[1]), c[2].toInt())
            << c[0].toStdString() << "." << c[1].toStdString();
}
