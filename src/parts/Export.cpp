#include "parts/Export.h"

#include "db/Gbk.h"
#include "db/ListModel.h"
#include "db/Rows.h"
#include "ui/Prompt.h"

#include <QFile>
#include <QFileDialog>

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

class DialogChooser : public TargetChooser {
public:
    QString choose(QWidget* owner) override
    {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("导出"));
    }
};

DialogChooser g_dialog;
TargetChooser* g_chooser = &g_dialog;

const QString kNothing = QStringLiteral("没有内容可被导出");
const QString kFailed = QStringLiteral("导出文件发生错误");

Outcome write(QWidget* owner, const QByteArray& text)
{
    const QString path = chooseTarget(owner);
    if (path.isEmpty())
        return Outcome::cancelled();
    return appendToFile(path, text) ? Outcome::done() : Outcome::refused(kFailed);
}

}  // namespace

QByteArray listText(const ListModel& list, Layout layout)
{
    if (list.rows() == 0)
        return QByteArray();
    const bool comma = layout == Layout::ListComma;
    const char separator = comma ? ',' : ';';
    const int cellBytes = comma ? 99 : 511;
    QByteArray out;
    if (!comma) {
        for (int c = 0; c < list.columns(); ++c)
            out += gbk(list.column(c).caption) + separator;
        out += kLineEnd;
    }
    for (int r = 0; r < list.rows(); ++r) {
        for (int c = 0; c < list.columns(); ++c)
            out += gbk(Gbk::leftBytes(list.cell(r, c), cellBytes)) + separator;
        out += kLineEnd;
    }
    return out + kLineEnd;
}

QByteArray resultText(const Rows& rows)
{
    constexpr int kLineBytes = 4095;
    const auto line = [](QByteArray bytes) {
        if (bytes.size() > kLineBytes)
            bytes = gbk(Gbk::leftBytes(Gbk::decode(bytes), kLineBytes));
        return bytes + kLineEnd;
    };
    QByteArray header;
    for (int c = 0; c < rows.fields().size(); ++c)
        header += gbk(c == 0 ? QStringLiteral("序列号") : rows.fields().at(c)) + ';';
    QByteArray out = line(header);
    for (const Row& r : rows) {
        QByteArray values;
        for (int c = 0; c < r.size(); ++c)
            if (!r.isNull(c))
                values += gbk(r.text(c)) + ';';
        out += line(values);
    }
    return out;
}

bool appendToFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return f.write(bytes) == bytes.size() && f.flush();
}

TargetChooser& chooser()
{
    return *g_chooser;
}

void setChooser(TargetChooser* c)
{
    g_chooser = c ? c : &g_dialog;
}

QString chooseTarget(QWidget* owner)
{
    const QString path = chooser().choose(owner);
    return path.isEmpty() ? QString() : path + QStringLiteral(".txt");
}

Outcome exportList(QWidget* owner, const ListModel& list, Layout layout)
{
    if (list.rows() == 0)
        return Outcome::refused(kNothing);
    return write(owner, listText(list, layout));
}

Outcome exportResult(QWidget* owner, const Rows& rows)
{
    if (!rows)
        return rows.failed();
    return write(owner, resultText(rows));
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
