#include "db/mySQLTool.h"
#include "dialogs/shipping/Dlg_ShipDocket.h"
#include "dialogs/shipping/ShipDocket.h"
#include "support/DbTest.h"
#include "support/PdfPages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace {

class ShipDocket : public kvtest::DbTest {
public:
    // The identity that uses this screen, with its database role.
    ShipDocket() { signInAs(QStringLiteral("调度")); }

protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db().exec(QStringLiteral("insert into kvc_record_client (客户号, 名称) values (5, '华美制衣厂')"));
        db().exec(
            QStringLiteral("insert into kvc_record_ship (序列号, 货单号, 客户号, 开票人, 发货人, 发送时间, "
                           "款号, 品名, 洗涤方法, "
                           "货物数量, 损耗数量, 原版数量, 洗版数量, 货物单价, 经办人, 备注) values (7, 2, 5, "
                           "'张志明', '黄永发', "
                           "'2026-12-08 09:15:00', 88012, '女装休闲裤修身', '[石磨][喷砂]', 40, 3, 1, 0, "
                           "4.7, '调度', '先发')"));
    }
    DocketRecord load(quint64 serial = 7)
    {
        DocketRecord r;
        const Outcome o = loadShipmentDocket(g_sqlTool, serial, r);
        EXPECT_TRUE(o.ok()) << o.text().toStdString();
        return r;
    }
    QString storedRemark()
    {
        return db().scalar(QStringLiteral("select 备注 from kvc_record_ship where 序列号=7"));
    }

    template <typename T>
    static T* child(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void click(QWidget& w, const char* name) { child<QPushButton>(w, name)->click(); }
    static void setRemark(QWidget& w, const QString& text)
    {
        child<QCheckBox>(w, "setRemark")->setChecked(true);
        child<QLineEdit>(w, "remark")->setText(text);
    }
};

// Runs `act` on the docket dialog once it shows modally.
void whenModal(std::function<void(Dlg_ShipDocket&)> act, bool* seen)
{
    QTimer::singleShot(0, [act, seen] {
        if (auto* d = qobject_cast<Dlg_ShipDocket*>(QApplication::activeModalWidget())) {
            *seen = true;
            act(*d);
        }
    });
}

}  // namespace

TEST_F(ShipDocket, RecordComesFromTheShipmentAndItsCustomer)
{
    const DocketRecord r = load();
    EXPECT_EQ(r.customerName, QStringLiteral("华美制衣厂"));
    EXPECT_EQ(r.orderNumber, QStringLiteral("2"));
    EXPECT_EQ(r.styleNumber, QStringLiteral("88012"));
    EXPECT_EQ(r.productName, QStringLiteral("女装休闲裤修身"));
    EXPECT_EQ(r.washingMethod, QStringLiteral("[石磨][喷砂]"));
    EXPECT_EQ(r.goodsQuantity, QStringLiteral("40"));
    EXPECT_EQ(r.goodsQuantityTotal, QStringLiteral("40"));
    EXPECT_EQ(r.originalQuantity, QStringLiteral("1"));
    EXPECT_EQ(r.washedQuantity, QStringLiteral("0"));
    EXPECT_EQ(r.unitPrice, QStringLiteral("4.7"));
    EXPECT_EQ(r.amount, QStringLiteral("188.00"));
    EXPECT_EQ(r.totalAmount, QStringLiteral("188.00"));
    EXPECT_EQ(r.remark, QStringLiteral("先发"));
    EXPECT_EQ(r.issuer, QStringLiteral("张志明"));
    EXPECT_EQ(r.shipper, QStringLiteral("黄永发"));
    EXPECT_EQ(r.printTime, QStringLiteral("2026-12-08 09:30:00"));

    // A field holds 99 bytes: a name of 60 Chinese characters keeps 49 whole ones.
    db().exec(QStringLiteral("update kvc_record_client set 名称=repeat('华', 60) where 客户号=5"));
    EXPECT_EQ(load().customerName, QStringLiteral("华").repeated(49));
}

TEST_F(ShipDocket, MissingShipmentOrFailedQueryIsReported)
{
    DocketRecord r;
    r.customerName = QStringLiteral("stale");
    const Outcome missing = loadShipmentDocket(g_sqlTool, 8, r);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.caption(), QStringLiteral("错误"));
    EXPECT_FALSE(missing.text().isEmpty());
    EXPECT_TRUE(r.customerName.isEmpty());

    db().exec(QStringLiteral("rename table kvc_record_client to gone"));
    const Outcome failed = loadShipmentDocket(g_sqlTool, 7, r);
    EXPECT_EQ(failed.caption(), QStringLiteral("Error"));
    EXPECT_TRUE(failed.text().contains(QStringLiteral("kvc_record_client"))) << failed.text().toStdString();
}

TEST_F(ShipDocket, DialogShowsTheDocketAndOpensTheRemarkOnlyWhenAsked)
{
    const DocketRecord r = load();
    Dlg_ShipDocket dlg(r, 7);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Docket"));
    auto* docket = child<QPlainTextEdit>(dlg, "docketText");
    auto* remark = child<QLineEdit>(dlg, "remark");
    auto* box = child<QCheckBox>(dlg, "setRemark");
    EXPECT_TRUE(docket->isReadOnly());
    const QStringList lines = docket->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.first(), QStringLiteral("客户名称：华美制衣厂"));
    EXPECT_EQ(lines.last(), QStringLiteral("发货人：黄永发"));
    EXPECT_EQ(Dlg_ShipDocket::docketText(r).count(QStringLiteral("\r\n")), 12);
    EXPECT_EQ(remark->text(), QStringLiteral("先发"));
    EXPECT_TRUE(remark->isReadOnly());
    box->setChecked(true);
    EXPECT_FALSE(remark->isReadOnly());
    box->setChecked(false);
    EXPECT_TRUE(remark->isReadOnly());
    EXPECT_TRUE(boxes().boxes.isEmpty());
}

