#include "xiangmufrm.h"

Txiangmu::Txiangmu(QWidget *parent)
    : PickListEditor({QStringLiteral("xiangmu"),
                      QStringLiteral("维修项目设置"),
                      QStringLiteral("维修项目列表"),
                      QStringLiteral("维修项目"),
                      {centred(QStringLiteral("维修项目"))},
                      QString()},
                     parent)
{ }
