#pragma once

#include "data/reportstore.h"
#include "master/customersearchpanel.h"

#include <QObject>
#include <QString>

class QGroupBox;
class QLineEdit;
class QWidget;

// The customer search panel as the history and payment screens carry it: the "客户基本信息"
// look-up group, the "模糊查找" group and the result list drawn over the screen's upper right.
// The look-ups themselves are the shared panel's; this only builds the controls it expects,
// places them and tells the screen what to load.
class ReportSearch : public QObject
{
    Q_OBJECT
public:
    ReportSearch(QWidget *screen, const CustomerSearchConfig &config, const QString &fuzzyName);

    QGroupBox *lookupGroup() const { return m_lookup; } // GroupBox1
    QGroupBox *fuzzyGroup() const { return m_fuzzy; }

    QLineEdit *field(ReportStore::Key key) const;
    QString number() const;
    // Empties the five look-up fields and the fuzzy text, all but `keep`.
    void clearFields(const QLineEdit *keep = nullptr);
    void hideResults();
    // Lays the result list over the upper right quarter of the screen.
    void placeResults();

signals:
    // An exact look-up ran, found or not: load the records whose `key` column equals `value`.
    void lookedUp(ReportStore::Key key, const QString &value);
    // A customer was taken from the result list: load its records by number.
    void chosen();

private:
    void takeFromEmptyList();

    QWidget *m_screen;
    CustomerSearchConfig m_config;
    QGroupBox *m_lookup;
    QGroupBox *m_fuzzy;
    QGroupBox *m_results;
};
