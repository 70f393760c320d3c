#include "print/TicketLayout.h"

#include "print/QrCode.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

namespace tickets {

namespace {

Settings g_settings;

constexpr QSizeF kA4Mm{210, 297};

QFont font(double pixels, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("SimHei"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans Mono CJK SC")});
    f.setPixelSize(std::max(1, qRound(pixels)));
    f.setBold(bold);
    return f;
}

bool urgent(const QString& priority)
{
    return priority == QStringLiteral("紧急") || priority == QStringLiteral("加急");
}

// Draws text in a box given in millimetres of the ticket, elided when it does not fit.
class Pen {
public:
    Pen(QPainter& p, const QRectF& rect)
        : p_(p), origin_(rect.topLeft()), mm_(rect.width() / kLabelMm.width())
    {
    }
    double mm(double v) const { return v * mm_; }
    QRectF box(double x, double y, double w, double h) const
    {
        return QRectF(origin_.x() + mm(x), origin_.y() + mm(y), mm(w), mm(h));
    }
    void text(double x, double y, double w, double h, const QString& s, double size, bool bold = false,
              int align = Qt::AlignLeft | Qt::AlignVCenter)
    {
        const QRectF r = box(x, y, w, h);
        p_.setFont(font(mm(size), bold));
        p_.drawText(r, align, p_.fontMetrics().elidedText(s, Qt::ElideRight, int(r.width())));
    }
    // Text wrapped within the box; what does not fit is cut at the box.
    void wrapped(double x, double y, double w, double h, const QString& s, double size)
    {
        p_.setFont(font(mm(size)));
        p_.save();
        p_.setClipRect(box(x, y, w, h));
        p_.drawText(box(x, y, w, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, s);
        p_.restore();
    }
    void line(double x1, double y1, double x2, double y2)
    {
        p_.drawLine(QPointF(origin_.x() + mm(x1), origin_.y() + mm(y1)),
                    QPointF(origin_.x() + mm(x2), origin_.y() + mm(y2)));
    }
    QPainter& painter() { return p_; }

private:
    QPainter& p_;
    QPointF origin_;
    double mm_;
};

QString goods(const Ticket& t)
{
    QStringList parts;
    for (const QString& s : {t.nature, t.type, t.kind, t.sex})
        if (!s.isEmpty())
            parts.append(s);
    return parts.join(QStringLiteral("·"));
}

}  // namespace

const Settings& settings()
{
    return g_settings;
}

void setSettings(const Settings& s)
{
    g_settings = s;
}

void draw(QPainter& painter, const QRectF& rect, const Ticket& t)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    Pen pen(painter, rect);
    const double w = kLabelMm.width();
    const double h = kLabelMm.height();
    constexpr double m = 2.5;            // margin
    constexpr double qr = 25;            // the code's square, its quiet zone included
    const double left = w - 2 * m - qr;  // the text column's width

    // The code, with its digits under it for typing by hand.
    QrCode(t.code.toLatin1()).draw(painter, pen.box(w - m - qr, m - 1, qr, qr));
    pen.text(w - m - qr, m + qr - 1.5, qr, 4.5, t.hand, 3.2, true, Qt::AlignHCenter | Qt::AlignVCenter);

    const bool order = t.flow == 0;
    pen.text(m, m, left, 6,
             order ? QStringLiteral("货单 %1").arg(t.order) : QStringLiteral("流水 %1").arg(t.flow), 5, true);
    QString ids = order ? QString() : QStringLiteral("货单 %1").arg(t.order);
    if (!t.style.isEmpty() && t.style != QStringLiteral("0"))
        ids += (ids.isEmpty() ? QString() : QStringLiteral("   ")) + QStringLiteral("款号 %1").arg(t.style);
    pen.text(m, m + 6.5, left, 4, ids, 3.2);
    pen.text(m, m + 10.5, left, 4.5, t.customer, 3.6, true);
    pen.text(m, m + 15, left, 4, goods(t), 3.2);
    pen.wrapped(m, m + 19.5, left, 7.5, t.method, 3);

    // The priority, black on white for an ordinary one and white on black when it hurries.
    const QRectF badge = pen.box(m, m + 27.5, 14, 6);
    if (urgent(t.priority)) {
        painter.fillRect(badge, Qt::black);
        painter.setPen(Qt::white);
    } else {
        painter.drawRect(badge);
    }
    pen.text(m, m + 27.5, 14, 6, t.priority, 4.2, true, Qt::AlignCenter);
    painter.setPen(QPen(Qt::black, 0));

    // Quantity, station and time along the foot.
    pen.line(m, h - 12.5, w - m, h - 12.5);
    pen.text(m, h - 12, 12, 4, QStringLiteral("数量"), 2.8);
    pen.text(m, h - 8.5, 24, 6.5, QStringLiteral("%1 件").arg(t.quantity), 5.5, true);
    pen.text(m + 25, h - 12, 18, 4, order ? QStringLiteral("货单") : QStringLiteral("所在"), 2.8);
    pen.text(m + 25, h - 8.5, 15, 6.5, t.station, 5, true);
    pen.text(w - m - 26, h - 8.5, 26, 6.5, t.made, 2.5, false, Qt::AlignRight | Qt::AlignVCenter);
    painter.restore();
}

QImage image(const Ticket& ticket, double dpm)
{
    QImage out(qRound(kLabelMm.width() * dpm), qRound(kLabelMm.height() * dpm), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    draw(p, QRectF(QPointF(0, 0), out.size()), ticket);
    return out;
}

namespace {

// The place of ticket `i` of a sheet, in millimetres: a cell of the 2 x 4 grid with the
// ticket as large as fits, centred, and the cell's edges to cut along.
QRectF sheetCell(int i)
{
    const double cw = kA4Mm.width() / kSheetColumns;
    const double ch = kA4Mm.height() / kSheetRows;
    return QRectF((i % kSheetColumns) * cw, (i / kSheetColumns) * ch, cw, ch);
}

QRectF ticketIn(const QRectF& cell)
{
    const double scale =
        std::min((cell.width() - 10) / kLabelMm.width(), (cell.height() - 8) / kLabelMm.height());
    QRectF r(0, 0, kLabelMm.width() * scale, kLabelMm.height() * scale);
    r.moveCenter(cell.center());
    return r;
}

void drawSheet(QPainter& p, const QList<Ticket>& tickets, double dpmX, double dpmY)
{
    const auto px = [dpmX, dpmY](const QRectF& mm) {
        return QRectF(mm.x() * dpmX, mm.y() * dpmY, mm.width() * dpmX, mm.height() * dpmY);
    };
    for (int i = 0; i < tickets.size(); ++i) {
        const QRectF cell = sheetCell(i);
        p.save();
        p.setPen(QPen(Qt::gray, 0, Qt::DashLine));
        p.drawRect(px(cell));
        p.restore();
        draw(p, px(ticketIn(cell)), tickets.at(i));
    }
}

}  // namespace

QImage sheetImage(const QList<Ticket>& tickets, double dpm)
{
    QImage out(qRound(kA4Mm.width() * dpm), qRound(kA4Mm.height() * dpm), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    drawSheet(p, tickets.mid(0, kSheetColumns * kSheetRows), dpm, dpm);
    return out;
}

void setPaper(QPrinter& printer, Layout layout)
{
    if (layout == Layout::Label)
        printer.setPageLayout(QPageLayout(QPageSize(kLabelMm, QPageSize::Millimeter), QPageLayout::Portrait,
                                          QMarginsF(), QPageLayout::Millimeter));
    else
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                          QPageLayout::Millimeter));
    printer.setFullPage(true);
}

bool drawPages(QPrinter& printer, const QList<Ticket>& tickets, Layout layout)
{
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const double dpmX = printer.logicalDpiX() / 25.4;
    const double dpmY = printer.logicalDpiY() / 25.4;
    const int perPage = layout == Layout::Label ? 1 : kSheetColumns * kSheetRows;
    bool ok = true;
    for (int first = 0; first < tickets.size() && ok; first += perPage) {
        if (first > 0)
            ok = printer.newPage();
        if (!ok)
            break;
        if (layout == Layout::Label)
            draw(p, QRectF(0, 0, kLabelMm.width() * dpmX, kLabelMm.height() * dpmY), tickets.at(first));
        else
            drawSheet(p, tickets.mid(first, perPage), dpmX, dpmY);
    }
    return p.end() && ok;
}

}  // namespace tickets
