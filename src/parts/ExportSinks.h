#pragma once

#include "parts/Export.h"

#include <QByteArray>

class QIODevice;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace exporting {

// Where the export writer puts a document, table by table and page by page. Every call is
// false when the target could not be written.
class Sink {
public:
    virtual ~Sink() = default;
    virtual bool heading(const QStringList& lines) = 0;
    // A table begins: its columns and the field names of its result.
    virtual bool begin(const Columns& columns, const QStringList& fields) = 0;
    virtual bool rows(const Rows& page) = 0;
    virtual bool end() = 0;
};

// The text layouts, in GBK with CR LF, onto a device.
class TextSink : public Sink {
public:
    TextSink(QIODevice& out, Layout layout) : out_(out), layout_(layout) {}
    bool heading(const QStringList&) override { return true; }
    bool begin(const Columns& columns, const QStringList& fields) override;
    bool rows(const Rows& page) override;
    bool end() override;

private:
    bool line(QByteArray bytes);
    QIODevice& out_;
    Layout layout_;
};

// A workbook of one sheet (more when the rows do not fit), written with constant memory: each
// row goes to the library's temporary file as it comes. The captions are bold and, for a list,
// frozen; cells are typed by their column's kind; columns are as wide as their widest text.
// Nothing exists at `path` before close().
class WorkbookSink : public Sink {
public:
    WorkbookSink(const QString& path, const QString& sheet, int sheetRows);
    ~WorkbookSink() override;
    WorkbookSink(const WorkbookSink&) = delete;
    WorkbookSink& operator=(const WorkbookSink&) = delete;

    bool heading(const QStringList& lines) override;
    bool begin(const Columns& columns, const QStringList& fields) override;
    bool rows(const Rows& page) override;
    bool end() override;
    // Writes the file; false when it could not be written.
    bool close();

private:
    bool newSheet();
    void finishSheet();
    bool captions();
    void cell(int column, const QString& text);
    void measure(int column, int width);

    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* title_ = nullptr;
    lxw_format* integer_ = nullptr;
    lxw_format* money_ = nullptr;
    lxw_format* moment_ = nullptr;
    lxw_format* date_ = nullptr;
    QString name_;
    int sheetRows_;
    int sheets_ = 0;
    int row_ = 0;
    bool headed_ = false;
    Columns columns_;
    QVector<int> widths_;
};

}  // namespace exporting
