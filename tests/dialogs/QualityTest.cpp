#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/quality/Dlg_Quality.h"
#include "grid/KvGrid.h"
#include "support/DbTest.h"
#include "support/ExportTarget.h"
#include "support/ScreenDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>

using kvtest::column;

namespace {

// Columns of the record lists.
enum { Serial = 0, Client = 1, Count = 3, Reason = 4, Responsible = 5, Remark = 7, Handled = 8 };

const QString kPending = QStringLiteral("您编辑了现有的记录，请先保存或放弃编辑结果");

class QualityDesk : public kvtest::DemoDbTest, public kvtest::ScreenDriver {
public:
    // The identity that uses this screen, with its database role.
    QualityDesk() { signInAs(QStringLiteral("调度")); }

protected:
    quint64 addLoss(const QString& reason, const QString& date = QStringLiteral("2026-12-01 10:00:00"),
                    int handled = 0, int client = 2)
    {
        db().exec(QStringLiteral("insert into kvc_record_quality (客户号, 日期, 数量, 原因, 责任人, 记录人, "
                                 "备注, 处理) values (%1, '%2', 4, '%3', '郑小军', '张志明', '', %4)")
                      .arg(client)
                      .arg(date, reason)
                      .arg(handled));
        return db().scalar(QStringLiteral("select max(序列号) from kvc_record_quality")).toULongLong();
    }
    Dlg_Quality& open() { return openScreen(dlg_); }
    QString caption() { return child<QLabel>("recordsLabel")->text(); }
    void fillForm(const QString& count)
    {
        ASSERT_TRUE(clickRowWith(grid("clientList"), 1, QStringLiteral("佛山南海牛仔服饰")));
        type("countEdit", count);
        choose("responsibleCombo", QStringLiteral("郑小军"));
        choose("recorderCombo", QStringLiteral("刘晓燕"));
    }
    void editMode()
    {
        click("editModeRadio");
        ASSERT_FALSE(grid("editList")->isHidden());
    }
    // Update statements this session has sent so far.
    int updatesSent()
    {
        return g_sqlTool.Read(g_sqlTool.Format("show session status like 'Com_update'")).first().toInt(1);
    }

    std::unique_ptr<Dlg_Quality> dlg_;
};

}  // namespace

