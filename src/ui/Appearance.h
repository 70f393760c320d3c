#pragma once

#include <QString>

class QApplication;

// The application's name: the caption of a message that has none of its own.
inline const QString kApplicationTitle = QStringLiteral("洗水厂生产管理系统");

// The look every window of the client shares: Chinese standard buttons (确定, 取消),
// a CJK font, the Fusion style. Call once after the application object exists.
void applyAppearance(QApplication& app);
