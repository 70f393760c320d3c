#include "support/DbTest.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "ui/AppState.h"

namespace kvtest {

const QDateTime DbTest::kNow(QDate(2026, 12, 8), QTime(9, 30, 0));

void DbTest::SetUp()
{
    database_ = std::make_unique<Database>(demo_, people_ || !identity_.isEmpty());
    g_sqlTool.SetTls(tls_, Database::tlsCa());
    const bool connected =
        identity_.isEmpty() ? database_->connect(g_sqlTool) : database_->connectAs(g_sqlTool, identity_);
    ASSERT_TRUE(connected) << g_sqlTool.GetError().toStdString();
    kvclock::fix(kNow);
    g_account = QStringLiteral("tester");
    g_identity = identity_.isEmpty() ? QStringLiteral("管理员") : identity_;
}

void DbTest::TearDown()
{
    g_sqlTool.Close();
    g_sqlTool.SetTls(false);
    kvclock::release();
    g_account.clear();
    g_password.clear();
    g_identity.clear();
    g_station.clear();
    g_limitPassword.clear();
    database_.reset();
}

}  // namespace kvtest
