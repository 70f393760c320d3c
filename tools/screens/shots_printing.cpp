#include "Shots.h"

#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_ShipDocket.h"
#include "dialogs/shipping/ShipDocket.h"
#include "print/Layouts.h"
#include "print/PageDrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QPrinter>
#include <cstdio>

namespace {

constexpr quint64 kShipment = 1;

DocketRecord docketOfFirstShipment()
{
    DocketRecord record;
    const Outcome o = loadShipmentDocket(g_sqlTool, kShipment, record);
    if (!o.ok())
        std::fprintf(stderr, "  %s\n", qPrintable(o.text()));
    return record;
}

// Besides the picture, the printed docket as a PDF in the same folder, to lay over the form.
void printDocket(QWidget*)
{
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(args.at(1)).filePath(QStringLiteral("ship_docket_print.pdf")));
    if (!printing::drawPageText(printer, layout::docket(docketOfFirstShipment()), layout::kDocketFontSize))
        std::fprintf(stderr, "  could not print the docket\n");
}

ShotRegistration docket{Shot{QStringLiteral("ship_docket"),
                             [] { return new Dlg_ShipDocket(docketOfFirstShipment(), kShipment); },
                             printDocket}};

}  // namespace
