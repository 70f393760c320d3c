#include "db/KvMessage.h"
#include "db/Tables.h"
#include "db/mySQLTool.h"
#include "grid/GridDelegate.h"
#include "grid/KvGrid.h"
#include "support/DbTest.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Records the posted messages a widget receives, before the widget itself sees them.
class MessageLog : public QObject {
public:
    explicit MessageLog(QObject* target) { target->installEventFilter(this); }
    QList<QPair<int, int>> seen;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == KvMessage::kType) {
            const auto* m = static_cast<KvMessage*>(e);
            seen.append({m->code(), m->value()});
        }
        return false;
    }
};

// Warnings of the model tester, collected while a test runs.
QStringList g_modelWarnings;
void collectModelWarnings(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QByteArray(context.category).startsWith("qt.modeltest"))
        g_modelWarnings.append(text);
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A shown grid: 序列号 (no editor), 账号 (text), 权限 (drop-down), 备注 hidden.
class Grid : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = qInstallMessageHandler(collectModelWarnings);
        g_modelWarnings.clear();
        tester_ = std::make_unique<QAbstractItemModelTester>(
            grid.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        grid.InsertColumn(QStringLiteral("序列号"), 60);
        grid.InsertColumn(QStringLiteral("账号"), 80);
        grid.InsertColumn(QStringLiteral("权限"), 80);
        grid.InsertColumn(QStringLiteral("备注"), 0);
        grid.SetTextEditor(1);
        grid.SetComboEditor(2, {QStringLiteral("调度"), QStringLiteral("财务"), QStringLiteral("厂长")});
        grid.AppendItem(
            {QStringLiteral("1"), QStringLiteral("张三"), QStringLiteral("调度"), QStringLiteral("甲")});
        grid.AppendItem(
            {QStringLiteral("2"), QStringLiteral("李四"), QStringLiteral("财务"), QStringLiteral("乙")});
        grid.resize(400, 300);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    }
    void TearDown() override
    {
        tester_.reset();
        qInstallMessageHandler(previous_);
        EXPECT_TRUE(g_modelWarnings.isEmpty()) << g_modelWarnings.join(QLatin1Char('\n')).toStdString();
    }

    template <typename Editor>
    Editor* startEditing(int row, int column)
    {
        const QModelIndex i = grid.model()->index(row, column);
        grid.setCurrentIndex(i);
        grid.edit(i);
        settle();
        return grid.viewport()->findChild<Editor*>();
    }
    bool editing() { return grid.IsEditing(); }

    KvGrid grid;
    MessageLog log{&grid};
    QSignalSpy ended{&grid, &KvGrid::editEnded};

private:
    std::unique_ptr<QAbstractItemModelTester> tester_;
    QtMessageHandler previous_ = nullptr;
};

TEST_F(Grid, EnterCommitsTheTextAndPostsTheEditMessage)
{
    auto* edit = startEditing<QLineEdit>(0, 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->objectName(), QStringLiteral("gridTextEditor"));
    EXPECT_EQ(edit->text(), QStringLiteral("张三"));
    edit->clear();
    QTest::keyClicks(edit, "Wang Wu");
    QTest::keyClick(edit, Qt::Key_Return);
    // Nothing is reported synchronously: the notification is a posted message.
    EXPECT_EQ(ended.count(), 0);
    settle();

    EXPECT_EQ(grid.GetItemText(0, 1), QStringLiteral("Wang Wu"));
    EXPECT_FALSE(editing());
    ASSERT_EQ(log.seen.size(), 1);
    EXPECT_EQ(log.seen.first(), qMakePair(9527, 1));
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.first().at(0).toInt(), 0);
    EXPECT_EQ(ended.first().at(1).toInt(), 1);
    // The other cells of the row are untouched.
    EXPECT_EQ(grid.rows().rowCells(0), QStringList({QStringLiteral("1"), QStringLiteral("Wang Wu"),
                                                    QStringLiteral("调度"), QStringLiteral("甲")}));
}

