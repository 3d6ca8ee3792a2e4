#pragma once

#include <QDialog>

// "关于本系统": the about box, made once at start-up and shown again each time.
class Tguanyu : public QDialog
{
    Q_OBJECT
public:
    explicit Tguanyu(QWidget *parent = nullptr);
};

// The program's one about box (created on first use).
Tguanyu *guanyu();
