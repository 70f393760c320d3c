#include "print/PageDrawing.h"
#include "print/myPrinter.h"
#include "support/PdfPages.h"
#include "support/Printers.h"
#include "support/ScriptedPrompt.h"
#include "ui/Prompt.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using kvtest::pdfPages;
using kvtest::textLines;

namespace {

QString numbered(int n)
{
    QString text;
    for (int i = 1; i <= n; ++i)
        text += QStringLiteral("第%1行 line%1\n").arg(i);
    return text;
}

struct Word {
    QString text;
    double xMin, yMin;
};

// Every word of the first page with its box, in points from the paper's top left.
QList<Word> words(const QString& pdf)
{
    const QString html = kvtest::runTool(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    static const QRegularExpression re(
        QString::fromLatin1(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    QList<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return out;
}

}  // namespace

TEST(PrintPages, SeventySevenLinesGiveAFullPageAndOneLine)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("77.pdf"));
    kvtest::PdfChooser pdf(file);
    myPrinter printer;
    printer.setPageText(numbered(77));
    printer.setFontSize(100);
    ASSERT_TRUE(printer.PrintText().ok());
    EXPECT_EQ(pdf.asked, 1);
    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 2);
    const QStringList first = textLines(pages[0]);
    ASSERT_EQ(first.size(), 76);
    EXPECT_EQ(first.first().trimmed(), QStringLiteral("第1行 line1"));
    EXPECT_EQ(first.last().trimmed(), QStringLiteral("第76行 line76"));
    const QStringList second = textLines(pages[1]);
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second[0].trimmed(), QStringLiteral("第77行 line77"));
    EXPECT_TRUE(kvtest::runTool(QStringLiteral("pdfinfo"), {file})
                    .contains(QRegularExpression(QStringLiteral("Title:\\s+SimplePrintDoc"))));

    // Exactly one page full leaves no blank page after it.
    const QString full = dir.filePath(QStringLiteral("76.pdf"));
    kvtest::PdfChooser pdf76(full);
    printer.setPageText(numbered(76));
    ASSERT_TRUE(printer.PrintText().ok());
    EXPECT_EQ(pdfPages(full).size(), 1);
}

TEST(PrintPages, LargeLinesBreakBeforeThePaperEndsAndNoneIsLost)
{
    // At 12 points 76 lines are taller than an A4 page.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("big.pdf"));
    kvtest::PdfChooser pdf(file);
    myPrinter printer;
    printer.setPageText(numbered(80));
    printer.setFontSize(120);
    ASSERT_TRUE(printer.PrintText().ok());
    QStringList all;
    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_LT(textLines(pages[0]).size(), 76);
    for (const QString& page : pages)
        for (const QString& line : textLines(page))
            all.append(line.trimmed());
    ASSERT_EQ(all.size(), 80);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(all[i], QStringLiteral("第%1行 line%1").arg(i + 1));
}

TEST(PrintPages, PlacesLinesInThousandthsOfAnInchAndChineseTakesTwoLatinWidths)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cols.pdf"));
    kvtest::PdfChooser pdf(file);
    myPrinter printer;
    printer.setPageText(QStringLiteral("中文中文 X1\nABCDEFGH X2\n"));
    printer.setFontSize(100);
    ASSERT_TRUE(printer.PrintText().ok());
    const QList<Word> w = words(file);
    ASSERT_EQ(w.size(), 4);
    EXPECT_EQ(w[1].text, QStringLiteral("X1"));
    EXPECT_EQ(w[3].text, QStringLiteral("X2"));
    EXPECT_NEAR(w[1].xMin, w[3].xMin, 0.2) << "a Chinese character is two Latin widths";
    // Nine columns of half an em at 10 points each.
    EXPECT_NEAR(w[3].xMin - w[2].xMin, 45.0, 0.5);
    // 0.3 inch from the printable area's left edge; one em between the lines.
    QPrinter probe(QPrinter::HighResolution);
    const double left = probe.pageLayout().paintRectPoints().left();
    EXPECT_NEAR(w[2].xMin, left + 0.3 * 72, 1.0);
    EXPECT_NEAR(w[2].yMin - w[0].yMin, 10.0, 0.5);
    // The word box of the fallback face reaches a little above the line's top.
    EXPECT_NEAR(w[0].yMin, probe.pageLayout().paintRectPoints().top() + 0.33 * 72, 5.0);
}

TEST(PrintPages, CancelledDialogOrFailedJobPrintsNothingAndSaysNoSuccess)
{
    QTemporaryDir dir;
    kvtest::PromptScope boxes;
    const QString file = dir.filePath(QStringLiteral("cancel.pdf"));
    {
        kvtest::PdfChooser pdf(file);
        pdf.accept = false;
        myPrinter printer;
        printer.setPageText(numbered(3));
        const Outcome cancelled = printer.PrintText();
        EXPECT_EQ(cancelled.kind(), Outcome::Kind::Cancelled);
        EXPECT_FALSE(prompt().report(cancelled));
        EXPECT_EQ(pdf.asked, 1);
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_TRUE(boxes.prompt.boxes.isEmpty());
    }
    kvtest::PdfChooser nowhere(dir.filePath(QStringLiteral("missing/folder/x.pdf")));
    myPrinter printer;
    printer.setPageText(numbered(3));
    const Outcome failed = printer.PrintText();
    EXPECT_EQ(failed.kind(), Outcome::Kind::Refused);
    EXPECT_FALSE(prompt().report(failed));
    ASSERT_EQ(boxes.prompt.boxes.size(), 1);
    EXPECT_EQ(boxes.prompt.last().caption, QStringLiteral("错误"));
}
