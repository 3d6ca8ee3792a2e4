#include "xiugaiweixiujilufrm.h"

#include "data/repairstore.h"
#include "data/tdm1.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
CorrectionDialog::Layout repairLayout()
{
    CorrectionDialog::Layout l;
    l.objectName = QStringLiteral("xiugaiweixiujilu");
    l.caption = QStringLiteral("修改维修记录");
    l.successText = QStringLiteral("修改维修记录成功！");
    l.fields = {
            {QStringLiteral("Edit7"), QStringLiteral("客户编号")},
            {QStringLiteral("Edit1"), QStringLiteral("客户名称"),
             QStringLiteral("输入客户名称后请回车")},
            {QStringLiteral("Edit9"), QStringLiteral("联系人")},
            {QStringLiteral("Edit3"), QStringLiteral("电话"), QStringLiteral("输入电话后请回车")},
            {QStringLiteral("Edit8"), QStringLiteral("手机")},
            {QStringLiteral("Edit2"), QStringLiteral("地址")},
            {QStringLiteral("Edit10"), QStringLiteral("单位税号")},
            {QStringLiteral("Edit4"), QStringLiteral("主机序列号")},
            {QStringLiteral("Edit5"), QStringLiteral("维修费"), {}, true, true},
            {QStringLiteral("Edit6"), QStringLiteral("维修项目")}};
    l.dateLabel = QStringLiteral("维修日期");
    // The profit takes any key here; what is not an amount is refused on saving.
    l.profit = {QStringLiteral("Edit12"), QStringLiteral("利润"), {}, false, true};
    l.required = {QStringLiteral("Edit1"), QStringLiteral("Edit7")};
    l.zeroWhenEmpty = {QStringLiteral("Edit5"), QStringLiteral("Edit12")};
    l.amounts = {QStringLiteral("Edit5"), QStringLiteral("Edit12")};
    return l;
}
} // namespace

Txiugaiweixiujilu::Txiugaiweixiujilu(QWidget *parent)
    : CorrectionDialog(repairLayout(), parent)
{ }

bool Txiugaiweixiujilu::load(qint64 id)
{
    const std::optional<Repair> repair = RepairStore(DM1()->ADOConnection1()).find(id);
    if (!repair)
        return false;
    fillCommon(id, repair->customer, repair->date, repair->remark, repair->invoiceNumber,
               repair->profit);
    setText(QStringLiteral("Edit4"), repair->serial);
    setText(QStringLiteral("Edit5"), repair->fee.toString());
    setText(QStringLiteral("Edit6"), repair->items);
    return true;
}

bool Txiugaiweixiujilu::exists() const
{
    return RepairStore(DM1()->ADOConnection1()).find(recordId()).has_value();
}

void Txiugaiweixiujilu::write()
{
    // 经手人 is not the dialog's to change; the store leaves it as it is.
    Repair r;
    r.id = recordId();
    r.customer = customer();
    r.serial = text(QStringLiteral("Edit4"));
    r.fee = amount(QStringLiteral("Edit5"));
    r.items = text(QStringLiteral("Edit6"));
    r.profit = amount(QStringLiteral("Edit12"));
    r.invoiceNumber = invoiceNumber();
    r.remark = remark();
    r.date = date();
    RepairStore(DM1()->ADOConnection1()).update(r);
}

Txiugaiweixiujilu *xiugaiweixiujilu()
{
    static QPointer<Txiugaiweixiujilu> instance;
    if (!instance) {
        instance = new Txiugaiweixiujilu;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(),
                         &QObject::deleteLater);
    }
    return instance;
}
