// A ticket's code names its flow, read back from the drawn ticket by a QR decoder as a
// scanner would, and the tickets print in both layouts through the printer path.
#include "flow/TicketCode.h"
#include "print/TicketLayout.h"
#include "print/myPrinter.h"
#include "support/PdfPages.h"
#include "support/Printers.h"

#define ZX_USE_UTF8 1  // the decoded text as UTF-8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

Ticket flowTicket(quint64 flow, int quantity = 120)
{
    Ticket t;
    t.flow = flow;
    t.order = 20261208;
    t.style = QStringLiteral("8801");
    t.customer = QStringLiteral("佛山南海牛仔服饰");
    t.nature = QStringLiteral("新货");
    t.type = QStringLiteral("长裤");
    t.kind = QStringLiteral("直筒");
    t.sex = QStringLiteral("男");
    t.method = QStringLiteral("[普洗][猫须][石磨][喷马骝]");
    t.priority = QStringLiteral("紧急");
    t.quantity = quantity;
    t.station = QStringLiteral("喷砂");
    t.made = QStringLiteral("2026-12-08 09:30:00");
    t.code = ticket::qrText(ticket::Kind::Flow, flow);
    t.hand = ticket::handText(ticket::Kind::Flow, flow);
    return t;
}

// Every QR code a scanner finds in the picture, as the ticket codes they name.
QList<quint64> decoded(const QImage& picture)
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    QList<quint64> out;
    for (const ZXing::Result& r : ZXing::ReadBarcodes(view, hints)) {
        const ticket::Code code = ticket::parse(QString::fromStdString(r.text()));
        EXPECT_EQ(code.kind, ticket::Kind::Flow) << r.text();
        out.append(code.id);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(TicketCode, BothFormsNameTheFlowOrOrderAndAWrongDigitNamesNothing)
{
    const quint64 big = 18446744073709551615ULL;
    for (const quint64 id : {quint64(1), quint64(4711), quint64(20261208), big}) {
        for (const ticket::Kind kind : {ticket::Kind::Flow, ticket::Kind::Order}) {
            const QString qr = ticket::qrText(kind, id);
            const QString hand = ticket::handText(kind, id);
            for (const QString& form : {qr, hand, qr.toLower(), QString(hand).remove(QLatin1Char('-')),
                                        QStringLiteral(" %1 ").arg(hand)}) {
                const ticket::Code c = ticket::parse(form);
                EXPECT_EQ(c.kind, kind) << form.toStdString();
                EXPECT_EQ(c.id, id) << form.toStdString();
            }
        }
    }
    EXPECT_EQ(ticket::qrText(ticket::Kind::Flow, 4711), QStringLiteral("KV1F47116"));
    EXPECT_EQ(ticket::handText(ticket::Kind::Order, 4711), QStringLiteral("2-4711-4"));

    // One digit changed, two swapped, a foreign prefix, no number, a number beyond 64 bits.
    for (const char* wrong : {"KV1F47117", "KV1F41716", "KV1X47116", "1-4711-7", "KV1F", "KV1F05",
                              "1-18446744073709551616-0", "6901234567892", "", "扫码"}) {
        EXPECT_EQ(ticket::parse(QString::fromUtf8(wrong)).kind, ticket::Kind::None) << wrong;
    }
}

TEST(TicketPicture, AScannerReadsTheFlowFromALabelAndFromEachTicketOfASheet)
{
    // A label as printed at 300 dpi and at a cheap label printer's 203 dpi.
    for (const double dpm : {11.8, 8.0})
        EXPECT_EQ(decoded(tickets::image(flowTicket(9876543), dpm)), QList<quint64>{9876543}) << dpm;

    QList<Ticket> eight;
    QList<quint64> flows;
    for (quint64 f = 100; f < 108; ++f) {
        eight.append(flowTicket(f * 1000 + 7));
        flows.append(f * 1000 + 7);
    }
    EXPECT_EQ(decoded(tickets::sheetImage(eight, 300 / 25.4)), flows);
}

TEST(TicketPrint, LabelsPrintOneAPageAndSheetsEightAPage)
{
    QTemporaryDir dir;
    const struct {
        tickets::Layout layout;
        int tickets;
        int pages;
        const char* size;  // pdfinfo's page size in points
    } cases[] = {{tickets::Layout::Label, 3, 3, "198 x 142"}, {tickets::Layout::Sheet, 9, 2, "595 x 842"}};
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("t%1.pdf").arg(c.tickets));
        kvtest::PdfChooser pdf(file);
        QList<Ticket> list;
        for (int i = 0; i < c.tickets; ++i)
            list.append(flowTicket(500 + i, 10 + i));
        myPrinter printer;
        ASSERT_TRUE(printer.PrintTickets(list, c.layout).ok());
        const QStringList pages = kvtest::pdfPages(file);
        ASSERT_EQ(pages.size(), c.pages);
        const QString first = QString(pages.first()).remove(QLatin1Char(' '));
        EXPECT_TRUE(first.contains(QStringLiteral("流水500"))) << first.toStdString();
        EXPECT_TRUE(first.contains(QStringLiteral("10件")));
        EXPECT_TRUE(QString(pages.last())
                        .remove(QLatin1Char(' '))
                        .contains(QStringLiteral("流水%1").arg(500 + c.tickets - 1)));
        EXPECT_TRUE(kvtest::runTool(QStringLiteral("pdfinfo"), {file}).contains(QString::fromLatin1(c.size)))
            << kvtest::runTool(QStringLiteral("pdfinfo"), {file}).toStdString();
    }

    // Nothing to print asks for no printer.
    kvtest::PdfChooser none(dir.filePath(QStringLiteral("none.pdf")));
    myPrinter printer;
    EXPECT_EQ(printer.PrintTickets({}, tickets::Layout::Label).kind(), Outcome::Kind::Cancelled);
    EXPECT_EQ(none.asked, 0);
}
