#include "dialogs/board/Dlg_Board.h"

#include "db/TimeText.h"
#include "db/mySQLTool.h"
#include "dialogs/board/BoardChart.h"
#include "dialogs/board/BoardReader.h"
#include "dialogs/board/BoardTable.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace {

// Light type on a dark ground reads best from afar; the three waiting bands in the colours of
// a traffic light. A stale board keeps its figures in greys.
struct Colors {
    QColor ground, text, header, section;
    std::array<QColor, 3> bands;
    QColor bottleneck, urgent, hurried;
};

Colors colorsFor(bool stale)
{
    if (stale)
        return {QColor(0x0d1421),
                QColor(0x59636e),
                QColor(0x48515b),
                QColor(0x505a64),
                {QColor(0x3e444b), QColor(0x4f565e), QColor(0x626971)},
                QColor(0x1f252c),
                QColor(0x6a737c),
                QColor(0x6a737c)};
    return {QColor(0x0d1421),
            QColor(0xf2f5f8),
            QColor(0x8fa3b8),
            QColor(0x7cc4ff),
            {QColor(0x33c26b), QColor(0xf2a93b), QColor(0xe8453c)},
            QColor(0x6b1f1f),
            QColor(0xff6b5e),
            QColor(0xf2a93b)};
}

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
const QString kShipping = QStringLiteral("发送");

QString pieces(double n)
{
    return QString::number(std::llround(n));
}

// How old the figures are, in words.
QString ageText(qint64 seconds)
{
    if (seconds < 60)
        return QStringLiteral("刚刚");
    if (seconds < 3600)
        return QStringLiteral("%1分钟前").arg(seconds / 60);
    return QStringLiteral("%1小时%2分钟前").arg(seconds / 3600).arg(seconds % 3600 / 60);
}

QLabel* label(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

void setPixels(QWidget* w, double pixels, bool bold = false)
{
    QFont f = w->font();
    f.setPixelSize(std::max(8, int(std::lround(pixels))));
    f.setBold(bold);
    w->setFont(f);
}

QVBoxLayout* section(QLabel* title, QWidget* body)
{
    auto* l = new QVBoxLayout;
    l->setSpacing(4);
    l->addWidget(title);
    l->addWidget(body, 1);
    return l;
}

}  // namespace

Dlg_Board::Dlg_Board(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_Board"));
    setWindowTitle(QStringLiteral("车间看板"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1280, 720);

    buildLayout();
    applyScale();
    setStyleSheet(QStringLiteral("Dlg_Board { background: %1; } QLabel { color: %2; }")
                      .arg(colorsFor(false).ground.name(), colorsFor(false).text.name()));

    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("boardReader"));
    reader_ = new BoardReader(g_sqlTool.login());
    reader_->moveToThread(thread_);
    connect(thread_, &QThread::finished, reader_, &QObject::deleteLater);
    connect(reader_, &BoardReader::read, this, [this](const board::Figures& f, const QString& failure) {
        reading_ = false;
        showRead(f, failure);
        if (again_) {
            again_ = false;
            refreshNow();
        }
    });
    thread_->start();

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setInterval(kRefreshMs);
    connect(refreshTimer_, &QTimer::timeout, this, &Dlg_Board::timedRefresh);
    clockTimer_ = new QTimer(this);
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &Dlg_Board::tick);
    soonTimer_ = new QTimer(this);
    soonTimer_->setSingleShot(true);
    soonTimer_->setInterval(kAfterChangeMs);
    connect(soonTimer_, &QTimer::timeout, this, &Dlg_Board::timedRefresh);
    // What this PC saves shows at once; the hook only starts a timer, inside the action.
    g_sqlTool.SetChangeHook([this] { soonTimer_->start(); });

    render();
}

Dlg_Board::~Dlg_Board()
{
    g_sqlTool.SetChangeHook({});
    // A read under way ends within the session's timeouts.
    thread_->quit();
    thread_->wait();
}

