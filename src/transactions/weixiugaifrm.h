#pragma once

#include "correctionscreen.h"

// "维修记录修改": lists repairs, narrows them to one customer, deletes a repair with its
// ledger row and opens the repair correction dialog on a double-click.
class Tweixiugai : public CorrectionScreen
{
    Q_OBJECT
public:
    explicit Tweixiugai(QWidget *parent = nullptr);

protected:
    ReportQuery allRecords() const override;
    void removeRecord(qint64 id) override;
    CorrectionDialog *dialog() const override;
};
