#pragma once

#include "db/Outcome.h"

#include <QByteArray>
#include <QString>

class ListModel;
class QWidget;
class Rows;

// The text exports of the inquiry screens: GBK, every line ending in CR LF, appended to the
// file chosen, which is created when missing.
namespace exporting {

// A list as text: "list, semicolon" has a header of the captions and cells of at most 511
// bytes, each followed by ";"; "list, comma" has no header and cells of at most 99 bytes,
// each followed by ","; both end with one empty line. Empty for a list without rows.
enum class Layout { ListSemicolon, ListComma };
QByteArray listText(const ListModel& list, Layout layout);
// A result as text: the field names, the first titled "序列号", then each non-NULL value,
// each followed by ";" (a NULL adds nothing); lines of at most 4095 bytes.
QByteArray resultText(const Rows& rows);

// Appends bytes to a file; false when it could not be written.
bool appendToFile(const QString& path, const QByteArray& bytes);

// Where an export goes: a save-file dialog (no filter, asking before overwriting) unless a
// test installed another chooser. An empty path means the user gave up.
class TargetChooser {
public:
    virtual ~TargetChooser() = default;
    virtual QString choose(QWidget* owner) = 0;
};
TargetChooser& chooser();
// Installs a chooser (not owned); nullptr goes back to the dialog.
void setChooser(TargetChooser* c);
// The file an export writes: the chosen path with ".txt" appended (always, as the factory's
// files have always been named); empty when the user gave up.
QString chooseTarget(QWidget* owner);

// The export buttons: asks for the file and appends the text. Refused with "没有内容可被导出"
// for a list without rows (nothing asked, no file touched) and with "导出文件发生错误" when the
// file could not be written; cancelled when the user gave up (nothing written).
Outcome exportList(QWidget* owner, const ListModel& list, Layout layout);
Outcome exportResult(QWidget* owner, const Rows& rows);

// Shows an export's outcome: "导出完毕" (caption "提示") when it was written, the refusal
// otherwise; true when written.
bool reportExport(const Outcome& outcome);

}  // namespace exporting
