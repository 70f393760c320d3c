#include "AppTestSupport.h"
#include "app/Dlg_Cover.h"
#include "app/Dlg_System.h"
#include "dialogs/board/Dlg_Board.h"
#include "dialogs/intake/Dlg_Consignee.h"
#include "dialogs/shipping/Dlg_Shipper.h"
#include "dialogs/stations/Dlg_Station.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSet>

using apptest::settle;

namespace {

const QStringList kStations = {QStringLiteral("洗水工作站"), QStringLiteral("喷砂工作站"),
                               QStringLiteral("树脂工作站"), QStringLiteral("手工工作站"),
                               QStringLiteral("夹烫工作站"), QStringLiteral("手擦工作站"),
                               QStringLiteral("马骝工作站")};
const QStringList kAlwaysOpen = {QStringLiteral("个人设置"), QStringLiteral("注销"),
                                 QStringLiteral("货单操作")};

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

class MainWindow : public apptest::AppTest {
protected:
    MainWindow() : AppTest(true) {}
    void SetUp() override
    {
        AppTest::SetUp();
        main = std::make_unique<CKvClientDlg>(options());
    }
    void TearDown() override
    {
        main.reset();
        AppTest::TearDown();
    }

    // Every item of the menu bar, by its menu.
    QList<QPair<QString, QStringList>> menuTree() const
    {
        QList<QPair<QString, QStringList>> tree;
        for (QAction* top : main->findChild<QMenuBar*>()->actions()) {
            QStringList items;
            for (QAction* a : top->menu()->actions())
                items.append(a->text());
            tree.append({top->text(), items});
        }
        return tree;
    }
    QSet<QString> enabledItems() const
    {
        QSet<QString> out;
        for (QAction* top : main->findChild<QMenuBar*>()->actions())
            for (QAction* a : top->menu()->actions())
                if (a->isEnabled())
                    out.insert(a->text());
        return out;
    }
    QSet<QString> expect(const QStringList& guarded) const
    {
        QSet<QString> s(guarded.begin(), guarded.end());
        for (const QString& t : kAlwaysOpen)
            s.insert(t);
        return s;
    }
    QSet<QString> signInAs(const QString& identity)
    {
        g_identity = identity;
        main->DisableMenus();
        main->EnableMenus();
        return enabledItems();
    }