void Dlg_Board::buildLayout()
{
    title_ = label(this, "boardTitle", QStringLiteral("车间看板"));
    status_ = label(this, "boardStatus");
    status_->setAlignment(Qt::AlignCenter);
    clock_ = label(this, "boardClock");
    clock_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    stations_ = new BoardTable("stationTable", QStringLiteral("各工作站"),
                               {{QStringLiteral("工作站"), 5},
                                {QStringLiteral("等待流水"), 3},
                                {QStringLiteral("等待件数"), 3},
                                {QStringLiteral("最久等待"), 3},
                                {QStringLiteral("今日完成"), 3}},
                               this);
    chart_ = new BoardChart(this);
    teams_ = new BoardTable(
        "teamTable", QStringLiteral("班组交接件数"),
        {{QStringLiteral("班组"), 4}, {QStringLiteral("今日"), 3}, {QStringLiteral("昨日"), 3}}, this);
    rush_ = new BoardTable("rushTable", QStringLiteral("急单"),
                           {{QStringLiteral("货单号"), 3},
                            {QStringLiteral("客户"), 6},
                            {QStringLiteral("件数"), 2},
                            {QStringLiteral("等级"), 2},
                            {QStringLiteral("货物所在"), 8}},
                           this);
    shipping_ = new BoardTable("shippingTable", QStringLiteral("发送待确认"),
                               {{QStringLiteral("货单号"), 3},
                                {QStringLiteral("客户"), 6},
                                {QStringLiteral("来自"), 2},
                                {QStringLiteral("件数"), 2},
                                {QStringLiteral("已等待"), 3}},
                               this);
    stationsTitle_ = label(this, "stationsTitle", QStringLiteral("各工作站：等待与今日完成"));
    auto* chartTitle = label(this, "chartTitle", QStringLiteral("等待件数（按已等待时长）"));
    teamsTitle_ = label(this, "teamsTitle", QStringLiteral("班组交接件数"));
    rushTitle_ = label(this, "rushTitle");
    shippingTitle_ = label(this, "shippingTitle");
    sections_ = {stationsTitle_, chartTitle, teamsTitle_, rushTitle_, shippingTitle_};

    auto* header = new QHBoxLayout;
    header->addWidget(title_);
    header->addWidget(status_, 1);
    header->addWidget(clock_);

    auto* top = new QHBoxLayout;
    top->setSpacing(32);
    top->addLayout(section(stationsTitle_, stations_), 3);
    top->addLayout(section(chartTitle, chart_), 2);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(32);
    bottom->addLayout(section(teamsTitle_, teams_), 5);
    bottom->addLayout(section(rushTitle_, rush_), 11);
    bottom->addLayout(section(shippingTitle_, shipping_), 8);

    auto* root = new QVBoxLayout(this);
    // Whatever the screen, the board takes it whole: its type follows the size, not the
    // other way round.
    root->setSizeConstraint(QLayout::SetNoConstraint);
    root->setContentsMargins(24, 12, 24, 16);
    root->setSpacing(12);
    root->addLayout(header);
    root->addLayout(top, 9);
    root->addLayout(bottom, 8);
}

Dlg_Board* Dlg_Board::openFor(QWidget* owner, Place place)
{
    Dlg_Board* b = owner ? owner->findChild<Dlg_Board*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!b) {
        b = new Dlg_Board(owner);
        b->setAttribute(Qt::WA_DeleteOnClose);
        QScreen* own = owner ? owner->screen() : QGuiApplication::primaryScreen();
        QScreen* where = own;
        if (place == Place::Beside)
            for (QScreen* s : QGuiApplication::screens())
                if (s != own)
                    where = s;
        if (where)
            b->setGeometry(where->geometry());
        if (place == Place::FullScreen || where != own)
            b->showFullScreen();
        else
            b->showMaximized();
    }
    b->raise();
    b->activateWindow();
    return b;
}

void Dlg_Board::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!refreshTimer_->isActive()) {
        refreshTimer_->start();
        clockTimer_->start();
        refreshNow();
    }
}

void Dlg_Board::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    // Made for 1920 x 1080; a larger or smaller screen shows the same, in proportion.
    const double s = std::clamp(std::min(width() / 1920.0, height() / 1080.0), 0.4, 4.0);
    if (std::abs(s - scale_) > 0.01) {
        scale_ = s;
        applyScale();
        render();
    }
}

void Dlg_Board::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_F11) {
        if (isFullScreen())
            showMaximized();
        else
            showFullScreen();
        return;
    }
    QDialog::keyPressEvent(e);
}

void Dlg_Board::applyScale()
{
    setPixels(title_, 46 * scale_, true);
    setPixels(clock_, 46 * scale_, true);
    setPixels(status_, 28 * scale_, true);
    for (QLabel* l : sections_)
        setPixels(l, 30 * scale_, true);
    stations_->setTextPixels(int(34 * scale_));
    teams_->setTextPixels(int(30 * scale_));
    rush_->setTextPixels(int(27 * scale_));
    shipping_->setTextPixels(int(27 * scale_));
    chart_->setTextPixels(int(22 * scale_));
}

void Dlg_Board::refreshNow()
{
    if (reading_) {
        again_ = true;
        return;
    }
    reading_ = true;
    const QDateTime now = kvclock::now();
    BoardReader* reader = reader_;
    QMetaObject::invokeMethod(
        reader_, [reader, now] { reader->readAt(now); }, Qt::QueuedConnection);
}

void Dlg_Board::timedRefresh()
{
    if (isVisible() && !isMinimized())
        refreshNow();
}

void Dlg_Board::showRead(const board::Figures& figures, const QString& failure)
{
    stale_ = !failure.isEmpty();
    if (stale_)
        failure_ = failure;
    else
        figures_ = figures;
    refreshTimer_->setInterval(stale_ ? kRetryMs : kRefreshMs);
    render();
    Q_EMIT refreshed();
}

