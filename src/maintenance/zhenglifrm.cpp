#include "zhenglifrm.h"

#include "data/dberror.h"
#include "data/maintenancestore.h"
#include "data/tdm1.h"
#include "screenframe.h"
#include "ui/messages.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tzhengli::Tzhengli(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zhengli"));
    setWindowTitle(QStringLiteral("数据整理"));
    resize(406, 220);

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *warning = new QLabel(
            QStringLiteral("历史数据删除（请谨慎操作）\n删除之前最好进行数据库备份"), group);
    warning->setObjectName(QStringLiteral("Label1"));
    warning->setAlignment(Qt::AlignCenter);
    auto *before = new QLabel(QStringLiteral("删除"), group);
    before->setObjectName(QStringLiteral("Label2"));
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), group);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setCalendarPopup(true);
    auto *after = new QLabel(QStringLiteral("之前的历史流水数据"), group);
    after->setObjectName(QStringLiteral("Label3"));

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(before);
    dateRow->addWidget(DateTimePicker1);
    dateRow->addWidget(after);
    dateRow->addStretch();
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(warning);
    groupLayout->addLayout(dateRow);

    BitBtn1 = ScreenFrame::layOut(this, group, QStringLiteral("确定")).BitBtn1;
    connect(BitBtn1, &QPushButton::clicked, this, &Tzhengli::BitBtn1Click);
}

void Tzhengli::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Opens at its own place in the work area, left of centre at the top.
    ScreenFrame::placeOnce(this, QPoint(310, 0), m_placed);
}

void Tzhengli::BitBtn1Click()
{
    if (!Messages::question(this, QStringLiteral("删除历史记录"),
                            QStringLiteral("确实删除历史记录？该操作不可恢复！")))
        return;
    try {
        MaintenanceStore(DM1()->ADOConnection1()).purgeBefore(DateTimePicker1->date());
    } catch (const DbError &e) {
        Messages::plain(this, e.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("删除成功！"));
}
