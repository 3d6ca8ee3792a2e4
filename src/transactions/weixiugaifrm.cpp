#include "weixiugaifrm.h"

#include "data/repairstore.h"
#include "data/tdm1.h"
#include "xiugaiweixiujilufrm.h"

namespace {
CorrectionScreen::Layout repairLayout()
{
    CorrectionScreen::Layout l;
    l.objectName = QStringLiteral("weixiugai");
    l.caption = QStringLiteral("维修记录修改");
    l.size = QSize(934, 605);
    l.resultSet = 11;
    l.table = ReportStore::Table::Repairs;
    l.showAllCaption = QStringLiteral("显示全部维修记录");
    l.deleteButton = QStringLiteral("BitBtn9");
    l.listCaption = QStringLiteral("符合检索条件的客户维修历史记录----请双击需要修改的记录");
    l.columns = {{QStringLiteral("客户编号"), {}},
                 {QStringLiteral("客户名称"), {}},
                 {QStringLiteral("身份证号"), QStringLiteral("联系人")},
                 {QStringLiteral("电话"), {}},
                 {QStringLiteral("手机"), {}},
                 {QStringLiteral("地址"), {}},
                 {QStringLiteral("出生年"), QStringLiteral("单位税号")},
                 {QStringLiteral("维修项目"), {}},
                 {QStringLiteral("主机序列号"), {}},
                 {QStringLiteral("维修费"), {}},
                 {QStringLiteral("日期"), {}},
                 {QStringLiteral("备注"), {}},
                 {QStringLiteral("发票号码"), {}},
                 {QStringLiteral("利润"), {}}};
    l.search = CustomerSearchConfig::weixiugai();
    return l;
}
} // namespace

Tweixiugai::Tweixiugai(QWidget *parent)
    : CorrectionScreen(repairLayout(), parent)
{ }

ReportQuery Tweixiugai::allRecords() const
{
    return RepairStore(DM1()->ADOConnection1()).correctionList();
}

void Tweixiugai::removeRecord(qint64 id)
{
    RepairStore(DM1()->ADOConnection1()).remove(id);
}

CorrectionDialog *Tweixiugai::dialog() const
{
    return xiugaiweixiujilu();
}