TEST_F(Grid, TabCommitsAndEscapeAbandons)
{
    auto* edit = startEditing<QLineEdit>(1, 1);
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("赵六"));
    QTest::keyClick(edit, Qt::Key_Tab);
    settle();
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("赵六"));
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.first().at(0).toInt(), 1);
    EXPECT_EQ(ended.first().at(1).toInt(), 1);

    // Tab went on to the drop-down of the next column; Escape leaves its cell as it was.
    auto* combo = grid.viewport()->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 2));
    EXPECT_EQ(combo->currentText(), QStringLiteral("财务"));
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Escape);
    settle();
    EXPECT_EQ(grid.GetItemText(1, 2), QStringLiteral("财务"));
    EXPECT_FALSE(editing());

    // Escape in a text editor too; no message at all.
    log.seen.clear();
    edit = startEditing<QLineEdit>(0, 1);
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("不要"));
    QTest::keyClick(edit, Qt::Key_Escape);
    settle();
    EXPECT_EQ(grid.GetItemText(0, 1), QStringLiteral("张三"));
    EXPECT_TRUE(log.seen.isEmpty());
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(Grid, DropDownOffersItsChoicesAndKeepsATextNotAmongThem)
{
    auto* combo = startEditing<QComboBox>(0, 2);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("厂长"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("调度"));
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Return);
    settle();
    EXPECT_EQ(grid.GetItemText(0, 2), QStringLiteral("厂长"));
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.first().at(1).toInt(), 2);

    // A cell holding a text the list does not offer is not blanked by opening the editor.
    grid.SetItemText(1, 2, QStringLiteral("前任身份"));
    combo = startEditing<QComboBox>(1, 2);
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_Return);
    settle();
    EXPECT_EQ(grid.GetItemText(1, 2), QStringLiteral("前任身份"));
    EXPECT_EQ(ended.count(), 1);

    // A column without an editor opens none.
    const QModelIndex key = grid.model()->index(0, 0);
    grid.setCurrentIndex(key);
    grid.edit(key);
    settle();
    EXPECT_FALSE(editing());
}

TEST_F(Grid, RefillingWhileEditingWritesNothingIntoTheNewRows)
{
    auto* edit = startEditing<QLineEdit>(0, 1);
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("半途"));
    grid.DeleteAllItems();
    grid.AppendItem({QStringLiteral("9"), QStringLiteral("新行")});
    settle();
    EXPECT_EQ(grid.GetItemText(0, 1), QStringLiteral("新行"));
    EXPECT_EQ(ended.count(), 0);
    EXPECT_FALSE(editing());
}

TEST_F(Grid, RowsAreInsertedSetSwappedAndDeleted)
{
    EXPECT_TRUE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.columnWidth(1), 80);
    EXPECT_EQ(grid.InsertItem(0, {QStringLiteral("0")}), 0);
    EXPECT_EQ(grid.InsertItem(99, {QStringLiteral("3"), QStringLiteral("末"), QString(), QString(),
                                   QStringLiteral("多余")}),
              3);
    ASSERT_EQ(grid.GetItemCount(), 4);
    EXPECT_EQ(grid.GetItemText(3, 1), QStringLiteral("末"));
    EXPECT_EQ(grid.GetItemText(0, 1), QString());
    EXPECT_EQ(grid.GetItemText(9, 1), QString());
    grid.SetItemText(0, 1, QStringLiteral("首"));
    EXPECT_EQ(grid.GetItemText(0, QStringLiteral("账号")), QStringLiteral("首"));

    // Every column moves with a swap, the hidden one too.
    grid.SwapRows(1, 2);
    EXPECT_EQ(grid.rows().rowCells(1), QStringList({QStringLiteral("2"), QStringLiteral("李四"),
                                                    QStringLiteral("财务"), QStringLiteral("乙")}));
    EXPECT_EQ(grid.GetItemText(2, QStringLiteral("备注")), QStringLiteral("甲"));
    grid.SwapRows(2, 7);  // outside the list: nothing happens
    EXPECT_EQ(grid.GetItemText(2, 0), QStringLiteral("1"));

    grid.DeleteItem(0);
    EXPECT_EQ(grid.GetItemCount(), 3);
    EXPECT_EQ(grid.GetItemText(0, 0), QStringLiteral("2"));
    grid.SetItemText(1, 0, QStringLiteral("七"));
    grid.SetItemText(2, 0, QStringLiteral("40"));
    EXPECT_EQ(grid.SumColumn(QStringLiteral("序列号")), 42);

    const int normal = grid.rowHeight(0);
    grid.SetCellMargin(1.2);
    EXPECT_GT(grid.rowHeight(0), normal);
}

