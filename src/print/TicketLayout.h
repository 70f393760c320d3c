#pragma once

#include "db/Outcome.h"
#include "print/Ticket.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>

class QPainter;
class QPrinter;

// Flow tickets on paper: one ticket a label of a label printer, or eight on an A4 sheet.
namespace tickets {

enum class Layout { Label, Sheet };

// The PC's choices (Config.ini, section TICKET): the layout, and whether a desk prints the
// tickets of what it made (activation, hand-over) on its own. Off by default, so that a
// factory without printers is never asked for one.
struct Settings {
    Layout layout = Layout::Label;
    bool autoPrint = false;
};
const Settings& settings();
void setSettings(const Settings& s);

inline constexpr QSizeF kLabelMm{70, 50};
inline constexpr int kSheetColumns = 2;
inline constexpr int kSheetRows = 4;

// Draws one ticket into `rect` (device units), its parts scaled with the rect's width; a
// rect of the label's proportions shows it as printed.
void draw(QPainter& painter, const QRectF& rect, const Ticket& ticket);
// The ticket as a picture at `dpm` dots a millimetre (the label's size).
QImage image(const Ticket& ticket, double dpm = 12);
// A page of the sheet layout with up to eight tickets, at `dpm` dots a millimetre.
QImage sheetImage(const QList<Ticket>& tickets, double dpm = 6);

// Sets the printer's paper for the layout: the label's size, or A4.
void setPaper(QPrinter& printer, Layout layout);
// Draws the tickets on a printer already chosen: a page a label, or eight a sheet.
bool drawPages(QPrinter& printer, const QList<Ticket>& tickets, Layout layout);

}  // namespace tickets
