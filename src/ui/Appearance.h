#pragma once

class QApplication;

// The look every window of the client shares: Chinese standard buttons (确定, 取消),
// a CJK font, the Fusion style. Call once after the application object exists.
void applyAppearance(QApplication& app);
