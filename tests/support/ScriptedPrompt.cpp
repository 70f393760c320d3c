#include "support/ScriptedPrompt.h"

namespace kvtest {

void ScriptedPrompt::message(const QString& text, const QString& caption)
{
    boxes.append(Box{text, caption, false});
}

bool ScriptedPrompt::confirm(const QString& text, const QString& caption)
{
    boxes.append(Box{text, caption, true});
    return answers_.isEmpty() ? fallback : answers_.takeFirst();
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const Box& b : boxes)
        out.append(b.text);
    return out;
}

}  // namespace kvtest
