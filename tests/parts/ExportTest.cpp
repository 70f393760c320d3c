// The export writer: the three text layouts byte for byte, the workbook as a spreadsheet reads
// it, what the export buttons ask and append, and that a stopped or failed export leaves the
// file as it was.
#include "db/Gbk.h"
#include "db/ListModel.h"
#include "db/Rows.h"
#include "db/mySQLTool.h"
#include "parts/Export.h"
#include "support/DbTest.h"
#include "support/ExportTarget.h"
#include "support/ScriptedPrompt.h"
#include "support/Workbook.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

using namespace exporting;

namespace {

QByteArray gbk(const char* utf8)
{
    QByteArray out;
    EXPECT_TRUE(Gbk::encode(QString::fromUtf8(utf8), out));
    return out;
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void fill(ListModel& list)
{
    list.addColumn(QStringLiteral("序号"), 40);
    list.addColumn(QStringLiteral("名称"), 0);  // hidden columns are exported too
    list.appendRow({QStringLiteral("1"), QStringLiteral("石磨")});
    list.appendRow({QStringLiteral("2"), QString()});
}

Document listDocument(const ListModel& list, const QString& sheet = QStringLiteral("清单"))
{
    return Document{
        sheet, {}, {Table{columnsOf(list, {Kind::Integer}), listPages(list), quint64(list.rows())}}};
}

// Pages of fixed rows, the last one failing when `failAt` is reached.
Pages fixedPages(const QVector<Rows>& pages, int failAt = -1)
{
    auto next = std::make_shared<int>(0);
    return [pages, next, failAt]() {
        const int i = (*next)++;
        if (i == failAt)
            return Rows::failure(QStringLiteral("连接中断"));
        return i < pages.size() ? pages.at(i) : Rows(pages.first().fields(), {}, 0);
    };
}

Row row(QStringList cells)
{
    QVector<bool> nulls;
    for (const QString& c : cells)
        nulls.append(c.isNull());
    return Row(cells, nulls);
}

}  // namespace

TEST(Export, TextLayoutsByteForByte)
{
    QTemporaryDir dir;
    ListModel list;
    fill(list);
    ListModel wide;  // cells are cut on whole characters
    wide.addColumn(QStringLiteral("说明"), 60);
    wide.appendRow({QString(300, QChar(0x4E2D))});  // 600 bytes
    const auto zhong = [](int n) { return gbk("中").repeated(n); };
    const QStringList fields{QStringLiteral("任务号"), QStringLiteral("姓名"), QStringLiteral("共计")};
    const Rows result(fields, {row({"7", QString(), "12.5"}), row({"8", "张三", "0"})}, 2);
    const Document resultDocument{QString(), {}, {Table{{}, fixedPages({result}), 2}}};
    const struct {
        Layout layout;
        Document document;
        QByteArray bytes;
    } cases[] = {
        {Layout::ListSemicolon, listDocument(list), gbk("序号;名称;\r\n1;石磨;\r\n2;;\r\n\r\n")},
        {Layout::ListComma, listDocument(list), gbk("1,石磨,\r\n2,,\r\n\r\n")},
        {Layout::ListSemicolon, listDocument(wide), gbk("说明;\r\n") + zhong(255) + ";\r\n\r\n"},
        {Layout::ListComma, listDocument(wide), zhong(49) + ",\r\n\r\n"},
        // Field names, the first titled 序列号; a NULL adds nothing, not even ";".
        {Layout::ResultSemicolon, resultDocument, gbk("序列号;姓名;共计;\r\n7;12.5;\r\n8;张三;0;\r\n")},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::number(++n));
        ASSERT_TRUE(writeText(path, c.layout, c.document));
        EXPECT_EQ(read(path), c.bytes) << n;
    }
}

