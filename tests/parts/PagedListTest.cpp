// The paged list on 1024 and 1025 matching rows: the labels, the buttons, a new query after
// paging, a reload that keeps the chosen row.
#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "grid/KvGrid.h"
#include "parts/PagedList.h"
#include "support/DbTest.h"
#include "support/ScreenDriver.h"

#include <QLabel>
#include <QPushButton>

using kvtest::DbTest;

namespace {

class Paging : public DbTest {
protected:
    // `n` customers numbered 1..n.
    void customers(int n)
    {
        db().exec(QStringLiteral("delete from kvc_record_client"));
        if (n > 0)
            db().exec(QStringLiteral(
                          "insert into kvc_record_client (客户号, 名称, 激活) select seq, concat('客户', "
                          "seq), 1 from seq_1_to_%1")
                          .arg(n));
    }
    bool query(PagedList& p)
    {
        return p.run(g_sqlTool.Format("select 客户号, 名称 from kvc_record_client order by 客户号"),
                     g_sqlTool.Format("select count(*) from kvc_record_client"));
    }
};

PagedList* makeList(QWidget& window)
{
    auto* p = new PagedList(g_sqlTool, QStringLiteral("result"), &window);
    p->list()->InsertColumn(QStringLiteral("客户号"), 60);
    p->list()->InsertColumn(QStringLiteral("名称"), 80);
    return p;
}

}  // namespace

TEST_F(Paging, LabelsAndButtonsFollowTheTotalAndThePage)
{
    struct Case {
        int rows;
        const char* first;
        bool nextOnFirst;
        const char* second;  // after 下一页; nullptr when there is none
        int shownOnSecond;
    };
    const Case cases[] = {
        {1024, "共查询到1024条，显示其中1-1024条", false, nullptr, 0},
        {1025, "共查询到1025条，显示其中1-1024条", true, "共查询到1025条，显示其中1025-1025条", 1},
        {0, "共查询到0条，显示其中1-0条", false, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        customers(c.rows);
        QWidget window;
        PagedList* p = makeList(window);
        window.show();
        ASSERT_TRUE(query(*p));
        EXPECT_EQ(p->label()->text(), QString::fromUtf8(c.first));
        EXPECT_EQ(p->list()->GetItemCount(), std::min(c.rows, kListCap));
        EXPECT_EQ(p->nextButton()->isVisible(), c.nextOnFirst);
        EXPECT_FALSE(p->previousButton()->isVisible());
        if (!c.second)
            continue;
        p->nextButton()->click();
        EXPECT_EQ(p->label()->text(), QString::fromUtf8(c.second));
        EXPECT_EQ(p->list()->GetItemCount(), c.shownOnSecond);
        EXPECT_EQ(p->list()->GetItemText(0, 0), QStringLiteral("1025"));
        EXPECT_TRUE(p->previousButton()->isVisible());
        EXPECT_FALSE(p->nextButton()->isVisible());

        // A new query after paging shows the first page again.
        ASSERT_TRUE(query(*p));
        EXPECT_EQ(p->page(), 0);
        EXPECT_FALSE(p->previousButton()->isVisible());
        EXPECT_EQ(p->list()->GetItemText(0, 0), QStringLiteral("1"));
    }
}

TEST_F(Paging, AReloadCountsAgainAndKeepsTheChosenRow)
{
    customers(1030);
    QWidget window;
    PagedList* p = makeList(window);
    window.show();
    ASSERT_TRUE(query(*p));
    p->nextButton()->click();
    kvtest::ScreenDriver::clickRow(p->list(), 3);
    ASSERT_EQ(p->selectedKey(), QStringLiteral("1028"));

    // Another desk removed rows before it: the page shifts, the chosen row stays chosen.
    db().exec(QStringLiteral("delete from kvc_record_client where 客户号<=2"));
    ASSERT_TRUE(p->reload());
    EXPECT_EQ(p->label()->text(), QStringLiteral("共查询到1028条，显示其中1025-1028条"));
    EXPECT_EQ(p->selectedKey(), QStringLiteral("1028"));

    // The page on display went away altogether: the last one is shown.
    db().exec(QStringLiteral("delete from kvc_record_client where 客户号>1000"));
    ASSERT_TRUE(p->reload());
    EXPECT_EQ(p->page(), 0);
    EXPECT_EQ(p->label()->text(), QStringLiteral("共查询到998条，显示其中1-998条"));
    EXPECT_TRUE(p->selectedKey().isEmpty());
}

TEST_F(Paging, TheCountRowKeepsWhatItReadBesideTheTotal)
{
    customers(1030);
    QWidget window;
    PagedList* p = makeList(window);
    ASSERT_TRUE(p->run(g_sqlTool.Format("select 客户号, 名称 from kvc_record_client order by 客户号"),
                       g_sqlTool.Format("select count(*), sum(客户号) from kvc_record_client")));
    EXPECT_EQ(p->total(), 1030u);
    EXPECT_EQ(p->counted().toInt64(1), 1030 * 1031 / 2);
    // Turning a page reads no count again.
    db().exec(QStringLiteral("delete from kvc_record_client where 客户号>1025"));
    p->nextButton()->click();
    EXPECT_EQ(p->counted().toInt64(1), 1030 * 1031 / 2);
    p->clear();
    EXPECT_TRUE(p->counted().isNull(1));
}
