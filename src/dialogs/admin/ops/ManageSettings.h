#pragma once

#include "db/Outcome.h"

#include <QString>

class mySQLTool;

// The two settings rows production management edits. UI-free.
namespace manage {

// The default loss unit price, stored as typed ("1.5元" too); refused ("错误的损耗单价") when the
// number it starts with is not above 0.
Outcome saveLossPrice(mySQLTool& db, const QString& text);

// The privileged password, stored as its hash; refused ("密码不能为空") when empty.
Outcome savePrivilegedPassword(mySQLTool& db, const QString& text);

}  // namespace manage