TEST(Export, ButtonsAskAppendAndRefuse)
{
    QTemporaryDir dir;
    kvtest::PromptScope boxes;
    ListModel list;
    fill(list);
    const QString base = dir.filePath(QStringLiteral("对账"));
    const auto exportIt = [&](Layout layout) {
        return reportExport(exportList(nullptr, list, layout, QStringLiteral("对账"), columnsOf(list, {})));
    };
    {
        kvtest::ExportTarget target(base);
        EXPECT_TRUE(exportIt(Layout::ListComma));
        EXPECT_TRUE(exportIt(Layout::ListComma));
        EXPECT_EQ(boxes.prompt.texts(), (QStringList{"导出完毕", "导出完毕"}));
        EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("提示"));
        // Appended, not replaced; ".txt" always added.
        EXPECT_EQ(read(base + QStringLiteral(".txt")), gbk("1,石磨,\r\n2,,\r\n\r\n1,石磨,\r\n2,,\r\n\r\n"));
        EXPECT_EQ(target.expected, 2u);

        // An empty list: refused before anything is asked.
        boxes.prompt.clear();
        EXPECT_FALSE(reportExport(exportList(nullptr, ListModel(), Layout::ListSemicolon, QString(), {})));
        EXPECT_EQ(boxes.prompt.texts(), QStringList{"没有内容可被导出"});
        EXPECT_EQ(target.asked, 2);
    }
    {
        // A workbook gets ".xlsx" once, and replaces the file.
        kvtest::ExportTarget book(base + QStringLiteral(".xlsx"), Format::Workbook);
        EXPECT_TRUE(exportIt(Layout::ListSemicolon));
        EXPECT_TRUE(exportIt(Layout::ListSemicolon));
        EXPECT_EQ(kvtest::readWorkbook(base + QStringLiteral(".xlsx")).value(0).rows.size(), 3);
        EXPECT_FALSE(QFile::exists(base + QStringLiteral(".xlsx.xlsx")));
    }
    {
        // Cancel writes nothing, not even a file named ".txt".
        kvtest::ExportTarget cancel{QString()};
        boxes.prompt.clear();
        EXPECT_FALSE(exportIt(Layout::ListSemicolon));
        EXPECT_TRUE(boxes.prompt.boxes.isEmpty());
        EXPECT_FALSE(QFile::exists(QStringLiteral(".txt")));
    }
    for (const Format f : {Format::Text, Format::Workbook}) {
        kvtest::ExportTarget nowhere(dir.filePath(QStringLiteral("missing/x")), f);
        EXPECT_FALSE(exportIt(Layout::ListSemicolon));
        EXPECT_EQ(boxes.prompt.last().text, QStringLiteral("导出文件发生错误"));
        EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("错误"));
    }
}

TEST(Export, AFailedOrStoppedExportLeavesTheFileAsItWas)
{
    const QStringList fields{QStringLiteral("序号")};
    const Rows page(fields, {row({"1"}), row({"2"})}, 2);
    for (const Format format : {Format::Text, Format::Workbook}) {
        for (const bool stop : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("x"));
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("earlier export\r\n");
            old.close();
            const Document document{
                QStringLiteral("s"), {}, {Table{{}, fixedPages({page, page}, stop ? -1 : 1), 4}}};
            const Progress progress = [stop](quint64 rows) { return !stop || rows < 2; };
            const Outcome o = format == Format::Text
                                  ? writeText(path, Layout::ResultSemicolon, document, progress)
                                  : writeWorkbook(path, document, progress);
            EXPECT_EQ(o.kind(), stop ? Outcome::Kind::Cancelled : Outcome::Kind::Failed);
            EXPECT_EQ(read(path), QByteArray("earlier export\r\n"));
            // No temporary file stays behind.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"x"});
        }
    }
}

