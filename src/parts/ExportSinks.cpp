#include "parts/ExportSinks.h"

#include "db/Gbk.h"
#include "db/WidthUnits.h"

#include <xlsxwriter.h>
#include <QDateTime>
#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <cmath>

namespace exporting {

namespace {

const QByteArray kLineEnd = "\r\n";

// GBK bytes of a text; a character without a GBK form cannot be in a cell read from the
// database, but a typed one becomes '?' rather than losing the rest of the line.
QByteArray gbk(const QString& text)
{
    QByteArray out;
    if (Gbk::encode(text, out))
        return out;
    QString safe;
    for (const QChar c : text)
        safe.append(Gbk::representable(QString(c)) ? c : QLatin1Char('?'));
    Gbk::encode(safe, out);
    return out;
}

}  // namespace

// ---- Text

bool TextSink::line(QByteArray bytes)
{
    bytes += kLineEnd;
    return out_.write(bytes) == bytes.size();
}

bool TextSink::begin(const Columns& columns, const QStringList& fields)
{
    if (layout_ == Layout::ListComma)
        return true;
    QByteArray header;
    if (layout_ == Layout::ResultSemicolon) {
        for (int c = 0; c < fields.size(); ++c)
            header += gbk(c == 0 ? QStringLiteral("序列号") : fields.at(c)) + ';';
        constexpr int kLineBytes = 4095;
        if (header.size() > kLineBytes)
            header = gbk(Gbk::leftBytes(Gbk::decode(header), kLineBytes));
    } else {
        for (const Column& c : columns)
            header += gbk(c.caption) + ';';
    }
    return line(header);
}

bool TextSink::rows(const Rows& page)
{
    const bool comma = layout_ == Layout::ListComma;
    const char separator = comma ? ',' : ';';
    const int cellBytes = comma ? 99 : 511;
    constexpr int kLineBytes = 4095;
    for (const Row& r : page) {
        QByteArray bytes;
        for (int c = 0; c < r.size(); ++c) {
            if (layout_ == Layout::ResultSemicolon) {
                if (!r.isNull(c))
                    bytes += gbk(r.text(c)) + ';';
            } else {
                bytes += gbk(Gbk::leftBytes(r.text(c), cellBytes)) + separator;
            }
        }
        if (layout_ == Layout::ResultSemicolon && bytes.size() > kLineBytes)
            bytes = gbk(Gbk::leftBytes(Gbk::decode(bytes), kLineBytes));
        if (!line(bytes))
            return false;
    }
    return true;
}

bool TextSink::end()
{
    return layout_ == Layout::ResultSemicolon || line(QByteArray());
}

// ---- Workbook

namespace {

constexpr int kMaxWidth = 60;
// Whole numbers beyond this are no longer exact in a spreadsheet; they stay text.
constexpr qint64 kExact = qint64(1) << 53;

// A sheet's name: at most 31 characters, none of []:*?/\.
QString sheetName(const QString& name, int number)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString base = name;
    base.replace(forbidden, QStringLiteral("_"));
    if (base.isEmpty())
        base = QStringLiteral("导出");
    const QString suffix = number > 1 ? QStringLiteral(" (%1)").arg(number) : QString();
    return base.left(31 - suffix.size()) + suffix;
}

}  // namespace

WorkbookSink::WorkbookSink(const QString& path, const QString& sheet, int sheetRows)
    : name_(sheet), sheetRows_(std::max(sheetRows, 2))
{
    lxw_workbook_options options{};
    // Each row is written out when the next one begins: memory stays the same for any size.
    options.constant_memory = LXW_TRUE;
    book_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!book_)
        return;
    const auto format = [this] { return workbook_add_format(book_); };
    bold_ = format();
    format_set_bold(bold_);
    title_ = format();
    format_set_bold(title_);
    format_set_font_size(title_, 14);
    integer_ = format();
    format_set_num_format(integer_, "0");
    money_ = format();
    format_set_num_format(money_, "#,##0.00");
    moment_ = format();
    format_set_num_format(moment_, "yyyy-mm-dd hh:mm:ss");
    date_ = format();
    format_set_num_format(date_, "yyyy-mm-dd");
    newSheet();
}

WorkbookSink::~WorkbookSink()
{
    // Not closed: nothing is written, the temporary files go.
    if (book_)
        lxw_workbook_free(book_);
}

bool WorkbookSink::newSheet()
{
    ++sheets_;
    sheet_ = workbook_add_worksheet(book_, sheetName(name_, sheets_).toUtf8().constData());
    row_ = 0;
    widths_.clear();
    return sheet_ != nullptr;
}

