#pragma once

#include "picklisteditor.h"

// "维修项目设置": the repair items offered when a repair is recorded.
class Txiangmu : public PickListEditor
{
    Q_OBJECT
public:
    explicit Txiangmu(QWidget *parent = nullptr);
};
