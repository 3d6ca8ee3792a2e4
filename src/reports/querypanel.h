#pragma once

#include "data/reportstore.h"

#include <QObject>
#include <QString>

class DataGrid;
class EnterChain;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The customer search panel of the history and payment screens: five exact look-up fields
// with their 确定 buttons, the 模糊查找 group and its result list on ADOQuery5. The screen
// lays the three groups out and loads its records when told.
class QueryPanel : public QObject
{
    Q_OBJECT
public:
    // Object names of the look-up buttons and of the fuzzy-search group, per screen.
    struct Names
    {
        QString numberButton, nameButton, telephoneButton, mobileButton, addressButton;
        QString fuzzyGroup;
    };

    QueryPanel(QWidget *screen, const Names &names);

    QGroupBox *lookupGroup() const { return m_lookup; } // GroupBox1
    QGroupBox *fuzzyGroup() const { return m_fuzzy; }
    QGroupBox *resultGroup() const { return m_result; } // GroupBox5, drawn over the screen

    QLineEdit *field(ReportStore::Key key) const;
    QString number() const;

    // Empties the fields, hides the result list and fills the field list afresh.
    void reset();
    // Empties the five look-up fields and the fuzzy text.
    void clearFields();

signals:
    // A look-up ran (found or not): load the records whose `key` column equals `value`.
    void lookedUp(ReportStore::Key key, const QString &value);
    // A customer was taken from the result list: load its records by number.
    void chosen();

private:
    void lookUp(ReportStore::Key key);
    void search();
    void take();

    QWidget *m_screen;
    QGroupBox *m_lookup;
    QGroupBox *m_fuzzy;
    QGroupBox *m_result;
    QLineEdit *m_fields[5];
    QComboBox *m_columns;
    QLineEdit *m_text;
    DataGrid *m_list;
    EnterChain *m_enter;
};
