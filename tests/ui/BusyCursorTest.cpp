#include "db/mySQLTool.h"
#include "support/DbTest.h"
#include "ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

class BusyCursor : public kvtest::DbTest {
protected:
    void TearDown() override
    {
        g_sqlTool.SetBusyHook(nullptr);
        DbTest::TearDown();
    }
    static bool waitCursor()
    {
        const QCursor* c = QGuiApplication::overrideCursor();
        return c && c->shape() == Qt::WaitCursor;
    }
};

}  // namespace

TEST_F(BusyCursor, TheWaitCursorShowsWhileAnActionWaitsAndGoesAfterwards)
{
    showBusyWhileWaiting(g_sqlTool);
    bool duringAction = false;
    const Outcome r = g_sqlTool.Transact([&] {
        duringAction = waitCursor();
        return g_sqlTool.Read(g_sqlTool.Format("select 1")).ok() ? Outcome::done() : g_sqlTool.Failure();
    });
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(duringAction);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // A failing read restores it too.
    EXPECT_FALSE(g_sqlTool.Read(g_sqlTool.Format("select * from kv_no_such_table")).ok());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
