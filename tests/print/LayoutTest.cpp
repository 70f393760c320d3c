#include "db/Gbk.h"
#include "db/ListModel.h"
#include "print/Layouts.h"
#include "print/PageText.h"
#include "print/myPrinter.h"
#include "support/PdfPages.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <memory>

namespace {

// The bytes [from, from + width) of a line, decoded; read through GBK, not through the
// composition's own counting.
QString at(const QString& line, int from, int width)
{
    QByteArray gbk;
    EXPECT_TRUE(Gbk::encode(line, gbk)) << line.toStdString();
    return Gbk::decode(gbk.mid(from, width));
}

int bytes(const QString& line)
{
    QByteArray gbk;
    Gbk::encode(line, gbk);
    return static_cast<int>(gbk.size());
}

QStringList lines(const QString& page)
{
    QStringList out = page.split(QLatin1Char('\n'));
    EXPECT_TRUE(out.last().isEmpty()) << "the page text ends in a line feed";
    out.removeLast();
    return out;
}

std::unique_ptr<ListModel> list(const QStringList& captions, const QVector<QStringList>& rows)
{
    auto m = std::make_unique<ListModel>();
    for (const QString& c : captions)
        m->addColumn(c, 50);
    m->appendRows(rows);
    return m;
}

}  // namespace

TEST(CutPoint, NeverSplitsACharacterAndBreaksBeforeAsciiNearTheEnd)
{
    // Eight letters in six bytes: the ASCII byte at position 5 starts the rest.
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("ABCDEFGH"), 6), 5);
    // Only two-byte characters: the even width, or one less when odd.
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("女装休闲裤修身款"), 6), 6);
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("女装休闲裤修身款"), 7), 6);
    // ASCII earlier on, a run of Chinese at the end: its length decides.
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("AB中文中文中"), 8), 8);
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("A中文中文"), 6), 5);
    // 乗 is 0x81 0x5C in GBK: its second byte lies in the ASCII range but is no character.
    EXPECT_EQ(PageText::cutPoint(QStringLiteral("AB乗乗乗"), 6), 6);
    PageText t;
    QString rest;
    t.put(QStringLiteral("AB乗乗乗"), 6, &rest);
    EXPECT_EQ(t.text(), QStringLiteral("AB乗乗"));
    EXPECT_EQ(rest, QStringLiteral("乗"));
}

TEST(PageTextPut, FitsPadsCutsAndRoundsTheWidthUp)
{
    PageText t;
    QString rest = QStringLiteral("old");
    t.put(QString(), 5, &rest);  // a width of 5 is 6
    EXPECT_EQ(t.text(), QString(6, QLatin1Char(' ')));
    EXPECT_TRUE(rest.isEmpty());
    t.clear();
    t.put(QStringLiteral("客户"), 6);
    EXPECT_EQ(t.text(), QStringLiteral("客户  "));
    t.clear();
    // Too long and no rest: printed cut, filled to the column, the remainder dropped.
    t.put(QStringLiteral("ABCDEFGH"), 6);
    t.put(QStringLiteral("|"), 2);
    EXPECT_EQ(t.text(), QStringLiteral("ABCDE | "));
}

namespace {

DocketRecord knownDocket()
{
    DocketRecord r;
    r.customerName = QStringLiteral("华美制衣厂");
    r.orderNumber = QStringLiteral("2");
    r.printTime = QStringLiteral("2026-12-08 09:30:00");
    r.styleNumber = QStringLiteral("88012");
    r.productName = QStringLiteral("女装休闲裤修身款");  // 16 bytes in a column of 6
    r.washingMethod = QStringLiteral("[石磨][喷砂]");
    r.goodsQuantity = QStringLiteral("40");
    r.unitPrice = QStringLiteral("4.7");
    r.amount = QStringLiteral("188.00");
    r.remark = QStringLiteral("先发一部分货物");  // 14 bytes in a column of 10
    r.originalQuantity = QStringLiteral("1");
    r.washedQuantity = QStringLiteral("0");
    r.goodsQuantityTotal = QStringLiteral("40");
    r.totalAmount = QStringLiteral("188.00");
    r.issuer = QStringLiteral("张志明");
    r.shipper = QStringLiteral("黄永发");
    return r;
}

}  // namespace

