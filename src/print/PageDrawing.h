#pragma once

#include <QFont>
#include <QString>

class QPrinter;
class QWidget;

namespace printing {

inline constexpr int kLinesPerPage = 76;
inline constexpr int kFirstLineX = 300;  // 0.001 inch
inline constexpr int kFirstLineY = 9000;
inline constexpr int kOriginX = 0;
inline constexpr int kOriginY = 9330;
inline const QString kDocumentName = QStringLiteral("SimplePrintDoc");

// The font of printed pages at a size in tenths of a point: 宋体 where it is installed,
// otherwise a CJK monospace face in which a Chinese character is two Latin widths.
QFont pageFont(int tenthsOfPoint);

// Draws the page text on a printer that is already chosen and set up: logical units of
// 0.001 inch with y growing upwards from the origin, lines from (300, 9000) down, 76
// lines a page and fewer when the paper ends first. False when the job could not start.
bool drawPageText(QPrinter& printer, const QString& text, int tenthsOfPoint, int originX = kOriginX,
                  int originY = kOriginY);

// Where a job goes: the print dialog unless a test installed another chooser. The dialog
// opens with the printer last chosen for the same kind of job (the printer's docName).
class PrinterChooser {
public:
    virtual ~PrinterChooser() = default;
    // Sets up the printer; false when the user gave up.
    virtual bool choose(QPrinter& printer, QWidget* owner) = 0;
    // A job nobody asked for at that moment (a desk printing on its own): the printer chosen
    // for the same kind of job (the printer's docName) before, without asking; the dialog
    // only for the first such job.
    virtual bool chooseQuietly(QPrinter& printer, QWidget* owner) { return choose(printer, owner); }
};
PrinterChooser& chooser();
// Installs a chooser (not owned); nullptr goes back to the print dialog.
void setChooser(PrinterChooser* c);

}  // namespace printing
