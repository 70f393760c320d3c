#include "support/DbTest.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "ui/AppState.h"

namespace kvtest {

const QDateTime DbTest::kNow(QDate(2026, 12, 8), QTime(9, 30, 0));

void DbTest::SetUp()
{
    database_ = std::make_unique<Database>(demo_);
    ASSERT_TRUE(database_->connect(g_sqlTool)) << g_sqlTool.GetError().toStdString();
    kvclock::fix(kNow);
    g_account = QStringLiteral("tester");
    g_identity = QStringLiteral("管理员");
}

void DbTest::TearDown()
{
    g_sqlTool.Close();
    kvclock::release();
    g_account.clear();
    g_password.clear();
    g_identity.clear();
    g_station.clear();
    g_limitPassword.clear();
    database_.reset();
}

}  // namespace kvtest
