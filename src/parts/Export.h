#pragma once

#include "db/Outcome.h"
#include "db/Rows.h"

#include <QString>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <optional>

class ListModel;
class QProgressDialog;
class QWidget;
class Statement;
class mySQLTool;

// The exports of the lists and results: the text files of the factory's other programs (GBK,
// CR LF, appended to the file chosen) or an Excel workbook. Rows are written a page at a time
// as they come, so memory does not grow with them; a long export shows its progress and can be
// stopped, and a file is only ever replaced whole: stopped or failed, it stays as it was.
namespace exporting {

// The text layouts. "list, semicolon": a line of the captions, cells of at most 511 bytes;
// "list, comma": no caption line, cells of at most 99 bytes; each cell followed by ";" or ","
// and each table by one empty line. "result, semicolon": a line of the result's field names,
// the first titled "序列号", then each non-NULL value followed by ";" (a NULL adds nothing), in
// lines of at most 4095 bytes.
enum class Layout { ListSemicolon, ListComma, ResultSemicolon };
enum class Format { Text, Workbook };

// What a column holds, for a workbook: text, a whole number (a count or a number), a quantity,
// money (two decimals) or a moment ("YYYY-MM-DD hh:mm:ss", or a date).
enum class Kind { Text, Integer, Number, Money, Moment };
struct Column {
    QString caption;
    Kind kind = Kind::Text;
};
using Columns = QVector<Column>;
// A list's captions with the kinds of its columns in order (text for those not given).
Columns columnsOf(const ListModel& list, std::initializer_list<Kind> kinds);

// A table's rows a page at a time: each call gives the next page, with the result's field
// names; a page without rows ends the table; a failed page stops the export.
using Pages = std::function<Rows()>;
// A list's rows (those `keep` takes, all without it), copied when the first page is asked for,
// as one page.
Pages listPages(const ListModel& list, const std::function<bool(int row)>& keep = {});
// The rows of a statement, read as the server sends them on a connection of their own opened
// like `db` (see RowStream), 1024 at a time.
Pages streamedPages(mySQLTool& db, const Statement& statement);

struct Table {
    Columns columns;
    Pages pages;
    quint64 expected = 0;  // the rows it will have, for the progress
};

// What an export writes: tables one after the other. A workbook puts them on one sheet, named
// after the list, under the heading's lines (a printed page's title, customer and period);
// a text file has no heading.
struct Document {
    QString sheet;
    QStringList heading;
    QVector<Table> tables;
};

// Told the rows written so far while an export runs; false once the user stopped it.
using Progress = std::function<bool(quint64 rows)>;

// Writes a document in a text layout, appended to the file (created when missing) through a
// copy that replaces it when complete. Done; failed with the server's text when a page failed;
// refused with "导出文件发生错误" when the file could not be written; cancelled when stopped.
// In every case but done the file is as it was.
Outcome writeText(const QString& path, Layout layout, const Document& document,
                  const Progress& progress = {});
// Writes a document as a workbook in place of the file, with the same outcomes. A sheet holds
// at most `sheetRows` rows; the rows after them go on to a sheet "NAME (2)" and so on, under the
// same captions.
inline constexpr int kSheetRows = 1048576;
Outcome writeWorkbook(const QString& path, const Document& document, const Progress& progress = {},
                      int sheetRows = kSheetRows);

// An export of a screen: the text layout the factory's files have, the format offered first,
// and what a workbook holds when it is not the same as the text (a printed page).
struct Export {
    Layout layout = Layout::ListSemicolon;
    Format preferred = Format::Text;
    Document document;
    std::optional<Document> workbook;
};

// The file an export writes, and how.
struct Target {
    QString path;
    Format format = Format::Text;
};

// What an export asks the user: the save-file dialog (the text layout and "Excel 工作簿 (*.xlsx)",
// the preferred one first; asking before overwriting) and, while it runs, a progress dialog
// with 取消 that shows itself when the export takes long. Tests install their own.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An empty path means the user gave up.
    virtual Target choose(QWidget* owner, Format preferred) = 0;
    virtual Progress progress(QWidget* owner, quint64 expected) = 0;
};
Dialogs& dialogs();
// The real progress dialog, shown once an export has run for half a second, and one step of it:
// the rows written so far, and whether 取消 was not pressed.
QProgressDialog* progressDialog(QWidget* owner, quint64 expected);
bool advance(QProgressDialog& dialog, quint64 rows);
// Installs dialogs (not owned); nullptr goes back to the real ones.
void setDialogs(Dialogs* d);
// The file chosen: a text file's path with ".txt" appended (always, as the factory's files have
// always been named), a workbook's with ".xlsx" unless it has it (asking before replacing a
// file the dialog did not ask about). Empty when the user gave up.
Target chooseTarget(QWidget* owner, Format preferred);

// The export buttons: asks for the file and writes the export with its progress. Refused with
// "没有内容可被导出" when no row is expected (nothing asked, no file touched); cancelled when the
// user gave up or stopped it (nothing written).
Outcome run(QWidget* owner, const Export& what);
// A list in a layout, as a sheet of its own.
Outcome exportList(QWidget* owner, const ListModel& list, Layout layout, const QString& sheet,
                   const Columns& columns);
// Every row of a statement in the result layout, or a sheet under the given captions.
Outcome exportResult(QWidget* owner, mySQLTool& db, const Statement& statement, const QString& sheet,
                     const Columns& columns, quint64 expected, Format preferred = Format::Text);

// Shows an export's outcome: "导出完毕" (caption "提示") when it was written, the refusal
// otherwise; true when written.
bool reportExport(const Outcome& outcome);

}  // namespace exporting
