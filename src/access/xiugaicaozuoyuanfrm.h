#pragma once

#include "operatorform.h"

#include <QDialog>
#include <QString>

// Modifies the name, flags and (optionally) the password of one operator; the number is
// read-only. Created once at start-up and reused; its fields are refilled on every show.
class Txiugaicaozuoyuan : public QDialog
{
    Q_OBJECT
public:
    explicit Txiugaicaozuoyuan(QWidget *parent = nullptr);

    // The number of the operator to modify; set before the dialog is shown.
    void setTargetOperator(const QString &number) { m_targetOperator = number; }
    QString targetOperator() const { return m_targetOperator; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    void save();

    OperatorForm m_form;
    QString m_targetOperator;
};

// The one modify-operator dialog of the run.
Txiugaicaozuoyuan *xiugaicaozuoyuan();