TEST_F(ShipDocket, RemarkOfTwentyBytesIsStoredAndTwentyTwoAreRefused)
{
    {
        Dlg_ShipDocket dlg(load(), 7);
        setRemark(dlg, QStringLiteral("请").repeated(11));
        ASSERT_EQ(boxes().boxes.size(), 1);
        EXPECT_EQ(boxes().last().text, QStringLiteral("字数过多"));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_EQ(child<QLineEdit>(dlg, "remark")->text(), QStringLiteral("请").repeated(11))
            << "the text stays";
        click(dlg, "ok");
        EXPECT_EQ(boxes().boxes.size(), 2);
        EXPECT_EQ(boxes().last().text, QStringLiteral("字数过多"));
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(storedRemark(), QStringLiteral("先发"));
    }
    boxes().clear();
    Dlg_ShipDocket dlg(load(), 7);
    setRemark(dlg, QStringLiteral("请于周一前结清货款"));                              // 9 characters
    child<QLineEdit>(dlg, "remark")->setText(QStringLiteral("请于周一前结清货款！"));  // 10: 20 bytes
    click(dlg, "ok");
    EXPECT_TRUE(boxes().boxes.isEmpty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.record().remark, QStringLiteral("请于周一前结清货款！"));
    EXPECT_EQ(storedRemark(), QStringLiteral("请于周一前结清货款！"));
}

TEST_F(ShipDocket, EmptyRemarkPrintsEmptyAndKeepsTheStoredOneWhileCancelWritesNothing)
{
    {
        Dlg_ShipDocket dlg(load(), 7);
        setRemark(dlg, QStringLiteral("改了"));
        click(dlg, "cancel");
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(storedRemark(), QStringLiteral("先发"));
    }
    Dlg_ShipDocket dlg(load(), 7);
    setRemark(dlg, QString());
    click(dlg, "ok");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.record().remark.isEmpty());
    EXPECT_EQ(storedRemark(), QStringLiteral("先发"));
}

TEST_F(ShipDocket, BadSerialOrRefusedUpdateKeepsTheDialogOpen)
{
    {
        Dlg_ShipDocket dlg(load(), 0);
        click(dlg, "ok");
        EXPECT_EQ(boxes().last().text, QStringLiteral("错误的发货单号"));
        EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    {
        // Text the GBK column cannot hold is refused, not stored as '?'.
        Dlg_ShipDocket dlg(load(), 7);
        setRemark(dlg, QStringLiteral("加急😀"));
        click(dlg, "ok");
        EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
        EXPECT_NE(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(storedRemark(), QStringLiteral("先发"));
    }
    db().exec(
        QStringLiteral("create trigger no_remark before update on kvc_record_ship for each row "
                       "signal sqlstate '45000' set message_text = 'remark locked'"));
    Dlg_ShipDocket dlg(load(), 7);
    setRemark(dlg, QStringLiteral("加急"));
    click(dlg, "ok");
    EXPECT_EQ(boxes().last().caption, QStringLiteral("Error"));
    EXPECT_TRUE(boxes().last().text.contains(QStringLiteral("remark locked")));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(ShipDocket, PrintingRunsTheDialogAndPrintsOnlyWhenConfirmed)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("docket.pdf"));
    kvtest::PdfChooser pdf(file);
    bool seen = false;
    whenModal([](Dlg_ShipDocket& d) { click(d, "cancel"); }, &seen);
    EXPECT_FALSE(printShipmentDocket(nullptr, 7));
    EXPECT_TRUE(seen);
    EXPECT_EQ(pdf.asked, 0);

    seen = false;
    whenModal(
        [](Dlg_ShipDocket& d) {
            setRemark(d, QStringLiteral("加急"));
            click(d, "ok");
        },
        &seen);
    EXPECT_TRUE(printShipmentDocket(nullptr, 7));
    EXPECT_TRUE(seen);
    EXPECT_EQ(pdf.asked, 1);
    EXPECT_EQ(storedRemark(), QStringLiteral("加急"));
    const QStringList pages = kvtest::pdfPages(file);
    ASSERT_EQ(pages.size(), 1);
    const QStringList lines = kvtest::textLines(pages[0]);
    ASSERT_EQ(lines.size(), 6);  // the product name takes two continuation lines
    EXPECT_TRUE(lines[0].contains(QStringLiteral("华美制衣厂")) &&
                lines[0].contains(QStringLiteral("2026-12-08")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("88012")) &&
                lines[1].trimmed().endsWith(QStringLiteral("加急")));
    EXPECT_EQ(lines[2].trimmed(), QStringLiteral("闲裤修"));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("188.00")));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("张志明")) && lines[5].contains(QStringLiteral("黄永发")))
        << lines[5].toStdString();

    // A shipment that is gone: told so, and no dialog.
    seen = false;
    whenModal([](Dlg_ShipDocket& d) { d.reject(); }, &seen);
    EXPECT_FALSE(printShipmentDocket(nullptr, 99));
    QApplication::processEvents();
    EXPECT_FALSE(seen);
    EXPECT_EQ(boxes().last().caption, QStringLiteral("错误"));
    EXPECT_EQ(pdf.asked, 1);
}
