#pragma once

#include "picklisteditor.h"

// "乡镇、村庄设置": the townships and their villages, one row per village.
class Txiangzhen : public PickListEditor
{
    Q_OBJECT
public:
    explicit Txiangzhen(QWidget *parent = nullptr);
};
