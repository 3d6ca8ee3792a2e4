#include "permissionboxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

namespace {
// Column by column, top to bottom; 0 leaves the cell free (for the toggle).
constexpr int Layout[3][6] = {
        {1, 2, 3, 4, 5, 6},
        {17, 7, 8, 13, 9, 14},
        {10, 11, 12, 15, 16, 0},
};
} // namespace

QString PermissionBoxes::caption(int flag)
{
    static const QStringList captions {
            QStringLiteral("操作人员设置"),
            QStringLiteral("数据备份"),
            QStringLiteral("数据恢复"),
            QStringLiteral("历史数据清除"),
            QStringLiteral("数据初始化"),
            QStringLiteral("客户资料设置"),
            QStringLiteral("维修项目设置"),
            QStringLiteral("订购（销售）记录录入"),
            QStringLiteral("维修记录录入"),
            QStringLiteral("补收欠款"),
            QStringLiteral("客户全部历史信息查询"),
            QStringLiteral("查询客户交款记录"),
            QStringLiteral("订购（销售）记录修改"),
            QStringLiteral("维修记录修改"),
            QStringLiteral("一日销售、维修及帐款情况一览"),
            QStringLiteral("销售、维修及帐款数据汇总"),
            QStringLiteral("乡镇、村庄设置"),
    };
    return captions.value(flag - 1);
}

PermissionBoxes::PermissionBoxes(Toggle toggle, QWidget *parent)
    : QGroupBox(QStringLiteral("权限列表"), parent)
{
    setObjectName(QStringLiteral("GroupBox2"));
    auto *grid = new QGridLayout(this);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 6; ++row) {
            const int flag = Layout[column][row];
            if (flag == 0)
                continue;
            auto *box = new QCheckBox(caption(flag), this);
            box->setObjectName(QStringLiteral("CheckBox%1").arg(flag));
            m_boxes[size_t(flag - 1)] = box;
            grid->addWidget(box, row, column);
        }
    }
    if (toggle == Toggle::Button1) {
        m_toggle = new QPushButton(QStringLiteral("全选"), this);
        m_toggle->setObjectName(QStringLiteral("Button1"));
        m_toggle->setAutoDefault(false);
        grid->addWidget(m_toggle, 5, 2, Qt::AlignRight | Qt::AlignBottom);
        connect(m_toggle, &QPushButton::clicked, this, &PermissionBoxes::toggle);
    }
}

std::array<bool, Operator::FlagCount> PermissionBoxes::flags() const
{
    std::array<bool, Operator::FlagCount> result {};
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = m_boxes[i]->isChecked();
    return result;
}

void PermissionBoxes::setFlags(const std::array<bool, Operator::FlagCount> &flags)
{
    for (size_t i = 0; i < flags.size(); ++i)
        m_boxes[i]->setChecked(flags[i]);
}

void PermissionBoxes::toggle()
{
    // The caption says what the next click does; it is kept between uses of the screen.
    const bool selectAll = m_toggle->text() == QStringLiteral("全选");
    std::array<bool, Operator::FlagCount> all {};
    all.fill(selectAll);
    setFlags(all);
    m_toggle->setText(selectAll ? QStringLiteral("全清") : QStringLiteral("全选"));
}
