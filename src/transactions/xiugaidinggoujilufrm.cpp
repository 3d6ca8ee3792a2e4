#include "xiugaidinggoujilufrm.h"

#include "data/salesstore.h"
#include "data/tdm1.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
CorrectionDialog::Layout salesLayout()
{
    CorrectionDialog::Layout l;
    l.objectName = QStringLiteral("xiugaidinggoujilu");
    l.caption = QStringLiteral("修改订购（销售）记录");
    l.successText = QStringLiteral("修改订购（销售）记录成功！");
    l.fields = {{QStringLiteral("Edit7"), QStringLiteral("客户编号")},
                {QStringLiteral("Edit1"), QStringLiteral("客户名称"),
                 QStringLiteral("输入客户名称后请回车")},
                {QStringLiteral("Edit9"), QStringLiteral("联系人")},
                {QStringLiteral("Edit3"), QStringLiteral("电话"),
                 QStringLiteral("输入客户电话后请回车")},
                {QStringLiteral("Edit8"), QStringLiteral("手机")},
                {QStringLiteral("Edit2"), QStringLiteral("地址")},
                {QStringLiteral("Edit10"), QStringLiteral("单位税号")},
                {QStringLiteral("Edit4"), QStringLiteral("订购型号")},
                {QStringLiteral("Edit5"), QStringLiteral("主机序列号")},
                {QStringLiteral("Edit6"), QStringLiteral("价格"), {}, true, true}};
    l.dateLabel = QStringLiteral("日期");
    l.profit = {QStringLiteral("Edit12"), QStringLiteral("利润"), {}, true, true};
    l.required = {QStringLiteral("Edit1"), QStringLiteral("Edit6")};
    l.zeroWhenEmpty = {QStringLiteral("Edit12")};
    l.amounts = {QStringLiteral("Edit6"), QStringLiteral("Edit12")};
    return l;
}
} // namespace

Txiugaidinggoujilu::Txiugaidinggoujilu(QWidget *parent)
    : CorrectionDialog(salesLayout(), parent)
{ }

bool Txiugaidinggoujilu::load(qint64 id)
{
    const std::optional<Sale> sale = SalesStore(DM1()->ADOConnection1()).find(id);
    if (!sale)
        return false;
    fillCommon(id, sale->customer, sale->date, sale->remark, sale->invoiceNumber, sale->profit);
    setText(QStringLiteral("Edit4"), sale->model);
    setText(QStringLiteral("Edit5"), sale->serial);
    setText(QStringLiteral("Edit6"), sale->price.toString());
    return true;
}

bool Txiugaidinggoujilu::exists() const
{
    return SalesStore(DM1()->ADOConnection1()).find(recordId()).has_value();
}

void Txiugaidinggoujilu::write()
{
    // 客服人员 and 经手人 are not the dialog's to change; the store leaves them as they are.
    Sale s;
    s.id = recordId();
    s.customer = customer();
    s.model = text(QStringLiteral("Edit4"));
    s.serial = text(QStringLiteral("Edit5"));
    s.price = amount(QStringLiteral("Edit6"));
    s.profit = amount(QStringLiteral("Edit12"));
    s.invoiceNumber = invoiceNumber();
    s.remark = remark();
    s.date = date();
    SalesStore(DM1()->ADOConnection1()).update(s);
}

Txiugaidinggoujilu *xiugaidinggoujilu()
{
    static QPointer<Txiugaidinggoujilu> instance;
    if (!instance) {
        instance = new Txiugaidinggoujilu;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(),
                         &QObject::deleteLater);
    }
    return instance;
}
