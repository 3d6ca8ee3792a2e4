#pragma once

#include "operatorform.h"

#include <QWidget>

// Adds an operator with number, name, password and permission flags. A child window,
// destroyed when closed.
class Txinzengcaozuorenyuan : public QWidget
{
    Q_OBJECT
public:
    explicit Txinzengcaozuorenyuan(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void resetForm();
    void save();

    OperatorForm m_form;
    bool m_placed = false; // first show done
};