void WorkbookSink::finishSheet()
{
    for (int c = 0; c < widths_.size(); ++c)
        worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::min(widths_.at(c) + 2, kMaxWidth), nullptr);
}

void WorkbookSink::measure(int column, int width)
{
    if (widths_.size() <= column)
        widths_.resize(column + 1, 0);
    widths_[column] = std::max(widths_.at(column), width);
}

bool WorkbookSink::heading(const QStringList& lines)
{
    if (!sheet_ || lines.isEmpty())
        return sheet_ != nullptr;
    headed_ = true;
    for (int i = 0; i < lines.size(); ++i)
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row_++), 0, lines.at(i).toUtf8().constData(),
                               i == 0 ? title_ : nullptr);
    ++row_;
    return true;
}

bool WorkbookSink::captions()
{
    for (int c = 0; c < columns_.size(); ++c) {
        const QString& caption = columns_.at(c).caption;
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row_), static_cast<lxw_col_t>(c),
                               caption.toUtf8().constData(), bold_);
        measure(c, widthUnits(caption) + 1);
    }
    // A list's captions stay in sight while its rows are scrolled.
    if (!headed_ && row_ == 0)
        worksheet_freeze_panes(sheet_, 1, 0);
    ++row_;
    return true;
}

bool WorkbookSink::begin(const Columns& columns, const QStringList& fields)
{
    if (!sheet_)
        return false;
    // Captions and at least one row of the table on the same sheet.
    if (row_ + 1 >= sheetRows_) {
        finishSheet();
        if (!newSheet())
            return false;
    }
    columns_ = columns;
    for (qsizetype c = columns_.size(); c < fields.size(); ++c)
        columns_.append(Column{fields.at(c), Kind::Text});
    return captions();
}

bool WorkbookSink::rows(const Rows& page)
{
    for (const Row& r : page) {
        if (row_ >= sheetRows_) {
            finishSheet();
            if (!newSheet())
                return false;
            captions();
        }
        for (int c = 0; c < columns_.size(); ++c)
            if (!r.isNull(c))
                cell(c, r.text(c));
        ++row_;
    }
    return true;
}

void WorkbookSink::cell(int column, const QString& text)
{
    if (text.isEmpty())
        return;
    const auto row = static_cast<lxw_row_t>(row_);
    const auto col = static_cast<lxw_col_t>(column);
    bool ok = false;
    switch (columns_.at(column).kind) {
        case Kind::Text:
            break;
        case Kind::Integer: {
            const qint64 v = text.toLongLong(&ok);
            if (ok && v > -kExact && v < kExact) {
                worksheet_write_number(sheet_, row, col, double(v), integer_);
                measure(column, int(text.size()));
                return;
            }
            break;
        }
        case Kind::Number:
        case Kind::Money: {
            const double v = text.toDouble(&ok);
            if (ok && std::isfinite(v)) {
                const bool money = columns_.at(column).kind == Kind::Money;
                worksheet_write_number(sheet_, row, col, v, money ? money_ : nullptr);
                // The digits, the decimals and a separator a thousand.
                const int digits = int(QString::number(std::llround(std::fabs(v))).size());
                measure(column, money ? digits + digits / 3 + 4 : int(QString::number(v).size()));
                return;
            }
            break;
        }
        case Kind::Moment: {
            const bool dateOnly = text.size() == 10;
            const QDateTime t = dateOnly ? QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0))
                                         : QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            // A spreadsheet's dates begin in 1900.
            if (t.isValid() && t.date().year() >= 1900) {
                lxw_datetime dt{t.date().year(), t.date().month(),  t.date().day(),
                                t.time().hour(), t.time().minute(), double(t.time().second())};
                worksheet_write_datetime(sheet_, row, col, &dt, dateOnly ? date_ : moment_);
                measure(column, dateOnly ? 10 : 19);
                return;
            }
            break;
        }
    }
    worksheet_write_string(sheet_, row, col, text.toUtf8().constData(), nullptr);
    measure(column, widthUnits(text));
}

bool WorkbookSink::end()
{
    // Tables of one sheet are set apart by an empty row.
    ++row_;
    return true;
}

bool WorkbookSink::close()
{
    if (!book_)
        return false;
    finishSheet();
    const lxw_error e = workbook_close(book_);
    book_ = nullptr;
    return e == LXW_NO_ERROR;
}

}  // namespace exporting
