// The shipment statistics: the customers of a period with their chart, the settlement and the
// statement built from grouped reads, printing with the period of the last 显示.
#include "ShipmentFixture.h"

#include "db/Gbk.h"
#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_InquiryShip.h"
#include "dialogs/shipping/ShipmentChart.h"
#include "grid/KvGrid.h"
#include "support/ExportTarget.h"
#include "support/PdfPages.h"
#include "support/Workbook.h"

#include <QDateEdit>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

using kvtest::Ship;

class ShipStatistics : public kvtest::ShipmentFixture {
protected:
    Dlg_InquiryShip& open() { return openScreen(dlg_); }
    void setPeriod(const char* start, const char* end)
    {
        child<QDateEdit>("startDate")->setDate(QDate::fromString(QString::fromLatin1(start), Qt::ISODate));
        child<QDateEdit>("endDate")->setDate(QDate::fromString(QString::fromLatin1(end), Qt::ISODate));
    }
    // Shows November and chooses the customer.
    void showCustomer(quint64 client)
    {
        setPeriod("2026-11-01", "2026-12-01");
        click("displayButton");
        ASSERT_TRUE(clickRowWith(grid("customerList"), 0, QString::number(client)));
        ASSERT_EQ(dlg_->shownCustomer(), client);
    }
    static QList<QStringList> allRows(const KvGrid* g)
    {
        QList<QStringList> out;
        for (int r = 0; r < g->GetItemCount(); ++r)
            out << rowCells(g, r);
        return out;
    }

    std::unique_ptr<Dlg_InquiryShip> dlg_;
};

Ship at(const char* sent, const char* method, int goods, const char* price)
{
    Ship s;
    s.sent = QString::fromLatin1(sent);
    s.method = QString::fromUtf8(method);
    s.goods = goods;
    s.price = QString::fromLatin1(price);
    return s;
}

// The text as the PDF gives it back: compatibility forms folded (the full-width colon), and
// the glyph 户 shares named as 戶.
QString asPrinted(QString text)
{
    return kvtest::ideographs(text.replace(QChar(0x6237), QChar(0x6236)));
}

// A page's lines with their blanks run together, as the reader sees the columns.
QStringList simpleLines(const QString& page)
{
    QStringList out;
    for (const QString& line : kvtest::textLines(page))
        out << line.simplified();
    return out;
}

QStringList asPrinted(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << asPrinted(line);
    return out;
}

}  // namespace

