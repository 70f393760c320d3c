#include "parts/Export.h"

#include "db/FillList.h"
#include "db/ListModel.h"
#include "db/RowStream.h"
#include "db/mySQLTool.h"
#include "parts/ExportSinks.h"
#include "ui/Prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <atomic>
#include <climits>
#include <cstdio>
#include <memory>

namespace exporting {

namespace {

const QString kNothing = QStringLiteral("没有内容可被导出");
const QString kFailed = QStringLiteral("导出文件发生错误");
const QString kTextFilter = QStringLiteral("文本文件 (*.txt)");
const QString kWorkbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");

// Writes every table of a document, page by page, telling the progress after each page.
Outcome write(const Document& document, Sink& sink, const Progress& progress)
{
    if (!sink.heading(document.heading))
        return Outcome::refused(kFailed);
    quint64 written = 0;
    for (const Table& table : document.tables) {
        bool begun = false;
        for (;;) {
            const Rows page = table.pages();
            if (!page)
                return page.failed();
            if (!begun && !sink.begin(table.columns, page.fields()))
                return Outcome::refused(kFailed);
            begun = true;
            if (page.empty())
                break;
            if (!sink.rows(page))
                return Outcome::refused(kFailed);
            written += quint64(page.size());
            if (progress && !progress(written))
                return Outcome::cancelled();
        }
        if (!sink.end())
            return Outcome::refused(kFailed);
    }
    return Outcome::done();
}

class RealDialogs : public Dialogs {
public:
    Target choose(QWidget* owner, Format preferred) override
    {
        const bool book = preferred == Format::Workbook;
        QString selected = book ? kWorkbookFilter : kTextFilter;
        const QString filters = book ? kWorkbookFilter + QStringLiteral(";;") + kTextFilter
                                     : kTextFilter + QStringLiteral(";;") + kWorkbookFilter;
        const QString path =
            QFileDialog::getSaveFileName(owner, QStringLiteral("导出"), QString(), filters, &selected);
        return {path, selected == kWorkbookFilter ? Format::Workbook : Format::Text};
    }

    Progress progress(QWidget* owner, quint64 expected) override
    {
        std::shared_ptr<QProgressDialog> dialog(progressDialog(owner, expected));
        return [dialog](quint64 rows) { return advance(*dialog, rows); };
    }
};

RealDialogs g_real;
Dialogs* g_dialogs = &g_real;

// A name beside the target for the workbook while it is written.
QString partName(const QString& path)
{
    static std::atomic<int> counter{0};
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral(".%1.%2-%3.part")
                                   .arg(info.fileName())
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(++counter));
}

}  // namespace

Columns columnsOf(const ListModel& list, std::initializer_list<Kind> kinds)
{
    Columns out;
    const auto kind = kinds.begin();
    for (int c = 0; c < list.columns(); ++c)
        out.append(Column{list.column(c).caption, c < int(kinds.size()) ? kind[c] : Kind::Text});
    return out;
}

Pages listPages(const ListModel& list, const std::function<bool(int row)>& keep)
{
    auto given = std::make_shared<bool>(false);
    const ListModel* source = &list;
    return [source, given, keep]() {
        QStringList captions;
        for (int c = 0; c < source->columns(); ++c)
            captions.append(source->column(c).caption);
        QVector<Row> rows;
        if (!*given) {
            for (int r = 0; r < source->rows(); ++r)
                if (!keep || keep(r))
                    rows.append(Row(source->rowCells(r), QVector<bool>(source->columns(), false)));
            *given = true;
        }
        const quint64 n = quint64(rows.size());
        return Rows(captions, std::move(rows), n);
    };
}

Pages streamedPages(mySQLTool& db, const Statement& statement)
{
    auto stream = std::make_shared<RowStream>(db);
    auto started = std::make_shared<bool>(false);
    return [stream, started, statement]() {
        if (!*started) {
            *started = true;
            if (!stream->start(statement))
                return Rows::failure(stream->error());
        }
        return stream->next(kListCap);
    };
}