TEST_F(QualityDesk, TheHandledColumnIsAddedWithDefaultZeroWhenMissingAndLeftAloneWhenThere)
{
    struct Case {
        const char* name;
        bool present;
        int rows;
    };
    const Case cases[] = {{"missing, rows", false, 2},
                          {"missing, empty", false, 0},
                          {"present, rows", true, 2},
                          {"present, empty", true, 0}};
    ASSERT_TRUE(g_sqlTool.Exec("set session sql_mode='STRICT_ALL_TABLES'"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(
            QStringLiteral(
                "drop table kvc_record_quality; create table kvc_record_quality (序列号 bigint unsigned "
                "not null auto_increment primary key, 客户号 bigint unsigned not null default 0, 日期 "
                "varchar(19) not null default '', 数量 int not null default 0, 原因 varchar(255) not "
                "null default '', 责任人 varchar(50) not null default '', 记录人 varchar(50) not null "
                "default '', 经办人 varchar(50) not null default '', 备注 varchar(255) not null "
                "default ''%1) default charset=gbk")
                .arg(c.present ? QStringLiteral(", 处理 int unsigned not null default 0 comment 'kept'")
                               : QString()));
        for (int i = 0; i < c.rows; ++i)
            db().exec(QStringLiteral("insert into kvc_record_quality (客户号, 数量%1) values (1, 2%2)")
                          .arg(c.present ? QStringLiteral(", 处理") : QString(), c.present ? ", 1" : ""));
        boxes().clear();
        open();
        EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();
        EXPECT_EQ(
            db().rows(QStringLiteral("select column_default, column_comment from information_schema.columns "
                                     "where table_schema=database() and table_name='kvc_record_quality' "
                                     "and column_name='处理'")),
            (QList<QStringList>{{"0", c.present ? "kept" : ""}}));
        // Rows there before: open when the column came now, as they were otherwise.
        EXPECT_EQ(db().count(QStringLiteral("from kvc_record_quality where 处理=%1").arg(c.present ? 1 : 0)),
                  c.rows);
        EXPECT_EQ(grid("entryList")->GetItemCount(), c.present ? 0 : c.rows);

        // An entry leaves 处理 out; in strict mode it goes in, open.
        fillForm(QStringLiteral("2"));
        click("enterButton");
        EXPECT_EQ(boxes().last().text, QStringLiteral("记录完毕"));
        EXPECT_EQ(
            db().scalar(QStringLiteral("select 处理 from kvc_record_quality order by 序列号 desc limit 1")),
            QStringLiteral("0"));
    }
}

TEST_F(QualityDesk, OpensInEntryModeWithTheOpenRecordsAndTheChoices)
{
    const quint64 first = addLoss(QStringLiteral("破洞"));
    addLoss(QStringLiteral("色差"), QStringLiteral("2026-12-02 10:00:00"), 1);
    const quint64 removedClient =
        addLoss(QStringLiteral("污渍"), QStringLiteral("2026-12-03 10:00:00"), 0, 99);
    open();

    KvGrid* entry = grid("entryList");
    EXPECT_FALSE(entry->isHidden());
    EXPECT_TRUE(grid("editList")->isHidden());
    // Losses are listed with their customer: one whose customer is gone is neither listed nor
    // counted, so that the caption tells what the list shows.
    EXPECT_EQ(caption(), QStringLiteral("共找到1条记录，显示其中1条"));
    EXPECT_EQ(column(entry, Serial), QStringList{QString::number(first)});
    EXPECT_NE(removedClient, first);
    EXPECT_EQ(column(entry, Client), QStringList{QStringLiteral("佛山南海牛仔服饰")});

    EXPECT_TRUE(child<QRadioButton>("entryModeRadio")->isChecked());
    EXPECT_FALSE(child<QPushButton>("saveEditsButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("discardEditsButton")->isHidden());
    for (const char* radio : {"qualityDatesAfter", "qualityDatesBefore", "qualityDatesWithin"})
        EXPECT_FALSE(child<QRadioButton>(radio)->isChecked()) << radio;
    EXPECT_FALSE(child<QDateEdit>("qualityDatesFirstDate")->isEnabled());
    EXPECT_FALSE(child<QDateEdit>("qualityDatesSecondDate")->isEnabled());

    EXPECT_EQ(grid("clientList")->GetItemCount(), 6);  // the active ones
    QComboBox* recorder = child<QComboBox>("recorderCombo");
    EXPECT_EQ(recorder->count(), 2);
    EXPECT_EQ(recorder->itemText(1), QStringLiteral("刘晓燕"));
    EXPECT_TRUE(recorder->currentText().isEmpty());
    EXPECT_EQ(child<QComboBox>("responsibleCombo")->count(),
              db().count(QStringLiteral("from kvc_record_member where 激活=1")));
}

TEST_F(QualityDesk, AListShowsAtMostItsShareAndMarkingAllOfItIsOneStatement)
{
    db().exec(
        QStringLiteral("insert into kvc_record_quality (客户号, 日期, 数量, 原因) "
                       "select 1, '2026-12-01 10:00:00', 1, concat('原因', seq) from seq_1_to_1500"));
    open();
    KvGrid* entry = grid("entryList");
    EXPECT_EQ(entry->GetItemCount(), 1024);
    EXPECT_EQ(caption(),
              QStringLiteral("共找到1500条记录，显示其中1024条，有476条未予显示，欲显示超出部分请缩小"
                             "查询范围"));

    boxes().answer({false});
    click("markAllButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("确定将列表中所有记录设置为已处理吗？"));
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_quality where 处理=1")), 0);

    const int before = updatesSent();
    click("markAllButton");
    EXPECT_EQ(updatesSent() - before, 1);
    // Exactly the rows listed, the oldest 1024.
    EXPECT_EQ(db().scalar(QStringLiteral(
                  "select concat(count(*), '/', min(原因), '/', max(序列号)) from kvc_record_quality "
                  "where 处理=1")),
              QStringLiteral("1024/原因1/") +
                  db().scalar(QStringLiteral("select 序列号 from kvc_record_quality order by 序列号 "
                                             "limit 1023, 1")));
    EXPECT_EQ(entry->GetItemCount(), 476);
    EXPECT_EQ(caption(), QStringLiteral("共找到476条记录，显示其中476条"));
}

TEST_F(QualityDesk, DateConditionsCompareWithTheDayWhateverTheDesktopsDateFormat)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    addLoss(QStringLiteral("A"), QStringLiteral("2026-11-30 18:00:00"));
    addLoss(QStringLiteral("B"), QStringLiteral("2026-12-01 00:00:00"));
    addLoss(QStringLiteral("C"), QStringLiteral("2026-12-01 23:59:59"));
    addLoss(QStringLiteral("D"), QStringLiteral("2026-12-02 12:00:00"));
    addLoss(QStringLiteral("E"), QStringLiteral("2026-12-03 08:00:00"), 1);
    open();

    struct Case {
        const char* radio;  // none: no date condition
        QDate first, second;
        bool showHandled;
        QStringList reasons;
    };
    const Case cases[] = {
        {nullptr, {}, {}, true, {"A", "B", "C", "D", "E"}},
        {"qualityDatesBefore", {2026, 12, 2}, {}, false, {"A", "B", "C"}},
        {"qualityDatesBefore", {2026, 12, 1}, {}, false, {"A"}},
        // After a day takes that day in; a range takes its first day but not its last.
        {"qualityDatesAfter", {}, {2026, 12, 1}, false, {"B", "C", "D"}},
        {"qualityDatesAfter", {}, {2026, 12, 1}, true, {"B", "C", "D", "E"}},
        {"qualityDatesWithin", {2026, 12, 1}, {2026, 12, 1}, false, {}},
        {"qualityDatesWithin", {2026, 11, 30}, {2026, 12, 2}, false, {"A", "B", "C"}},
        {"qualityDatesWithin", {2026, 12, 1}, {2026, 12, 3}, true, {"B", "C", "D"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio ? c.radio : "none");
        if (c.radio)
            click(c.radio);
        if (c.first.isValid())
            child<QDateEdit>("qualityDatesFirstDate")->setDate(c.first);
        if (c.second.isValid())
            child<QDateEdit>("qualityDatesSecondDate")->setDate(c.second);
        child<QCheckBox>("showHandledCheck")->setChecked(c.showHandled);
        click("queryButton");
        EXPECT_EQ(column(grid("entryList"), Reason), c.reasons);
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(QualityDesk, AnEntryIsCheckedInOrderAndZeroOrNonNumericCountsAreRefused)
{
    open();
    const QStringList steps[] = {
        {"", "", "", "", "请选择客户"},
        {"佛山南海牛仔服饰", "", "", "", "请输入数量"},
        {"佛山南海牛仔服饰", "3", "", "", "请选择责任人"},
        {"佛山南海牛仔服饰", "3", "郑小军", "", "请选择记录人"},
        {"佛山南海牛仔服饰", "0", "郑小军", "刘晓燕", "错误的数量"},
        {"佛山南海牛仔服饰", "abc", "郑小军", "刘晓燕", "错误的数量"},
        {"佛山南海牛仔服饰", "3件", "郑小军", "刘晓燕", "错误的数量"},
        {"佛山南海牛仔服饰", "-2", "郑小军", "刘晓燕", "错误的数量"},
        {"佛山南海牛仔服饰", "99999999999", "郑小军", "刘晓燕", "错误的数量"},
    };
    for (const QStringList& s : steps) {
        SCOPED_TRACE(s.join(QLatin1Char('|')).toStdString());
        if (!s[0].isEmpty()) {
            ASSERT_TRUE(clickRowWith(grid("clientList"), 1, s[0]));
        }
        type("countEdit", s[1]);
        if (!s[2].isEmpty())
            choose("responsibleCombo", s[2]);
        if (!s[3].isEmpty())
            choose("recorderCombo", s[3]);
        click("enterButton");
        EXPECT_EQ(boxes().last().text, s[4]);
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    }
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_quality")), 0);

    // A click beside the customers keeps the one chosen.
    clickBeside(grid("clientList"));
    EXPECT_EQ(text("clientNameBox"), QStringLiteral("佛山南海牛仔服饰"));
    type("countEdit", QStringLiteral(" 3 "));
    child<QPlainTextEdit>("reasonEdit")->setPlainText(QStringLiteral("破'洞\\"));
    child<QPlainTextEdit>("remarkEdit")->setPlainText(QStringLiteral("返工"));
    click("enterButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("记录完毕"));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(
        db().rows(QStringLiteral(
            "select 客户号, 日期, 数量, 原因, 责任人, 记录人, 经办人, 备注, 处理 from kvc_record_quality")),
        (QList<QStringList>{
            {"2", "2026-12-08 09:30:00", "3", "破'洞\\", "郑小军", "刘晓燕", "tester", "返工", "0"}}));
    EXPECT_EQ(column(grid("entryList"), Reason), QStringList{QStringLiteral("破'洞\\")});
    EXPECT_EQ(text("countEdit"), QStringLiteral(" 3 "));  // the form keeps what was typed
}

TEST_F(QualityDesk, EditsMustBeSavedOrDiscardedBeforeLeavingEditMode)
{
    addLoss(QStringLiteral("破洞"));
    addLoss(QStringLiteral("色差"));
    open();
    editMode();
    KvGrid* edit = grid("editList");
    EXPECT_TRUE(grid("entryList")->isHidden());
    EXPECT_FALSE(child<QPushButton>("enterButton")->isEnabled());
    EXPECT_FALSE(grid("clientList")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("saveEditsButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("discardEditsButton")->isHidden());

    // Typing a cell back to what it holds is no edit.
    typeCell(edit, 0, Reason, QStringLiteral("破洞"));
    click("entryModeRadio");
    EXPECT_FALSE(grid("entryList")->isHidden());
    editMode();

    typeCell(edit, 0, Reason, QStringLiteral("磨破"));
    for (const char* leave : {"entryModeRadio", "queryButton", "markAllButton", "exportButton"}) {
        SCOPED_TRACE(leave);
        boxes().clear();
        click(leave);
        ASSERT_EQ(boxes().boxes.size(), 1);
        EXPECT_EQ(boxes().last().text, kPending);
        EXPECT_TRUE(boxes().last().caption.isEmpty());
        EXPECT_TRUE(child<QRadioButton>("editModeRadio")->isChecked());
        EXPECT_FALSE(edit->isHidden());
        EXPECT_EQ(edit->GetItemText(0, Reason), QStringLiteral("磨破"));
    }
    EXPECT_EQ(db().count(QStringLiteral("from kvc_record_quality where 处理=1")), 0);

    // Closing asks too.
    boxes().answer({false});
    dlg_->reject();
    EXPECT_TRUE(dlg_->isVisible());

    boxes().answer({false});
    click("discardEditsButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("确定放弃编辑结果吗？"));
    EXPECT_EQ(edit->GetItemText(0, Reason), QStringLiteral("磨破"));
    click("discardEditsButton");
    EXPECT_EQ(edit->GetItemText(0, Reason), QStringLiteral("破洞"));
    click("entryModeRadio");
    EXPECT_FALSE(grid("entryList")->isHidden());
    EXPECT_TRUE(child<QPushButton>("discardEditsButton")->isHidden());
    EXPECT_TRUE(child<QPushButton>("enterButton")->isEnabled());
}

TEST_F(QualityDesk, SavingWritesOnlyTheChangedRowsAndNothingWhenAnotherDeskChangedOne)
{
    const quint64 r1 = addLoss(QStringLiteral("破洞"));
    const quint64 r2 = addLoss(QStringLiteral("色差"));
    const quint64 r3 = addLoss(QStringLiteral("污渍"));
    const auto row = [this](quint64 serial) {
        return db().rows(
            QStringLiteral("select 数量, 原因, 责任人, 备注, 处理 from kvc_record_quality where 序列号=%1")
                .arg(serial));
    };
    open();
    editMode();
    KvGrid* edit = grid("editList");

    // Cells this desk cannot store are refused before anything is written.
    const std::pair<int, const char*> refusals[] = {
        {Count, "0"}, {Count, "两件"}, {Handled, "2"}, {Handled, ""}};
    for (const auto& [col, value] : refusals) {
        typeCell(edit, 1, col, QString::fromUtf8(value));
        edit->SelectRow(0);
        click("saveEditsButton");
        EXPECT_EQ(boxes().last().text,
                  col == Count ? QStringLiteral("错误的数量") : QStringLiteral("处理只能填写0或1"))
            << value;
        EXPECT_EQ(edit->GetSelectedRow(), 1);
        typeCell(edit, 1, col, col == Count ? QStringLiteral("4") : QStringLiteral("0"));
    }

    // Another desk changes a row this desk leaves alone; it keeps that change.
    db().exec(QStringLiteral("update kvc_record_quality set 备注='别处改的' where 序列号=%1").arg(r3));
    typeCell(edit, 0, Reason, QStringLiteral("磨破"));
    typeCell(edit, 1, Handled, QStringLiteral("1"));
    click("saveEditsButton");
    EXPECT_EQ(row(r1), (QList<QStringList>{{"4", "磨破", "郑小军", "", "0"}}));
    EXPECT_EQ(row(r2), (QList<QStringList>{{"4", "色差", "郑小军", "", "1"}}));
    EXPECT_EQ(row(r3), (QList<QStringList>{{"4", "污渍", "郑小军", "别处改的", "0"}}));
    EXPECT_EQ(column(edit, Serial), (QStringList{QString::number(r1), QString::number(r3)}));

    // Another desk changes a row this desk edits too: nothing is saved, the edits stay.
    typeCell(edit, 0, Count, QStringLiteral("6"));
    typeCell(edit, 1, Responsible, QStringLiteral("罗俊"));
    db().exec(QStringLiteral("update kvc_record_quality set 责任人='孙文杰' where 序列号=%1").arg(r3));
    boxes().clear();
    click("saveEditsButton");
    ASSERT_EQ(boxes().boxes.size(), 1);
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("序列号%1的记录").arg(r3)))
        << boxes().last().text.toStdString();
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(row(r1), (QList<QStringList>{{"4", "磨破", "郑小军", "", "0"}}));
    EXPECT_EQ(row(r3), (QList<QStringList>{{"4", "污渍", "孙文杰", "别处改的", "0"}}));
    EXPECT_EQ(edit->GetItemText(0, Count), QStringLiteral("6"));
    EXPECT_EQ(edit->GetItemText(1, Responsible), QStringLiteral("罗俊"));
}

TEST_F(QualityDesk, MarkingTheSelectedRecordAndExportingTheShownList)
{
    const quint64 first = addLoss(QStringLiteral("破洞"));
    addLoss(QStringLiteral("色差"));
    open();
    KvGrid* entry = grid("entryList");
    click("markSelectedButton");  // nothing selected: nothing asked
    EXPECT_TRUE(boxes().boxes.isEmpty());

    clickRow(entry, 0);
    boxes().answer({false});
    click("markSelectedButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("确定将序列号%1的记录设置为已处理吗？").arg(first));
    EXPECT_EQ(entry->GetItemCount(), 2);
    clickRow(entry, 0);
    click("markSelectedButton");
    EXPECT_EQ(db().scalar(QStringLiteral("select 处理 from kvc_record_quality where 序列号=%1").arg(first)),
              QStringLiteral("1"));
    EXPECT_EQ(column(entry, Reason), QStringList{QStringLiteral("色差")});

    QTemporaryDir dir;
    kvtest::ExportTarget target(dir.filePath(QStringLiteral("losses")));
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("导出完毕"));
    QFile file(target.path + QStringLiteral(".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = Gbk::decode(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);  // header, one row, the empty line, the end
    EXPECT_EQ(lines[0], QStringLiteral("序列号;客户名称;日期;数量;原因;责任人;记录人;备注;处理;"));
    EXPECT_EQ(
        lines[1],
        QStringLiteral("%1;佛山南海牛仔服饰;2026-12-01 10:00:00;4;色差;郑小军;张志明;;0;").arg(first + 1));

    clickRow(entry, 0);
    click("markSelectedButton");
    target.asked = 0;
    click("exportButton");
    EXPECT_EQ(boxes().last().text, QStringLiteral("没有内容可被导出"));
    EXPECT_EQ(target.asked, 0);
}
