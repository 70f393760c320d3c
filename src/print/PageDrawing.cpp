#include "print/PageDrawing.h"

#include <QAbstractPrintDialog>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <algorithm>

namespace printing {

namespace {

class DialogChooser : public PrinterChooser {
public:
    bool choose(QPrinter& printer, QWidget* owner) override
    {
        const auto known = chosen_.constFind(printer.docName());
        if (known != chosen_.constEnd())
            known->applyTo(printer);
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        chosen_.insert(printer.docName(), Choice::of(printer));
        return true;
    }
    bool chooseQuietly(QPrinter& printer, QWidget* owner) override
    {
        const auto known = chosen_.constFind(printer.docName());
        if (known == chosen_.constEnd())
            return choose(printer, owner);
        known->applyTo(printer);
        return true;
    }

private:
    // What the user chose in the dialog for one kind of job; the paper stays the job's own.
    struct Choice {
        QString printer;
        QPrinter::OutputFormat format = QPrinter::NativeFormat;
        QString file;
        int copies = 1;
        static Choice of(const QPrinter& p)
        {
            return {p.printerName(), p.outputFormat(), p.outputFileName(), p.copyCount()};
        }
        void applyTo(QPrinter& p) const
        {
            p.setOutputFormat(format);
            if (format == QPrinter::NativeFormat)
                p.setPrinterName(printer);
            else
                p.setOutputFileName(file);
            p.setCopyCount(copies);
        }
    };
    QHash<QString, Choice> chosen_;
};

DialogChooser g_dialog;
PrinterChooser* g_chooser = &g_dialog;

}  // namespace

PrinterChooser& chooser()
{
    return *g_chooser;
}

void setChooser(PrinterChooser* c)
{
    g_chooser = c ? c : &g_dialog;
}

QFont pageFont(int tenthsOfPoint)
{
    // Only a face that is really installed: asking for a missing family would silently
    // give a proportional one, and the byte-counted columns would drift.
    const QStringList installed = QFontDatabase::families();
    QString family;
    for (const char* name : {"宋体", "SimSun", "NSimSun", "Noto Sans Mono CJK SC", "Noto Sans Mono CJK TC"}) {
        const QString candidate = QString::fromUtf8(name);
        if (installed.contains(candidate, Qt::CaseInsensitive)) {
            family = candidate;
            break;
        }
    }
    QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setPointSizeF(tenthsOfPoint / 10.0);
    font.setStyleHint(QFont::TypeWriter);
    font.setKerning(false);
    return font;
}

bool drawPageText(QPrinter& printer, const QString& text, int tenthsOfPoint, int originX, int originY)
{
    printer.setDocName(kDocumentName);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFont font = pageFont(tenthsOfPoint);
    painter.setFont(font);
    painter.setPen(Qt::black);

    const double dpiX = printer.logicalDpiX();
    const double dpiY = printer.logicalDpiY();
    const QFontMetricsF metrics(font, &printer);
    // The height of "00", but no more than one em: 宋体 measures one em, and a fallback
    // face with a taller line box keeps the form's line pitch that way.
    const double em = tenthsOfPoint / 720.0 * dpiY;
    const double boxHeight = metrics.size(Qt::TextSingleLine, QStringLiteral("00")).height();
    const double lineHeight = std::min(boxHeight, em);
    const double baseline = boxHeight > 0 ? metrics.ascent() * lineHeight / boxHeight : metrics.ascent();
    const double pageBottom = printer.height();

    // Every line ends in a line feed; a last one without it is a line all the same.
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();

    int counter = 0;
    double y = kFirstLineY;
    bool ok = true;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // A new page only when a line is there for it, so that a full page leaves no blank
        // one; and before the paper ends, so that no line is drawn off it.
        const double top = (originY - y) * dpiY / 1000.0;
        if (counter >= kLinesPerPage || (counter > 0 && top + lineHeight > pageBottom)) {
            if (!printer.newPage()) {
                ok = false;
                break;
            }
            counter = 0;
            y = kFirstLineY;
        }
        const double x = (kFirstLineX - originX) * dpiX / 1000.0;
        painter.drawText(QPointF(x, (originY - y) * dpiY / 1000.0 + baseline), line);
        y -= lineHeight * 1000.0 / dpiY;
        ++counter;
    }
    return painter.end() && ok;
}

}  // namespace printing