Outcome writeText(const QString& path, Layout layout, const Document& document, const Progress& progress)
{
    // Appended through a copy that replaces the file when complete, so that a stop or a
    // failure leaves the file exactly as it was.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return Outcome::refused(kFailed);
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return Outcome::refused(kFailed);
        while (!old.atEnd()) {
            const QByteArray chunk = old.read(1 << 20);
            if (chunk.isEmpty() || out.write(chunk) != chunk.size())
                return Outcome::refused(kFailed);
        }
    }
    TextSink sink(out, layout);
    const Outcome written = write(document, sink, progress);
    if (!written) {
        out.cancelWriting();
        return written;
    }
    return out.commit() ? written : Outcome::refused(kFailed);
}

Outcome writeWorkbook(const QString& path, const Document& document, const Progress& progress, int sheetRows)
{
    const QString part = partName(path);
    Outcome written = Outcome::refused(kFailed);
    {
        WorkbookSink sink(part, document.sheet, sheetRows);
        written = write(document, sink, progress);
        if (written && !sink.close())
            written = Outcome::refused(kFailed);
    }
    // Replaced in one step: the old file stays whole until the new one is.
    if (written && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0)
        written = Outcome::refused(kFailed);
    if (!written)
        QFile::remove(part);
    return written;
}

QProgressDialog* progressDialog(QWidget* owner, quint64 expected)
{
    auto* dialog = new QProgressDialog(QStringLiteral("正在导出……"), QStringLiteral("取消"), 0,
                                       static_cast<int>(std::min<quint64>(expected, INT_MAX)), owner);
    dialog->setObjectName(QStringLiteral("exportProgress"));
    dialog->setWindowTitle(QStringLiteral("导出"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(500);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setValue(0);
    return dialog;
}

bool advance(QProgressDialog& dialog, quint64 rows)
{
    dialog.setLabelText(QStringLiteral("正在导出，已写入%1行……").arg(rows));
    dialog.setValue(static_cast<int>(std::min<quint64>(rows, quint64(dialog.maximum()))));
    QCoreApplication::processEvents();
    return !dialog.wasCanceled();
}

Dialogs& dialogs()
{
    return *g_dialogs;
}

void setDialogs(Dialogs* d)
{
    g_dialogs = d ? d : &g_real;
}

Target chooseTarget(QWidget* owner, Format preferred)
{
    Target t = dialogs().choose(owner, preferred);
    if (t.path.isEmpty())
        return {};
    if (t.format == Format::Text) {
        t.path += QStringLiteral(".txt");
        return t;
    }
    if (t.path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return t;
    t.path += QStringLiteral(".xlsx");
    // The dialog asked about the name without the extension.
    if (QFile::exists(t.path) &&
        !prompt().confirm(QStringLiteral("%1 已存在，要替换它吗？").arg(QFileInfo(t.path).fileName()),
                          QStringLiteral("提示")))
        return {};
    return t;
}

Outcome run(QWidget* owner, const Export& what)
{
    quint64 expected = 0;
    for (const Table& t : what.document.tables)
        expected += t.expected;
    if (expected == 0)
        return Outcome::refused(kNothing);
    const Target target = chooseTarget(owner, what.preferred);
    if (target.path.isEmpty())
        return Outcome::cancelled();
    const Document& document =
        target.format == Format::Workbook && what.workbook ? *what.workbook : what.document;
    const Progress progress = dialogs().progress(owner, expected);
    return target.format == Format::Workbook ? writeWorkbook(target.path, document, progress)
                                             : writeText(target.path, what.layout, document, progress);
}

Outcome exportList(QWidget* owner, const ListModel& list, Layout layout, const QString& sheet,
                   const Columns& columns)
{
    Export e;
    e.layout = layout;
    e.document = Document{sheet, {}, {Table{columns, listPages(list), quint64(list.rows())}}};
    return run(owner, e);
}

Outcome exportResult(QWidget* owner, mySQLTool& db, const Statement& statement, const QString& sheet,
                     const Columns& columns, quint64 expected, Format preferred)
{
    Export e;
    e.layout = Layout::ResultSemicolon;
    e.preferred = preferred;
    e.document = Document{sheet, {}, {Table{columns, streamedPages(db, statement), expected}}};
    return run(owner, e);
}

bool reportExport(const Outcome& outcome)
{
    if (outcome.ok())
        prompt().message(QStringLiteral("导出完毕"), QStringLiteral("提示"));
    else
        prompt().report(outcome);
    return outcome.ok();
}

}  // namespace exporting
