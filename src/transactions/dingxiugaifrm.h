#pragma once

#include "correctionscreen.h"

// "订购（销售）记录修改": lists sales, narrows them to one customer, deletes a sale with its
// ledger row and opens the sales correction dialog on a double-click.
class Tdingxiugai : public CorrectionScreen
{
    Q_OBJECT
public:
    explicit Tdingxiugai(QWidget *parent = nullptr);

protected:
    ReportQuery allRecords() const override;
    void removeRecord(qint64 id) override;
    CorrectionDialog *dialog() const override;
};