TEST_F(ShipStatistics, SettlementLinesAndStatementRowsFollowMethodsAndPrices)
{
    db().exec(QStringLiteral("alter table kvc_record_ship modify 货物单价 double null"));
    struct Shipment {
        Ship ship;
        int line;  // the settlement line it is listed under; -1 for none
    };
    struct Case {
        const char* name;
        QList<Shipment> shipments;
        QList<QStringList> lines;  // 洗涤方法, 数量, 单价, 金额 of lines 0, 1, ...
        QStringList totals;        // 数量, 金额
    };
    const Case cases[] = {
        {"one method at two prices; the period's bounds; 返工",
         {{at("2026-11-01 00:00:00", "[石磨]", 7, "2.5"), -1},  // at the start: not after it
          {at("2026-11-02 09:00:00", "[石磨]", 10, "2.5"), 0},
          {at("2026-11-03 09:00:00", "[普洗]", 20, "1.5"), 2},
          {at("2026-11-04 09:00:00", "[石磨]", 30, "3"), 1},
          {at("2026-11-05 09:00:00", "[石磨]", 40, "2.5"), 0},
          {at("2026-11-06 09:00:00", "返工", 5, "2.5"), -1},
          {at("2026-11-30 23:59:59", "[普洗]", 1, "1.5"), 2},
          {at("2026-12-01 00:00:00", "[石磨]", 99, "2.5"), -1}},  // the end day is not in it
         {{"[石磨]", "50", "2.5", "125.00"},
          {"[石磨]", "30", "3", "90.00"},
          {"[普洗]", "21", "1.5", "31.50"}},
         {"101", "246.50"}},
        // Prices come in the order of their first shipment of any method.
        {"price order",
         {{at("2026-11-02 09:00:00", "返工", 1, "4"), -1},
          {at("2026-11-03 09:00:00", "[普洗]", 2, "1"), 1},
          {at("2026-11-04 09:00:00", "[普洗]", 3, "4"), 0}},
         {{"[普洗]", "3", "4", "12.00"}, {"[普洗]", "2", "1", "2.00"}},
         {"5", "14.00"}},
        // Without a price a shipment is billed once, at 0, not once for every price of its method.
        {"no price",
         {{at("2026-11-02 09:00:00", "[石磨]", 10, "2.5"), 0},
          {at("2026-11-03 09:00:00", "[石磨]", 6, "NULL"), 1},
          {at("2026-11-04 09:00:00", "[石磨]", 4, "3"), 2}},
         {{"[石磨]", "10", "2.5", "25.00"}, {"[石磨]", "6", "0", "0.00"}, {"[石磨]", "4", "3", "12.00"}},
         {"20", "37.00"}},
        // Amounts above 100,000 yuan, right to the cent.
        {"large amounts",
         {{at("2026-11-02 09:00:00", "[石磨]", 33333, "3.33"), 0},
          {at("2026-11-03 09:00:00", "[石磨]", 33333, "3.33"), 0},
          {at("2026-11-04 09:00:00", "[石磨]", 33333, "3.33"), 0}},
         {{"[石磨]", "99999", "3.33", "332996.67"}},
         {"99999", "332996.67"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("delete from kvc_record_ship"));
        Ship other = at("2026-11-10 09:00:00", "[石磨]", 1000, "9");
        other.client = 3;
        ship(other);
        QList<QPair<quint64, Shipment>> made;
        for (const Shipment& s : c.shipments)
            made.append({ship(s.ship), s});
        open();
        showCustomer(2);

        QList<QStringList> lines;
        for (int i = 0; i < c.lines.size(); ++i)
            lines << (QStringList{QString::number(i)} + c.lines[i]);
        EXPECT_EQ(allRows(grid("settlementList")), lines);
        EXPECT_EQ(allRows(grid("totalsList")),
                  (QList<QStringList>{{QString(), QString(), c.totals[0], QString(), c.totals[1]}}));

        // Each line's shipments by time, under its number, at its price.
        QList<QStringList> statement;
        for (int line = 0; line < c.lines.size(); ++line) {
            for (const auto& [serial, s] : made) {
                if (s.line != line)
                    continue;
                const double amount = s.ship.goods * c.lines[line][2].toDouble();
                statement << QStringList{QString::number(line),
                                         QString::number(serial),
                                         s.ship.sent,
                                         QString::number(s.ship.order),
                                         s.ship.article,
                                         QString::number(s.ship.goods),
                                         QString::asprintf("%.2f", amount),
                                         QString()};
            }
        }
        EXPECT_EQ(allRows(grid("statementList")), statement);
    }
}

TEST_F(ShipStatistics, TheChartShowsEachCustomersAmountAndABarChoosesTheCustomer)
{
    ship(at("2026-11-02 09:00:00", "[石磨]", 10, "2.5"));
    ship(at("2026-11-03 09:00:00", "返工", 10, "2.5"));  // not billed, not in the chart
    Ship big = at("2026-11-04 09:00:00", "[普洗]", 100, "1.5");
    big.client = 3;
    ship(big);
    Ship late = at("2026-12-01 08:00:00", "[普洗]", 100, "1.5");
    late.client = 4;
    ship(late);
    open();
    setPeriod("2026-11-01", "2026-12-01");
    click("displayButton");
    EXPECT_EQ(keys(grid("customerList")), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
    auto* chart = child<ShipmentChart>("shipmentChart");
    ASSERT_EQ(chart->barCount(), 2);
    EXPECT_EQ(chart->bar(0).name, QStringLiteral("东莞虎门时装公司"));
    EXPECT_DOUBLE_EQ(chart->bar(0).amount, 150);
    EXPECT_EQ(chart->bar(1).name, QStringLiteral("佛山南海牛仔服饰"));
    EXPECT_DOUBLE_EQ(chart->bar(1).amount, 25);

    QApplication::processEvents();
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, chart->barCenter(1));
    EXPECT_EQ(dlg_->shownCustomer(), 2u);
    EXPECT_EQ(grid("customerList")->GetSelectedRow(), 0);
    // The bar's amount is the settlement's.
    EXPECT_EQ(grid("totalsList")->GetItemText(0, 4), QStringLiteral("25.00"));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, chart->barCenter(0));
    EXPECT_EQ(dlg_->shownCustomer(), 3u);
    EXPECT_EQ(grid("customerList")->GetSelectedRow(), 1);

    // A new period empties the lists and the chart.
    setPeriod("2026-12-01", "2026-12-02");
    click("displayButton");
    EXPECT_EQ(keys(grid("customerList")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(chart->barCount(), 1);
    EXPECT_EQ(grid("settlementList")->GetItemCount(), 0);
    EXPECT_EQ(grid("statementList")->GetItemCount(), 0);
    EXPECT_EQ(dlg_->shownCustomer(), 0u);
}

TEST_F(ShipStatistics, PrintsAndExportsWhatIsShownForThePeriodOfTheLastDisplay)
{
    Ship a = at("2026-11-02 09:00:00", "[石磨]", 10, "2.5");
    a.article = QStringLiteral("女装裤");
    Ship b = at("2026-11-03 09:00:00", "[普洗]", 20, "1.5");
    b.article = QStringLiteral("童装");
    b.remark = QStringLiteral("加急");
    const QString A = QString::number(ship(a)), B = QString::number(ship(b));
    open();
    showCustomer(2);
    // An edited remark is printed and exported, not stored; a later change of the pickers
    // without 显示 does not change the period printed.
    typeCell(grid("statementList"), 0, 7, QStringLiteral("已核对"));
    setPeriod("2026-01-01", "2026-02-01");

    QTemporaryDir dir;
    const QString settlementFile = dir.filePath(QStringLiteral("s.pdf"));
    {
        kvtest::PdfChooser pdf(settlementFile);
        click("printSettlementButton");
        EXPECT_EQ(pdf.asked, 1);
    }
    const QStringList heading{QStringLiteral("客户名称：佛山南海牛仔服饰"),
                              QStringLiteral("起止日期：2026-11-01 至 2026-12-01")};
    const QString settlementCaptions = QStringLiteral("序号 洗涤方法 数量 单价 金额");
    const QString line0 = QStringLiteral("0 [石磨] 10 2.5 25.00");
    const QString line1 = QStringLiteral("1 [普洗] 20 1.5 30.00");
    const QStringList pages = kvtest::pdfPages(settlementFile);
    ASSERT_EQ(pages.size(), 1);
    const QStringList settlementPage =
        QStringList{QStringLiteral("洗水厂结算单")} + heading +
        QStringList{settlementCaptions, line0, line1, QStringLiteral("合计 -/- 数量 -/- 金额"),
                    QStringLiteral("30 55.00")};
    EXPECT_EQ(simpleLines(pages[0]), asPrinted(settlementPage));

    const QString statementFile = dir.filePath(QStringLiteral("t.pdf"));
    {
        kvtest::PdfChooser pdf(statementFile);
        click("printStatementButton");
        EXPECT_EQ(pdf.asked, 1);
    }
    const QString statementCaptions = QStringLiteral("序号 发货号 发货日期 货单号 款式 数量 金额 备注");
    const QStringList statementPages = kvtest::pdfPages(statementFile);
    ASSERT_EQ(statementPages.size(), 1);
    const QStringList statementPage =
        QStringList{QStringLiteral("洗水厂对账单")} + heading +
        QStringList{
            settlementCaptions, line0,
            statementCaptions,  QStringLiteral("0 %1 2026-11-02 09:00:00 1 女装裤 10 25.00 已核对").arg(A),
            settlementCaptions, line1,
            statementCaptions,  QStringLiteral("1 %1 2026-11-03 09:00:00 1 童装 20 30.00 加急").arg(B)};
    EXPECT_EQ(simpleLines(statementPages[0]), asPrinted(statementPage));
    EXPECT_TRUE(boxes().boxes.isEmpty()) << boxes().last().text.toStdString();

    const QString base = dir.filePath(QStringLiteral("对账"));
    kvtest::ExportTarget target(base);
    click("exportStatementButton");
    EXPECT_EQ(boxes().texts(), QStringList{QStringLiteral("导出完毕")});
    QFile f(base + QStringLiteral(".txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(Gbk::decode(f.readAll()),
              QStringLiteral("序号;发货号;发货日期;货单号;款式;数量;金额;备注;\r\n"
                             "0;%1;2026-11-02 09:00:00;1;女装裤;10;25.00;已核对;\r\n"
                             "1;%2;2026-11-03 09:00:00;1;童装;20;30.00;加急;\r\n\r\n")
                  .arg(A, B));
    EXPECT_EQ(db().scalar(QStringLiteral("select 备注 from kvc_record_ship where 序列号=%1").arg(A)),
              QString());

    // The workbooks are laid out as the printed pages, with the totals under the statement too.
    const auto sheetOf = [&](const char* button) {
        kvtest::ExportTarget book(dir.filePath(QString::fromLatin1(button)), exporting::Format::Workbook);
        click(button);
        return kvtest::readWorkbook(book.path + QStringLiteral(".xlsx")).value(0);
    };
    const auto rowsOf = [](const kvtest::WorkbookSheet& sheet) {
        QStringList lines;
        for (int r = 0; r < sheet.rows.size(); ++r)
            lines.append(sheet.texts(r).join(QLatin1Char(' ')).simplified());
        return lines;
    };
    const QStringList title = heading + QStringList{QString()};
    const QString totalsCaptions = QStringLiteral("合计 -/- 数量 -/- 金额");
    const kvtest::WorkbookSheet settlementBook = sheetOf("exportSettlementButton");
    EXPECT_EQ(settlementBook.name, QStringLiteral("客户结算单"));
    const QStringList settlementRows = QStringList{QStringLiteral("洗水厂结算单")} + title +
                                       QStringList{settlementCaptions,
                                                   QStringLiteral("0 [石磨] 10 2.5 25"),
                                                   QStringLiteral("1 [普洗] 20 1.5 30"),
                                                   QString(),
                                                   totalsCaptions,
                                                   QStringLiteral("30 55")};
    EXPECT_EQ(rowsOf(settlementBook), settlementRows);
    EXPECT_TRUE(settlementBook.rows[0][0].bold);
    EXPECT_EQ(settlementBook.rows[5][4].format, QStringLiteral("#,##0.00"));
    const kvtest::WorkbookSheet statementBook = sheetOf("exportStatementButton");
    const QStringList statementRows =
        QStringList{QStringLiteral("洗水厂对账单")} + title +
        QStringList{settlementCaptions,
                    QStringLiteral("0 [石磨] 10 2.5 25"),
                    QString(),
                    statementCaptions,
                    QStringLiteral("0 %1 2026-11-02 09:00:00 1 女装裤 10 25 已核对").arg(A),
                    QString(),
                    settlementCaptions,
                    QStringLiteral("1 [普洗] 20 1.5 30"),
                    QString(),
                    statementCaptions,
                    QStringLiteral("1 %1 2026-11-03 09:00:00 1 童装 20 30 加急").arg(B),
                    QString(),
                    totalsCaptions,
                    QStringLiteral("30 55")};
    EXPECT_EQ(rowsOf(statementBook), statementRows);
    EXPECT_EQ(statementBook.rows[8][2].type, QStringLiteral("datetime"));

    // A new 显示 empties the lists: nothing is printed for the period it shows, and the user is
    // told why.
    click("displayButton");
    kvtest::PdfChooser none(dir.filePath(QStringLiteral("n.pdf")));
    boxes().clear();
    click("printSettlementButton");
    click("printStatementButton");
    EXPECT_EQ(none.asked, 0);
    EXPECT_EQ(boxes().texts(), QStringList(2, QStringLiteral("请先在客户列表中选择一个客户")));
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
}

// Each bar keeps its own label, also for two customers of one name; the value axis has round
// ticks with the thousands separated; a tiny amount is still a bar beside a big one.
TEST_F(ShipStatistics, TheChartKeepsNamesApartOnRoundTicksAndShowsTinyAmounts)
{
    db().exec(
        QStringLiteral("insert into kvc_record_client (名称, 说明, 激活) values ('佛山南海牛仔服饰', "
                       "'新厂', 1)"));
    const QString twin = db().scalar(QStringLiteral("select max(客户号) from kvc_record_client"));
    ship(at("2026-11-02 09:00:00", "[石磨]", 10, "2.5"));
    Ship big = at("2026-11-04 09:00:00", "[普洗]", 100000, "6.49814");
    big.client = twin.toULongLong();
    ship(big);
    Ship tiny = at("2026-11-05 09:00:00", "[普洗]", 1, "0.5");
    tiny.client = 3;
    ship(tiny);
    open();
    setPeriod("2026-11-01", "2026-12-01");
    click("displayButton");
    auto* chart = child<ShipmentChart>("shipmentChart");
    ASSERT_EQ(chart->barCount(), 3);
    const QStringList labels{QStringLiteral("佛山南海牛仔服饰（%1）").arg(twin),
                             QStringLiteral("佛山南海牛仔服饰（2）"), QStringLiteral("东莞虎门时装公司")};
    const QStringList amounts{QStringLiteral("649,814.00"), QStringLiteral("25.00"), QStringLiteral("0.50")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(chart->barLabel(i), labels[i]);
        EXPECT_EQ(chart->amountText(i), amounts[i]);
    }
    EXPECT_EQ(chart->tickLabels(), (QStringList{"0", "500,000", "1,000,000"}));
    EXPECT_DOUBLE_EQ(chart->barLength(0), 649814);
    EXPECT_GE(chart->barLength(2), 1000000 / 60.0);
    // A click on the tiny bar chooses its customer.
    QApplication::processEvents();
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, chart->barCenter(2));
    EXPECT_EQ(dlg_->shownCustomer(), 3u);
}