TEST(Export, AWorkbookHoldsTypedCellsUnderBoldFrozenCaptions)
{
    QTemporaryDir dir;
    ListModel list;
    for (const char* c : {"任务号", "姓名", "完成时间", "数量", "共计", "备注"})
        list.addColumn(QString::fromUtf8(c), 60);
    list.appendRow({"12", "何美玲", "2026-12-02 10:00:00", "2.5", "1234.5", "0012"});
    list.appendRow({"x9", "", "1899-01-01 00:00:00", "", "abc", ""});
    const Columns columns =
        columnsOf(list, {Kind::Integer, Kind::Text, Kind::Moment, Kind::Number, Kind::Money, Kind::Text});
    const QString path = dir.filePath(QStringLiteral("a.xlsx"));
    ASSERT_TRUE(writeWorkbook(
        path, Document{QStringLiteral("计件[查询]"), {}, {Table{columns, listPages(list), 2}}}));
    const QVector<kvtest::WorkbookSheet> book = kvtest::readWorkbook(path);
    ASSERT_EQ(book.size(), 1);
    const kvtest::WorkbookSheet& s = book.first();
    EXPECT_EQ(s.name, QStringLiteral("计件_查询_"));
    EXPECT_EQ(s.freeze, QStringLiteral("A2"));
    EXPECT_EQ(s.texts(0), (QStringList{"任务号", "姓名", "完成时间", "数量", "共计", "备注"}));
    EXPECT_TRUE(s.rows[0][0].bold && s.rows[0][5].bold);
    const struct {
        int row, column;
        const char *type, *text, *format;
    } cells[] = {
        {1, 0, "int", "12", "0"},
        {1, 1, "str", "何美玲", "General"},
        {1, 2, "datetime", "2026-12-02 10:00:00", "yyyy-mm-dd hh:mm:ss"},
        {1, 3, "float", "2.5", "General"},
        {1, 4, "float", "1234.5", "#,##0.00"},
        {1, 5, "str", "0012", "General"},  // text keeps its leading zeros
        // What is not of its column's kind stays text; empty cells stay empty.
        {2, 0, "str", "x9", "General"},
        {2, 1, "none", "", "General"},
        {2, 2, "str", "1899-01-01 00:00:00", "General"},
        {2, 4, "str", "abc", "General"},
    };
    for (const auto& c : cells) {
        const kvtest::WorkbookCell& got = s.rows.value(c.row).value(c.column);
        EXPECT_EQ(got.type, QString::fromLatin1(c.type)) << c.row << "," << c.column;
        EXPECT_EQ(got.text(), QString::fromUtf8(c.text)) << c.row << "," << c.column;
        EXPECT_EQ(got.format, QString::fromLatin1(c.format)) << c.row << "," << c.column;
    }
    // Wide enough for the moment and for the name in CJK characters.
    EXPECT_GE(s.widths.value(2), 19);
    EXPECT_GE(s.widths.value(1), 6);

    // Rows beyond a sheet go on to the next, under the same captions.
    ListModel many;
    many.addColumn(QStringLiteral("序号"), 40);
    for (int i = 1; i <= 5; ++i)
        many.appendRow({QString::number(i)});
    ASSERT_TRUE(writeWorkbook(path, listDocument(many, QStringLiteral("清单")), {}, 3));
    const QVector<kvtest::WorkbookSheet> split = kvtest::readWorkbook(path);
    ASSERT_EQ(split.size(), 3);
    EXPECT_EQ(split[1].name, QStringLiteral("清单 (2)"));
    EXPECT_EQ(split[1].texts(0), QStringList{"序号"});
    EXPECT_EQ(split[1].texts(2), QStringList{"4"});
    EXPECT_EQ(split[2].rows.size(), 2);
}

namespace {

class StreamedExport : public kvtest::DbTest {};

}  // namespace

TEST_F(StreamedExport, RowsComeFromTheServerPageByPageAndAStopEndsTheRead)
{
    QTemporaryDir dir;
    const Statement rows = g_sqlTool.Format(
        "select seq 序号, concat('件', seq) 名称, seq / 4 数量 from seq_1_to_3000 order by seq");
    const auto document = [&] {
        return Document{QStringLiteral("s"),
                        {},
                        {Table{{{QStringLiteral("序号"), Kind::Integer},
                                {QStringLiteral("名称"), Kind::Text},
                                {QStringLiteral("数量"), Kind::Number}},
                               streamedPages(g_sqlTool, rows),
                               3000}}};
    };
    const QString path = dir.filePath(QStringLiteral("s.xlsx"));
    QVector<quint64> told;
    ASSERT_TRUE(writeWorkbook(path, document(), [&](quint64 n) {
        told.append(n);
        return true;
    }));
    EXPECT_EQ(told, (QVector<quint64>{1024, 2048, 3000}));
    const kvtest::WorkbookSheet s = kvtest::readWorkbook(path).value(0);
    const QList<QStringList> expected =
        db().rows(QStringLiteral("select seq, concat('件', seq), trim(trailing '.' from trim(trailing '0' "
                                 "from seq / 4)) from seq_1_to_3000"));
    ASSERT_EQ(s.rows.size(), 3001);
    for (int r = 0; r < 3000; r += 999)
        EXPECT_EQ(s.texts(r + 1), expected.at(r)) << r;

    // Stopped after the first page: the file stays, the connection of the read is ended and
    // the session is free.
    const QString connections =
        QStringLiteral("select count(*) from information_schema.processlist where db='%1'").arg(db().name());
    const QString before = db().scalar(connections);
    EXPECT_EQ(writeText(path, Layout::ResultSemicolon, document(), [](quint64) { return false; }).kind(),
              Outcome::Kind::Cancelled);
    EXPECT_EQ(kvtest::readWorkbook(path).value(0).rows.size(), 3001);
    for (int wait = 0; wait < 100 && db().scalar(connections) != before; ++wait)
        QThread::msleep(50);
    EXPECT_EQ(db().scalar(connections), before);
    EXPECT_TRUE(g_sqlTool.Read(g_sqlTool.Format("select 1")).ok());

    // A statement the server refuses writes nothing.
    const Document refused{
        QString(), {}, {Table{{}, streamedPages(g_sqlTool, g_sqlTool.Format("select * from 无此表")), 1}}};
    const Outcome o = writeText(dir.filePath(QStringLiteral("t")), Layout::ResultSemicolon, refused);
    EXPECT_EQ(o.kind(), Outcome::Kind::Failed);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("t"))));
}