    std::unique_ptr<CKvClientDlg> main;
};

TEST_F(MainWindow, MenuHoldsEveryItemWithItsCaption)
{
    EXPECT_EQ(main->windowTitle(), QStringLiteral("洗水厂生产管理系统 " KV_VERSION));
    const QList<QPair<QString, QStringList>> expected = {
        {QStringLiteral("工作站登记"), kStations},
        {QStringLiteral("货单登记"), words("来货登记 送货登记 损耗登记 货单查询 发货查询 发货统计")},
        {QStringLiteral("原料登记"), words("采购登记 领料登记 原料查询")},
        {QStringLiteral("生产管理"), words("生产管理")},
        {QStringLiteral("车间看板"), words("车间看板")},
        {QStringLiteral("财务管理"), words("计件结算 计件查询 计件追加")},
        {QStringLiteral("系统设置"), words("个人设置 管理设置 注销")},
        {QStringLiteral("简化模式"), words("货单操作")}};
    EXPECT_EQ(menuTree(), expected);
    // Signed out: only the three unguarded items.
    EXPECT_EQ(enabledItems(), expect({}));
    g_identity.clear();
    EXPECT_EQ(main->EnableMenus(), -1);
    EXPECT_EQ(enabledItems(), expect({}));
}

TEST_F(MainWindow, EachIdentitySeesExactlyItsItems)
{
    QStringList all = kStations;
    all += words(
        "来货登记 送货登记 损耗登记 货单查询 发货查询 发货统计 生产管理 领料登记 采购登记 原料查询 "
        "计件查询 计件结算 管理设置 计件追加");
    ASSERT_EQ(all.size(), 21);
    // Everybody signed in sees the dashboard, and so the floor board.
    const QStringList board = {QStringLiteral("车间看板")};
    all += board;
    const QStringList factory =
        kStations + board +
        words("来货登记 送货登记 损耗登记 货单查询 发货查询 发货统计 生产管理 领料登记 采购登记 原料查询");
    const QStringList finance = kStations + board +
                                words(
                                    "来货登记 送货登记 损耗登记 货单查询 发货查询 发货统计 领料登记 采购登记 "
                                    "原料查询 计件查询 计件结算 计件追加");
    const QStringList dispatch =
        kStations + board + words("来货登记 送货登记 损耗登记 货单查询 发货查询 领料登记 采购登记 原料查询");
    const QList<QPair<QString, QStringList>> table = {{QStringLiteral("管理员"), all},
                                                      {QStringLiteral("董事长"), all},
                                                      {QStringLiteral("厂长"), factory},
                                                      {QStringLiteral("财务"), finance},
                                                      {QStringLiteral("调度"), dispatch},
                                                      {QStringLiteral("洗水班长"), kStations + board},
                                                      {QStringLiteral("喷砂班长"), kStations + board},
                                                      {QStringLiteral("夹烫班长"), kStations + board},
                                                      {QStringLiteral("手工班长"), kStations + board},
                                                      {QStringLiteral("树脂班长"), kStations + board},
                                                      {QStringLiteral("马骝班长"), kStations + board},
                                                      {QStringLiteral("手擦班长"), kStations + board},
                                                      {QStringLiteral("游客"), board},
                                                      {QStringLiteral("运输"), board},
                                                      {QStringLiteral("管理员 "), board},
                                                      {QStringLiteral("财务班长"), board}};
    for (const auto& [identity, items] : table)
        EXPECT_EQ(signInAs(identity), expect(items)) << identity.toStdString();
}

TEST_F(MainWindow, SigningOutGreysWhatTheFormerIdentityHad)
{
    main->show();
    g_account = QStringLiteral("财务");
    g_password = QStringLiteral("123456");
    g_identity = QStringLiteral("财务");
    main->EnableMenus();
    // The board read as the one who leaves: it goes with him.
    main->action(32850)->trigger();
    const QPointer<Dlg_Board> board = main->findChild<Dlg_Board*>();
    ASSERT_FALSE(board.isNull());
    QSet<QString> during;
    bool visibleDuring = false;
    bool boardDuring = true;
    apptest::whenModal<Dlg_Cover>([&](Dlg_Cover* cover) {
        during = enabledItems();
        visibleDuring =
            main->isVisible() && g_identity.isEmpty() && g_account.isEmpty() && g_password.isEmpty();
        boardDuring = board && board->isVisible();
        cover->findChild<QLineEdit*>(QStringLiteral("account"))->setText(QStringLiteral("洗水班长"));
        cover->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("123456"));
        cover->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    main->action(32807)->trigger();
    EXPECT_EQ(during, expect({}));
    EXPECT_TRUE(visibleDuring);
    EXPECT_FALSE(boardDuring);
    EXPECT_EQ(g_identity, QStringLiteral("洗水班长"));
    EXPECT_EQ(enabledItems(), expect(kStations + QStringList{QStringLiteral("车间看板")}));
    EXPECT_FALSE(main->closed());
}

TEST_F(MainWindow, ScreenItemsOpenTheirScreensAndTheSimpleModeDoesNothing)
{
    signInAs(QStringLiteral("管理员"));
    const QList<QPair<int, QString>> stations = {
        {32779, QStringLiteral("洗水")}, {32780, QStringLiteral("喷砂")}, {32781, QStringLiteral("树脂")},
        {32782, QStringLiteral("手工")}, {32783, QStringLiteral("夹烫")}, {32784, QStringLiteral("手擦")},
        {32785, QStringLiteral("马骝")}};
    for (const auto& [command, station] : stations) {
        g_station.clear();
        QString opened;
        apptest::whenModal<Dlg_Station>([&](Dlg_Station* dlg) {
            if (dlg->parentWidget() == main.get())
                opened = dlg->findChild<QComboBox*>(QStringLiteral("stationCombo"))->currentText();
            dlg->reject();
        });
        main->action(command)->trigger();
        EXPECT_EQ(opened, station);
        EXPECT_TRUE(g_station.isEmpty()) << "the station screen takes its station and empties it";
    }
    bool shipper = false;
    apptest::whenModal<Dlg_Shipper>([&](Dlg_Shipper* dlg) {
        shipper = dlg->parentWidget() == main.get();
        dlg->reject();
    });
    main->action(32790)->trigger();
    EXPECT_TRUE(shipper);
    bool intake = false;
    apptest::whenModal<Dlg_Consignee>([&](Dlg_Consignee* dlg) {
        intake = dlg->parentWidget() == main.get();
        dlg->reject();
    });
    main->action(32788)->trigger();
    EXPECT_TRUE(intake);
    const QString before = g_station;
    const int windows = QApplication::topLevelWidgets().size();
    main->action(32843)->trigger();
    settle();
    EXPECT_EQ(g_station, before);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_EQ(g_identity, QStringLiteral("管理员"));
}

// The board is a window beside the main window, not a modal screen: the desk goes on working
// while it shows. A second 车间看板 brings the same board to the front.
TEST_F(MainWindow, TheBoardItemOpensOneBoardBesideTheMainWindow)
{
    signInAs(QStringLiteral("游客"));
    main->show();
    main->action(32850)->trigger();
    main->action(32850)->trigger();
    settle();
    const QList<Dlg_Board*> boards = main->findChildren<Dlg_Board*>();
    ASSERT_EQ(boards.size(), 1);
    EXPECT_TRUE(boards[0]->isVisible());
    EXPECT_FALSE(boards[0]->isModal());
    // One screen here: the board takes the whole of it but the task bar.
    EXPECT_TRUE(boards[0]->isMaximized());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(MainWindow, BothSettingsItemsOpenTheSettingsScreen)
{
    g_identity = QStringLiteral("调度");
    for (int command : {32805, 32806}) {
        bool opened = false;
        apptest::whenModal<Dlg_System>([&](Dlg_System* dlg) {
            opened = dlg->parentWidget() == main.get();
            dlg->reject();
        });
        main->openScreen(command);
        EXPECT_TRUE(opened) << command;
    }
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

}  // namespace