QString Dlg_Board::statusText() const
{
    const QDateTime now = kvclock::now();
    if (!stale_)
        return hasFigures()
                   ? QStringLiteral("刷新于 %1").arg(figures_.taken.toString(QStringLiteral("HH:mm:ss")))
                   : QStringLiteral("正在读取……");
    if (!hasFigures())
        return QStringLiteral("无法连接数据库服务器");
    return QStringLiteral("无法连接数据库服务器 · 显示 %1 的数据（%2）")
        .arg(figures_.taken.toString(QStringLiteral("HH:mm:ss")), ageText(figures_.taken.secsTo(now)));
}

void Dlg_Board::tick()
{
    const QDateTime now = kvclock::now();
    clock_->setText(now.toString(QStringLiteral("M月d日 HH:mm")));
    status_->setText(statusText());
}

void Dlg_Board::render()
{
    // Style sheets restyle what they apply to: set only when the board turns stale or fresh.
    if (styledStale_ != int(stale_)) {
        styledStale_ = int(stale_);
        const Colors c = colorsFor(stale_);
        for (QLabel* l : sections_)
            l->setStyleSheet(QStringLiteral("color: %1").arg(c.section.name()));
        status_->setStyleSheet(stale_
                                   ? QStringLiteral("color: white; background: #b3261e; border-radius: 6px; "
                                                    "padding: 4px 16px")
                                   : QStringLiteral("color: %1").arg(c.header.name()));
    }
    status_->setToolTip(stale_ ? failure_ : QString());
    renderStations();
    renderTeams();
    renderRush();
    renderShipping();
    tick();
}

void Dlg_Board::renderStations()
{
    const Colors c = colorsFor(stale_);
    QVector<BoardTable::Line> lines;
    QVector<QColor> grounds;
    QStringList names;
    QVector<std::array<qint64, 3>> bands;
    for (int i = 0; i < figures_.stations.size(); ++i) {
        const board::Station& s = figures_.stations[i];
        const bool neck = i == figures_.bottleneck;
        const QColor age = s.flows > 0 ? c.bands[board::bandOf(s.oldestSeconds)] : QColor();
        lines.append({{neck ? s.name + QStringLiteral(" ▲瓶颈") : s.name, QColor(), kLeft},
                      {QString::number(s.flows), QColor(), kRight},
                      {QString::number(s.pieces), QColor(), kRight},
                      {s.flows > 0 ? board::hoursMinutes(s.oldestSeconds) : QStringLiteral("—"), age, kRight},
                      {QString::number(s.finishedToday), QColor(), kRight}});
        grounds.append(neck ? c.bottleneck : QColor());
        names.append(s.name);
        bands.append(s.bands);
    }
    stations_->setLines(lines, grounds, c.text, c.header);
    chart_->setBars(names, bands, {c.text, c.header, c.bands});
}

void Dlg_Board::renderTeams()
{
    const Colors c = colorsFor(stale_);
    QVector<BoardTable::Line> lines;
    for (const board::Team& t : figures_.teams)
        lines.append({{t.name.isEmpty() ? QStringLiteral("未分组") : t.name, QColor(), kLeft},
                      {pieces(t.today), QColor(), kRight},
                      {pieces(t.yesterday), c.header, kRight}});
    teams_->setLines(lines, {}, c.text, c.header);
}

void Dlg_Board::renderRush()
{
    const Colors c = colorsFor(stale_);
    QVector<BoardTable::Line> lines;
    for (const board::RushOrder& o : figures_.rush) {
        QStringList where;
        for (const board::Place& p : o.places)
            where << QStringLiteral("%1 %2").arg(p.name).arg(p.pieces);
        const QColor level = o.priority == QStringLiteral("紧急") ? c.urgent : c.hurried;
        lines.append(
            {{QString::number(o.order), QColor(), kLeft},
             {o.customer, QColor(), kLeft},
             {QString::number(o.pieces), QColor(), kRight},
             {o.priority, level, Qt::AlignCenter},
             {where.isEmpty() ? QStringLiteral("—") : where.join(QStringLiteral("，")), QColor(), kLeft}});
    }
    rush_->setLines(lines, {}, c.text, c.header);
    rushTitle_->setText(QStringLiteral("急单（紧急、加急）共 %1 单").arg(figures_.rushTotal));
}

void Dlg_Board::renderShipping()
{
    const Colors c = colorsFor(stale_);
    QVector<BoardTable::Line> lines;
    for (const board::Waiting& w : figures_.shipping)
        lines.append({{QString::number(w.order), QColor(), kLeft},
                      {w.customer, QColor(), kLeft},
                      {w.from, QColor(), kLeft},
                      {QString::number(w.pieces), QColor(), kRight},
                      {board::hoursMinutes(w.seconds), c.bands[board::bandOf(w.seconds)], kRight}});
    shipping_->setLines(lines, {}, c.text, c.header);
    int flows = 0;
    qint64 count = 0;
    for (const board::Station& s : figures_.stations)
        if (s.name == kShipping) {
            flows = s.flows;
            count = s.pieces;
        }
    shippingTitle_->setText(QStringLiteral("发送待确认：%1 条流水 %2 件").arg(flows).arg(count));
}