TEST_F(Grid, ColumnsWidenToTheirTextButNeverBelowTheirSetWidth)
{
    settle();
    EXPECT_EQ(grid.columnWidth(0), 60);
    grid.SetItemText(0, 1, QStringLiteral("广州天河区某某制衣有限公司第二分厂"));
    grid.SetItemText(1, 2, QString(200, QLatin1Char('W')));
    settle();
    const int needed = grid.fontMetrics().horizontalAdvance(grid.GetItemText(0, 1));
    EXPECT_GT(grid.columnWidth(1), needed);
    EXPECT_EQ(grid.columnWidth(2), KvGrid::kMaxFitWidth);
    EXPECT_TRUE(grid.isColumnHidden(3));

    // A refill with short texts goes back to the set widths.
    grid.DeleteAllItems();
    grid.AppendItem({QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("乙")});
    settle();
    EXPECT_EQ(grid.columnWidth(1), 80);
    EXPECT_EQ(grid.columnWidth(2), 80);

    grid.SetFitToContents(false);
    grid.SetItemText(0, 1, QStringLiteral("广州天河区某某制衣有限公司第二分厂"));
    settle();
    EXPECT_EQ(grid.columnWidth(1), 80);
}

TEST_F(Grid, ColumnsAndRowsAddedTogether)
{
    grid.InsertColumns({{"数量", 50}, {"编号", 0}});
    ASSERT_EQ(grid.GetColumnCount(), 6);
    EXPECT_EQ(grid.GetItemText(1, 4), QString());
    EXPECT_EQ(grid.columnWidth(4), 50);
    EXPECT_TRUE(grid.isColumnHidden(5));
    grid.AppendItems({{QStringLiteral("3"), QStringLiteral("王五")}, {QStringLiteral("4")}});
    ASSERT_EQ(grid.GetItemCount(), 4);
    EXPECT_EQ(grid.GetItemText(2, 1), QStringLiteral("王五"));
    EXPECT_EQ(grid.rows().rowCells(3).size(), 6);
}

// A plain cell is drawn from kept text; it must look as the style draws it: the same
// place, colour, highlight and elision.
TEST_F(Grid, CellsLookAsTheStyleDrawsThem)
{
    struct Case {
        QString text;
        int width;
        QStyle::State state;
    };
    const QStyle::State on = QStyle::State_Enabled | QStyle::State_Active;
    const QList<Case> cases = {
        {QStringLiteral("广州天河制衣厂 2026-12-03"), 240, on},
        {QStringLiteral("广州天河制衣厂 2026-12-03"), 240, on | QStyle::State_Selected},
        {QStringLiteral("已停止合作"), 120, QStyle::State_None},
        {QStringLiteral("大批量，急单多 W"), 120, QStyle::State_Enabled},
        {QStringLiteral("广州天河区某某制衣有限公司第二分厂"), 90, on},  // elided
    };
    GridDelegate fast;
    QStyledItemDelegate styled;
    for (const Case& c : cases) {
        grid.SetItemText(0, 1, c.text);
        QStyleOptionViewItem option;
        option.initFrom(&grid);
        option.state = c.state;
        option.rect = QRect(0, 0, c.width, grid.rowHeight(0));
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.textElideMode = Qt::ElideRight;
        option.widget = &grid;
        const auto draw = [&](const QAbstractItemDelegate& delegate) {
            QImage image(option.rect.size(), QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setFont(grid.font());
            delegate.paint(&painter, option, grid.model()->index(0, 1));
            return image;
        };
        EXPECT_EQ(draw(fast), draw(styled)) << c.text.toStdString() << " state " << int(c.state);
    }
}

TEST_F(Grid, SelectionFocusAndClicks)
{
    QSignalSpy clicked(&grid, &KvGrid::rowClicked);
    EXPECT_EQ(grid.GetSelectedRow(), -1);
    grid.SelectRow(1);
    EXPECT_EQ(grid.GetSelectedRow(), 1);
    EXPECT_EQ(grid.GetFocusedRow(), 1);
    grid.SelectRow(-1);
    EXPECT_EQ(grid.GetSelectedRow(), -1);
    EXPECT_EQ(grid.GetFocusedRow(), -1);

    const QRect second = grid.visualRect(grid.model()->index(1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.last().at(0).toInt(), 1);
    EXPECT_EQ(grid.GetSelectedRow(), 1);

    // A click beside the rows reports -1 and leaves nothing selected or focused.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(second.center().x(), second.bottom() + 60));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.last().at(0).toInt(), -1);
    EXPECT_EQ(grid.GetSelectedRow(), -1);
    EXPECT_EQ(grid.GetFocusedRow(), -1);

    // Deleting the selected row leaves no selection behind.
    grid.SelectRow(0);
    grid.DeleteItem(0);
    EXPECT_EQ(grid.GetSelectedRow(), -1);
    EXPECT_EQ(grid.GetItemCount(), 1);
}

class GridFill : public kvtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        grid.InsertColumn(QStringLiteral("流水号"), 60);
        grid.InsertColumn(QStringLiteral("上一号"), 60);
        grid.InsertColumn(QStringLiteral("数量"), 60);
    }
    KvGrid grid;
};

