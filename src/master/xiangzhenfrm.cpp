#include "xiangzhenfrm.h"

Txiangzhen::Txiangzhen(QWidget *parent)
    : PickListEditor({QStringLiteral("xiangzhen"),
                      QStringLiteral("乡镇、村庄设置"),
                      QStringLiteral("乡镇、村庄列表"),
                      QStringLiteral("乡镇"),
                      {centred(QStringLiteral("乡镇")), centred(QStringLiteral("村庄"))},
                      QStringLiteral("乡镇")},
                     parent)
{ }
