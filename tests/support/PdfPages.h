#pragma once

// Printing into PDF files without the print dialog, and reading them back with poppler.
// Header only: the test folders that use it link the printing library themselves.

#include "print/PageDrawing.h"

#include <QPrinter>
#include <QProcess>
#include <QStringList>

namespace kvtest {

// Sends every job into one PDF file, or gives up like a cancelled dialog.
class PdfChooser : public printing::PrinterChooser {
public:
    explicit PdfChooser(const QString& file) : file_(file) { printing::setChooser(this); }
    ~PdfChooser() override { printing::setChooser(nullptr); }
    PdfChooser(const PdfChooser&) = delete;
    PdfChooser& operator=(const PdfChooser&) = delete;

    bool choose(QPrinter& printer, QWidget*) override
    {
        ++asked;
        if (!accept)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file_);
        return true;
    }
    bool accept = true;
    int asked = 0;

private:
    QString file_;
};

inline QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// CJK fonts share glyphs between an ideograph and a radical form, and the PDF may name
// the radical: NFKC maps the Kangxi radicals back, the few supplement forms are mapped here.
inline QString ideographs(const QString& text)
{
    QString out = text.normalized(QString::NormalizationForm_KC);
    out.replace(QChar(0x2EE9), QChar(0x9EC4));  // 黄
    return out;
}

// The text of each page, with the layout kept.
inline QStringList pdfPages(const QString& file)
{
    QStringList pages = ideographs(runTool(QStringLiteral("pdftotext"),
                                           {QStringLiteral("-layout"), file, QStringLiteral("-")}))
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The lines of a page that carry text.
inline QStringList textLines(const QString& page)
{
    QStringList out;
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            out.append(line);
    return out;
}

}  // namespace kvtest
