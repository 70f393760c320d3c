#pragma once

#include "dialogs/board/ops/BoardFigures.h"

#include <QDialog>

class BoardChart;
class BoardReader;
class BoardTable;
class QLabel;
class QThread;
class QTimer;

// The floor board "车间看板": for a television on the workshop wall, where the goods wait
// and for how long, what each station and team passed on today, the rush orders and the
// goods waiting for confirmation at 发送. It reads every 30 seconds while it is shown (a
// board is watched, not worked at, so it does not wait to be the active window), and soon
// after this PC saved a change. When the server cannot be reached it says so and keeps the
// last figures, greyed, with their age. F11 switches full screen on and off.
class Dlg_Board : public QDialog {
    Q_OBJECT
public:
    explicit Dlg_Board(QWidget* parent = nullptr);
    ~Dlg_Board() override;

    static constexpr int kRefreshMs = 30000;
    // While the server cannot be reached it is tried more often, to be back soon.
    static constexpr int kRetryMs = 10000;
    // A change at this PC is read this long after it, so one action is read once.
    static constexpr int kAfterChangeMs = 300;

    // The board of `owner`, opened when there is none and brought to the front: full screen on
    // the screen of `owner`, or else beside it (full screen on another screen when there is
    // one, maximized otherwise).
    enum class Place { FullScreen, Beside };
    static Dlg_Board* openFor(QWidget* owner, Place place);

    // Reads now (or as soon as the read under way is done).
    void refreshNow();
    // Shows what a read gave: the figures, or why there are none (`failure` not empty).
    void showRead(const board::Figures& figures, const QString& failure);

    // The figures shown, greyed when stale(); stale() when the last read failed.
    const board::Figures& figures() const { return figures_; }
    bool stale() const { return stale_; }
    bool hasFigures() const { return figures_.taken.isValid(); }
    QString statusText() const;

Q_SIGNALS:
    // A read was shown (figures or failure).
    void refreshed();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildLayout();
    void applyScale();
    void render();
    void renderStations();
    void renderTeams();
    void renderRush();
    void renderShipping();
    void tick();
    void timedRefresh();

    QThread* thread_;
    BoardReader* reader_;
    QTimer* refreshTimer_;
    QTimer* clockTimer_;
    QTimer* soonTimer_;
    bool reading_ = false;
    bool again_ = false;

    board::Figures figures_;
    bool stale_ = false;
    QString failure_;

    QLabel* title_;
    QLabel* status_;
    QLabel* clock_;
    QList<QLabel*> sections_;
    QLabel* stationsTitle_;
    QLabel* teamsTitle_;
    QLabel* rushTitle_;
    QLabel* shippingTitle_;
    BoardTable* stations_;
    BoardChart* chart_;
    BoardTable* teams_;
    BoardTable* rush_;
    BoardTable* shipping_;
    double scale_ = 1.0;
    int styledStale_ = -1;  // the state the style sheets were set for; -1 none yet
};