TEST(DocketLayout, EveryFieldSitsInItsColumnOfTheForm)
{
    const QStringList l = lines(layout::docket(knownDocket()));
    ASSERT_EQ(l.size(), 11);
    EXPECT_EQ(at(l[0], 0, 16).trimmed(), QString());
    EXPECT_EQ(at(l[0], 16, 20).trimmed(), QStringLiteral("华美制衣厂"));
    EXPECT_EQ(at(l[0], 42, 20).trimmed(), QStringLiteral("2"));
    EXPECT_EQ(at(l[0], 68, 20), QStringLiteral("2026-12-08 09:30:00 "));
    EXPECT_TRUE(l[1].isEmpty() && l[2].isEmpty());

    EXPECT_EQ(at(l[3], 6, 10).trimmed(), QStringLiteral("88012"));
    EXPECT_EQ(at(l[3], 18, 6), QStringLiteral("女装休"));
    EXPECT_EQ(at(l[3], 26, 40).trimmed(), QStringLiteral("[石磨][喷砂]"));
    EXPECT_EQ(at(l[3], 66, 6).trimmed(), QStringLiteral("40"));
    EXPECT_EQ(at(l[3], 72, 6).trimmed(), QStringLiteral("4.7"));
    EXPECT_EQ(at(l[3], 80, 8).trimmed(), QStringLiteral("188.00"));
    EXPECT_EQ(at(l[3], 88, 10), QStringLiteral("先发一部分"));
    EXPECT_EQ(bytes(l[3]), 98);
    // The product name goes on 3, 3 and 2 characters; the remark's rest under the remark.
    EXPECT_EQ(at(l[4], 18, 6), QStringLiteral("闲裤修"));
    EXPECT_EQ(at(l[4], 24, 64).trimmed(), QString());
    EXPECT_EQ(at(l[4], 88, 10).trimmed(), QStringLiteral("货物"));
    EXPECT_EQ(at(l[5], 18, 6).trimmed(), QStringLiteral("身款"));
    EXPECT_EQ(l[5].trimmed(), QStringLiteral("身款"));
    EXPECT_EQ(l[6].trimmed(), QString());
    EXPECT_TRUE(l[7].isEmpty());

    EXPECT_EQ(at(l[8], 16, 6).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(at(l[8], 32, 10).trimmed(), QStringLiteral("0"));
    EXPECT_EQ(at(l[8], 56, 14).trimmed(), QStringLiteral("40"));
    EXPECT_EQ(at(l[8], 84, 12).trimmed(), QStringLiteral("188.00"));
    EXPECT_TRUE(l[9].isEmpty());
    EXPECT_EQ(at(l[10], 16, 20).trimmed(), QStringLiteral("张志明"));
    EXPECT_EQ(at(l[10], 44, 20).trimmed(), QStringLiteral("黄永发"));
}

TEST(DocketLayout, CutValuesArePrintedAndKeepTheFollowingColumnsInPlace)
{
    DocketRecord r = knownDocket();
    r.customerName = QStringLiteral("华美制衣厂有限公司广州分公司");  // 28 bytes, no rest on the form
    r.productName = QStringLiteral("ABCDEFGH");
    r.washingMethod = QStringLiteral("[石磨][喷砂][普洗][猫须][雪花洗][漂白]AB");  // exactly 40 bytes
    r.issuer = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    ASSERT_EQ(Gbk::byteLength(r.washingMethod), 40);
    const QStringList l = lines(layout::docket(r));
    ASSERT_EQ(l.size(), 11);
    EXPECT_EQ(at(l[0], 16, 20), QStringLiteral("华美制衣厂有限公司广"));
    EXPECT_EQ(at(l[0], 42, 20).trimmed(), QStringLiteral("2"));
    // Cut at 5: the sixth byte is left blank and the washing method stays at 26.
    EXPECT_EQ(at(l[3], 18, 6), QStringLiteral("ABCDE "));
    EXPECT_EQ(at(l[3], 26, 40), r.washingMethod);
    EXPECT_EQ(at(l[3], 66, 6).trimmed(), QStringLiteral("40"));
    EXPECT_EQ(at(l[4], 18, 6).trimmed(), QStringLiteral("FGH"));
    EXPECT_EQ(at(l[4], 24, 64).trimmed(), QString()) << "a method of 40 bytes has no continuation";
    EXPECT_EQ(at(l[10], 16, 20), QStringLiteral("ABCDEFGHIJKLMNOPQRS "));
    EXPECT_EQ(at(l[10], 44, 20).trimmed(), QStringLiteral("黄永发"));
}

TEST(SettlementLayout, CutWashingMethodContinuesUnderItsColumn)
{
    const QString method = QStringLiteral("[普洗]").repeated(12);  // 72 bytes in 54
    const auto s = list({"序号", "洗涤方法", "数量", "单价", "金额"},
                        {{"0", "[石磨][喷砂]", "40", "4.7", "188.00"}, {"1", method, "60", "2", "120.00"}});
    const auto totals = list({"合计", "-/-", "数量", "-/-", "金额"}, {{"", "", "100", "", "308.00"}});
    const QStringList l =
        lines(layout::settlement(*s, *totals, QStringLiteral("华美制衣厂"), QStringLiteral("2026-12-01"),
                                 QStringLiteral("2026-12-08")));
    ASSERT_EQ(l.size(), 14);
    EXPECT_EQ(at(l[0], 40, 30).trimmed(), QStringLiteral("洗水厂结算单"));
    EXPECT_EQ(l[3].trimmed(), QStringLiteral("客户名称：华美制衣厂"));
    EXPECT_EQ(at(l[3], 0, 2), QStringLiteral("  "));
    EXPECT_EQ(l[4].trimmed(), QStringLiteral("起止日期：2026-12-01 至 2026-12-08"));
    EXPECT_TRUE(l[5].isEmpty());
    const int col[] = {2, 10, 64, 74, 84};
    EXPECT_EQ(at(l[6], col[0], 8).trimmed(), QStringLiteral("序号"));
    EXPECT_EQ(at(l[6], col[1], 54).trimmed(), QStringLiteral("洗涤方法"));
    EXPECT_EQ(at(l[6], col[4], 10).trimmed(), QStringLiteral("金额"));
    EXPECT_EQ(at(l[7], col[1], 54).trimmed(), QStringLiteral("[石磨][喷砂]"));
    EXPECT_EQ(at(l[7], col[3], 10).trimmed(), QStringLiteral("4.7"));
    // The cut breaks before the ']' at byte 53; the row's numbers keep their columns.
    EXPECT_EQ(at(l[8], col[0], 8).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(at(l[8], col[1], 54), QStringLiteral("[普洗]").repeated(8) + QStringLiteral("[普洗 "));
    EXPECT_EQ(at(l[8], col[2], 10).trimmed(), QStringLiteral("60"));
    EXPECT_EQ(at(l[8], col[4], 10).trimmed(), QStringLiteral("120.00"));
    EXPECT_EQ(at(l[9], 0, 10).trimmed(), QString());
    EXPECT_EQ(l[9].trimmed(), QStringLiteral("]") + QStringLiteral("[普洗]").repeated(3));
    EXPECT_EQ(at(l[9], col[1], 1), QStringLiteral("]"));
    EXPECT_TRUE(l[10].isEmpty() && l[11].isEmpty());
    EXPECT_EQ(at(l[12], col[0], 8).trimmed(), QStringLiteral("合计"));
    EXPECT_EQ(at(l[13], col[2], 10).trimmed(), QStringLiteral("100"));
    EXPECT_EQ(at(l[13], col[4], 10).trimmed(), QStringLiteral("308.00"));
}

TEST(SettlementLayout, TotalsRowFollowsTheTotalsHeaderAndLongRestsAreNotLost)
{
    const QString method = QStringLiteral("洗").repeated(60);  // two continuation lines
    const auto s = list({"序号", "洗涤方法", "数量", "单价", "金额"}, {{"0", method, "5", "1", "5.00"}});
    const auto totals = list({"合计", "-/-", "数量", "-/-", "金额"}, {{"", "", "5", "", "5.00"}});
    const QStringList l =
        lines(layout::settlement(*s, *totals, QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("b")));
    ASSERT_EQ(l.size(), 14);
    EXPECT_EQ(at(l[7], 10, 54), QStringLiteral("洗").repeated(27));
    EXPECT_EQ(at(l[8], 10, 54), QStringLiteral("洗").repeated(27));
    EXPECT_EQ(l[9].trimmed(), QStringLiteral("洗").repeated(6));
    EXPECT_EQ(at(l[12], 10, 54).trimmed(), QStringLiteral("-/-"));
    EXPECT_EQ(at(l[13], 64, 10).trimmed(), QStringLiteral("5"));
    EXPECT_EQ(at(l[13], 84, 10).trimmed(), QStringLiteral("5.00"));
}

TEST(StatementLayout, ShipmentsGroupUnderTheirSettlementLineWithTheRemarkCarried)
{
    const auto s = list({"序号", "洗涤方法", "数量", "单价", "金额"},
                        {{"0", "[石磨][喷砂]", "70", "4.7", "329.00"}, {"1", "[漂白]", "60", "2", "120.00"}});
    const QString longRemark = QStringLiteral("请于下周一前结清本单全部货款谢谢");  // 32 bytes in 24
    const auto st = list({"序号", "发货号", "发货日期", "货单号", "款式", "数量", "金额", "备注"},
                         {{"0", "1", "2026-12-08 09:15:00", "2", "女装休闲裤修身", "40", "188.00", "先发"},
                          {"1", "3", "2026-12-08 10:00:00", "5", "童装短裤宽松", "60", "120.00", longRemark},
                          {"0", "4", "2026-12-08 11:00:00", "2", "女装休闲裤修身", "30", "141.00", ""}});
    const QStringList l = lines(layout::statement(
        *s, *st, QStringLiteral("华美制衣厂"), QStringLiteral("2026-12-01"), QStringLiteral("2026-12-08")));
    ASSERT_EQ(l.size(), 22);
    EXPECT_EQ(at(l[0], 40, 30).trimmed(), QStringLiteral("洗水厂对账单"));
    // Group of line 0: its settlement line, then shipments 1 and 4 only.
    EXPECT_EQ(at(l[6], 10, 54).trimmed(), QStringLiteral("洗涤方法"));
    EXPECT_EQ(at(l[7], 2, 8).trimmed(), QStringLiteral("0"));
    EXPECT_TRUE(l[8].isEmpty());
    const int col[] = {2, 10, 18, 38, 48, 64, 74, 84};  // 款式 takes 15 bytes, rounded to 16
    EXPECT_EQ(at(l[9], col[4], 16).trimmed(), QStringLiteral("款式"));
    EXPECT_EQ(at(l[9], col[7], 24).trimmed(), QStringLiteral("备注"));
    EXPECT_EQ(at(l[10], col[1], 8).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(at(l[10], col[2], 20).trimmed(), QStringLiteral("2026-12-08 09:15:00"));
    EXPECT_EQ(at(l[10], col[4], 16).trimmed(), QStringLiteral("女装休闲裤修身"));
    EXPECT_EQ(at(l[10], col[5], 10).trimmed(), QStringLiteral("40"));
    EXPECT_EQ(at(l[10], col[7], 24).trimmed(), QStringLiteral("先发"));
    EXPECT_EQ(at(l[11], col[1], 8).trimmed(), QStringLiteral("4"));
    EXPECT_TRUE(l[12].isEmpty() && l[13].isEmpty());
    // Group of line 1: shipment 3 with its remark cut at 24 bytes and continued.
    EXPECT_EQ(at(l[15], 2, 8).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(at(l[18], col[1], 8).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(at(l[18], col[7], 24), QStringLiteral("请于下周一前结清本单全部"));
    EXPECT_EQ(at(l[19], 0, col[7]).trimmed(), QString());
    EXPECT_EQ(at(l[19], col[7], 24).trimmed(), QStringLiteral("货款谢谢"));
    EXPECT_TRUE(l[20].isEmpty() && l[21].isEmpty());
}

TEST(ListPrinting, AnEmptySettlementListPrintsNothingAndAsksForNoPrinter)
{
    QTemporaryDir dir;
    kvtest::PdfChooser pdf(dir.filePath(QStringLiteral("none.pdf")));
    const auto empty = list({"序号", "洗涤方法", "数量", "单价", "金额"}, {});
    const auto shipments = list({"序号"}, {{"0"}});
    myPrinter printer;
    const QString a = QStringLiteral("A"), from = QStringLiteral("a"), to = QStringLiteral("b");
    EXPECT_EQ(printer.PrintSettlement(*empty, *empty, a, from, to).kind(), Outcome::Kind::Cancelled);
    EXPECT_EQ(printer.PrintStatement(*empty, *shipments, a, from, to).kind(), Outcome::Kind::Cancelled);
    EXPECT_EQ(pdf.asked, 0);
    EXPECT_TRUE(layout::settlement(*empty, *empty, QString(), QString(), QString()).isEmpty());
}
