#pragma once

#include <QString>
#include <functional>

class QWidget;

// One picture of a screen: `make` builds the window (filled from the database), the
// tool shows it, lets it settle and writes OUTDIR/<name>.png. `prepare`, when given,
// runs after the window is shown (to click a row, open a panel ...).
struct Shot {
    QString name;
    std::function<QWidget*()> make;
    std::function<void(QWidget*)> prepare;
};

// Each file of this folder registers its screens with a static ShotRegistration.
std::vector<Shot>& allShots();
struct ShotRegistration {
    explicit ShotRegistration(Shot shot) { allShots().push_back(std::move(shot)); }
};
