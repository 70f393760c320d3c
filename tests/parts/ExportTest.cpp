// The three export layouts, byte for byte, and what the export buttons do with the file.
#include "db/Gbk.h"
#include "db/ListModel.h"
#include "db/Rows.h"
#include "parts/Export.h"
#include "support/ExportTarget.h"
#include "support/Printers.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

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

}  // namespace

TEST(Export, LayoutsByteForByte)
{
    ListModel list;
    fill(list);
    EXPECT_EQ(listText(list, Layout::ListSemicolon), gbk("序号;名称;\r\n1;石磨;\r\n2;;\r\n\r\n"));
    EXPECT_EQ(listText(list, Layout::ListComma), gbk("1,石磨,\r\n2,,\r\n\r\n"));

    // Cells are cut on whole characters: 511 bytes in the semicolon layout, 99 in the comma one.
    ListModel wide;
    wide.addColumn(QStringLiteral("说明"), 60);
    wide.appendRow({QString(300, QChar(0x4E2D))});  // 600 bytes
    EXPECT_EQ(listText(wide, Layout::ListSemicolon).size(), 7 + 510 + 1 + 2 + 2);
    EXPECT_EQ(listText(wide, Layout::ListComma).size(), 98 + 1 + 2 + 2);

    // The result layout: field names, the first titled 序列号; a NULL adds nothing, not even ";".
    const Rows rows(
        {QStringLiteral("任务号"), QStringLiteral("姓名"), QStringLiteral("共计")},
        {Row({"7", "", "12.5"}, {false, true, false}), Row({"8", "张三", "0"}, {false, false, false})}, 2);
    EXPECT_EQ(resultText(rows), gbk("序列号;姓名;共计;\r\n7;12.5;\r\n8;张三;0;\r\n"));
    EXPECT_TRUE(listText(ListModel(), Layout::ListSemicolon).isEmpty());
}

TEST(Export, ButtonsAppendAskForTheFileAndWriteNothingWhenRefusedOrCancelled)
{
    QTemporaryDir dir;
    kvtest::PromptScope boxes;
    ListModel list;
    fill(list);
    const QString base = dir.filePath(QStringLiteral("对账"));
    const QString file = base + QStringLiteral(".txt");
    {
        kvtest::ExportTarget target(base);
        EXPECT_TRUE(reportExport(exportList(nullptr, list, Layout::ListComma)));
        EXPECT_TRUE(reportExport(exportList(nullptr, list, Layout::ListComma)));
        EXPECT_EQ(boxes.prompt.texts(), (QStringList{"导出完毕", "导出完毕"}));
        EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("提示"));
        // Appended, not replaced.
        EXPECT_EQ(read(file), gbk("1,石磨,\r\n2,,\r\n\r\n1,石磨,\r\n2,,\r\n\r\n"));

        // An empty list: refused before anything is asked.
        boxes.prompt.clear();
        EXPECT_FALSE(reportExport(exportList(nullptr, ListModel(), Layout::ListSemicolon)));
        EXPECT_EQ(boxes.prompt.texts(), QStringList{"没有内容可被导出"});
        EXPECT_EQ(target.asked, 2);
    }
    {
        // Cancel writes nothing, not even a file named ".txt".
        kvtest::ExportTarget cancel{QString()};
        boxes.prompt.clear();
        EXPECT_EQ(exportList(nullptr, list, Layout::ListSemicolon).kind(), Outcome::Kind::Cancelled);
        EXPECT_FALSE(reportExport(exportList(nullptr, list, Layout::ListSemicolon)));
        EXPECT_TRUE(boxes.prompt.boxes.isEmpty());
        EXPECT_FALSE(QFile::exists(QStringLiteral(".txt")));
    }
    {
        kvtest::ExportTarget nowhere(dir.filePath(QStringLiteral("missing/x")));
        EXPECT_FALSE(reportExport(exportList(nullptr, list, Layout::ListSemicolon)));
        EXPECT_EQ(boxes.prompt.last().text, QStringLiteral("导出文件发生错误"));
        EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("错误"));
    }
}