TEST_F(GridFill, TakesAtMostTheCapAndLeavesNullCellsEmpty)
{
    db().exec(
        QStringLiteral("insert into kvc_record_procedure (货单号, 上一号, 工作站, 数量) "
                       "select seq, if(seq = 2, null, seq - 1), '洗水', seq from seq_1_to_1500"));
    grid.AppendItem({QStringLiteral("旧")});
    const FillResult r =
        grid.Fill(g_sqlTool,
                  g_sqlTool.Format("select 流水号, 上一号, 数量 from %s order by 流水号", tables::procedure));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.total, 1500u);
    EXPECT_EQ(r.shown, kListCap);
    ASSERT_EQ(grid.GetItemCount(), kListCap);
    EXPECT_EQ(grid.GetItemText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(grid.GetItemText(1, 1), QString());
    EXPECT_EQ(grid.GetItemText(kListCap - 1, 2), QStringLiteral("1024"));

    // Without clearing, rows are added after the ones there.
    const FillResult more = grid.Fill(
        g_sqlTool, g_sqlTool.Format("select 流水号, 上一号, 数量 from %s where 流水号=7", tables::procedure),
        false);
    ASSERT_TRUE(more.ok());
    EXPECT_EQ(grid.GetItemCount(), kListCap + 1);
    EXPECT_EQ(grid.GetItemText(kListCap, 0), QStringLiteral("7"));
}

TEST_F(GridFill, AFilledListHasItsWidthsBeforeAnyEventRuns)
{
    db().exec(
        QStringLiteral("insert into kvc_record_procedure (货单号, 工作站, 数量) values (1, '洗水', 5)"));
    const QString wide = QStringLiteral("广州天河区某某制衣有限公司第二分厂");
    const FillResult r =
        grid.Fill(g_sqlTool, g_sqlTool.Format("select 流水号, '%s', 数量 from %s", wide, tables::procedure));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    // Nothing has been processed since: the list would be painted with these widths.
    EXPECT_GT(grid.columnWidth(1), grid.fontMetrics().horizontalAdvance(wide));
    EXPECT_EQ(grid.columnWidth(0), 60);
}

TEST_F(GridFill, RefusesAResultOfOtherWidthAndReportsAFailedQuery)
{
    db().exec(
        QStringLiteral("insert into kvc_record_procedure (货单号, 工作站, 数量) values (1, '洗水', 5)"));
    grid.AppendItem({QStringLiteral("旧")});
    FillResult r = grid.Fill(g_sqlTool, g_sqlTool.Format("select 流水号, 数量 from %s", tables::procedure));
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.message, QStringLiteral("记录集与表格控件列数不符"));
    EXPECT_EQ(r.caption, QStringLiteral("错误"));
    EXPECT_EQ(grid.GetItemCount(), 0);

    r = grid.Fill(g_sqlTool, g_sqlTool.Format("select 流水号, 上一号, 没有这列 from %s", tables::procedure));
    EXPECT_EQ(r.code, -1);
    EXPECT_EQ(r.caption, QStringLiteral("Error"));
    EXPECT_TRUE(r.message.contains(QStringLiteral("没有这列"))) << r.message.toStdString();
}

}  // namespace

namespace {

TEST(GridInDialog, EnterThatEndsAnEditDoesNotReachTheDialogsButtons)
{
    QDialog dialog;
    auto* grid = new KvGrid(&dialog);
    auto* button = new QPushButton(QStringLiteral("保存"), &dialog);
    button->setDefault(true);
    grid->InsertColumn(QStringLiteral("账号"), 80);
    grid->SetTextEditor(0);
    grid->AppendItem({QStringLiteral("a")});
    grid->setGeometry(0, 0, 200, 150);
    button->move(0, 160);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy pressed(button, &QPushButton::clicked);
    QSignalSpy ended(grid, &KvGrid::editEnded);

    const QModelIndex i = grid->model()->index(0, 0);
    grid->setCurrentIndex(i);
    grid->edit(i);
    settle();
    auto* edit = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("b"));
    QTest::keyClick(edit, Qt::Key_Enter);
    settle();
    EXPECT_EQ(grid->GetItemText(0, 0), QStringLiteral("b"));
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
