#include "print/myPrinter.h"

#include "db/ListModel.h"
#include "print/Layouts.h"
#include "print/PageDrawing.h"

#include <QPrinter>

Outcome myPrinter::PrintDocket(const DocketRecord& record)
{
    pageText_ = layout::docket(record);
    fontSize_ = layout::kDocketFontSize;
    return PrintText();
}

Outcome myPrinter::PrintSettlement(const ListModel& settlement, const ListModel& totals,
                                   const QString& customer, const QString& start, const QString& end)
{
    if (settlement.rows() == 0)
        return Outcome::cancelled();
    pageText_ = layout::settlement(settlement, totals, customer, start, end);
    fontSize_ = layout::kListFontSize;
    return PrintText();
}

Outcome myPrinter::PrintStatement(const ListModel& settlement, const ListModel& statement,
                                  const QString& customer, const QString& start, const QString& end)
{
    if (settlement.rows() == 0)
        return Outcome::cancelled();
    pageText_ = layout::statement(settlement, statement, customer, start, end);
    fontSize_ = layout::kListFontSize;
    return PrintText();
}

Outcome myPrinter::PrintText()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printing::kDocumentName);
    if (!printing::chooser().choose(printer, owner_))
        return Outcome::cancelled();
    if (!printing::drawPageText(printer, pageText_, fontSize_))
        return Outcome::refused(QStringLiteral("打印未能完成，请检查打印机或输出文件"));
    return Outcome::done();
}

Outcome myPrinter::PrintTickets(const QList<Ticket>& list, tickets::Layout layout, bool quietly)
{
    if (list.isEmpty())
        return Outcome::cancelled();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("流水卡"));
    tickets::setPaper(printer, layout);
    printing::PrinterChooser& c = printing::chooser();
    if (!(quietly ? c.chooseQuietly(printer, owner_) : c.choose(printer, owner_)))
        return Outcome::cancelled();
    // The dialog may have put another paper in; the layout's own is what the tickets need.
    tickets::setPaper(printer, layout);
    if (!tickets::drawPages(printer, list, layout))
        return Outcome::refused(QStringLiteral("流水卡未能打印，请检查打印机或输出文件"));
    return Outcome::done();
}
