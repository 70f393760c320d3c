#include "dialogs/tickets/Scanned.h"

#include "db/mySQLTool.h"
#include "ui/Prompt.h"

namespace scan {

Scanned read(const QString& text, bool follow)
{
    Scanned s;
    const ticket::Code code = ticket::parse(text);
    if (code.kind == ticket::Kind::None) {
        prompt().message(QStringLiteral("无法识别的条码：%1").arg(text), QStringLiteral("错误"));
        return s;
    }
    const Outcome found = code.kind == ticket::Kind::Flow ? findFlow(g_sqlTool, code.id, s.flow, follow)
                                                          : findOrder(g_sqlTool, code.id, s.order);
    if (prompt().report(found))
        s.kind = code.kind;
    return s;
}

}  // namespace scan
