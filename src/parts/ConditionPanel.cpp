#include "parts/ConditionPanel.h"

#include "ui/Prompt.h"

void refuseCondition(const QString& message)
{
    prompt().message(message, QStringLiteral("错误"));
}
