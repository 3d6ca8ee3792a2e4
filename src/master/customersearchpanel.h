#pragma once

#include "data/customerstore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class DataGrid;
class EnterChain;
class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QWidget;

// Where the customer search panel sits on one screen: the object names of that screen's
// controls, its messages and its rules. An empty name means the screen has no such control.
struct CustomerSearchConfig
{
    enum class Variant {
        Entry, // sales and repair entry: taking a customer fills the form and enables saving
        Query, // correction, debt and report screens: a look-up loads the screen's records
    };
    Variant variant = Variant::Entry;

    // Look-up fields and (query variant) the "确定" button beside each.
    QString numberEdit, nameEdit, telephoneEdit, mobileEdit, addressEdit;
    QString numberButton, nameButton, telephoneButton, mobileButton, addressButton;
    QString numberHint, nameHint, telephoneHint, mobileHint;

    // Entry variant: fields only filled, the fuzzy buttons beside name / telephone / mobile,
    // the form's save button, the field that gets the focus after a customer is taken and
    // the buttons that open the new-customer dialog.
    QString contactEdit, taxEdit;
    QString fuzzyNameButton, fuzzyTelephoneButton, fuzzyMobileButton;
    QString saveButton, nextFocus;
    QStringList newCustomerButtons;

    // Query variant: the fuzzy search's field list, text and "查找" button.
    QString fuzzyColumnCombo, fuzzyTextEdit, fuzzyButton;

    // The result list drawn over the screen.
    QString resultGroup, resultGrid, hideButton;

    QString notFoundTitle, notFoundText;
    QStringList alsoClearedOnNotFound; // besides the customer fields (entry) or look-ups (query)
    QStringList alsoClearedOnNameNotFound; // entry variant, name look-up only
    // Query variant: a look-up with an empty field is refused with this text (when set);
    // otherwise an empty number does nothing and the other look-ups run with the empty text.
    QString emptyLookupText;
    bool mobileEnterLooksUp = true; // Enter in the mobile field acts as its button

    // The seven screens that carry the panel.
    static CustomerSearchConfig dinggou();
    static CustomerSearchConfig weixiu();
    static CustomerSearchConfig bushou();
    static CustomerSearchConfig chaxun();
    static CustomerSearchConfig jiaokuanjilu();
    static CustomerSearchConfig dingxiugai();
    static CustomerSearchConfig weixiugai();
};

// The customer search panel: exact look-ups on Enter or "确定", the fuzzy search on the shared
// ADOQuery5 shown in a result list, and taking a customer by double-click. The host screen
// builds its controls under the configured names (buildResultGroup / buildFuzzyGroup make
// the standard pieces), then attaches a panel; the panel reacts to the host being shown.
class CustomerSearchPanel : public QObject
{
    Q_OBJECT
public:
    CustomerSearchPanel(QWidget *host, const CustomerSearchConfig &config);

    const CustomerSearchConfig &config() const { return m_config; }

    // The result group with its grid on ADOQuery5, the hide button and (entry variant) the
    // "新增客户" button under the grid. The host places it over its customer fields.
    static QGroupBox *buildResultGroup(QWidget *parent, const CustomerSearchConfig &config);
    // The query variant's "模糊查找" group: field list, "包含", text and "查找".
    static QGroupBox *buildFuzzyGroup(QWidget *parent, const CustomerSearchConfig &config);

    // Runs an exact look-up as Enter or "确定" would.
    void lookUp(CustomerStore::Column column);

signals:
    // A customer was taken: by an exact look-up (entry variant) or from the result list.
    void customerTaken(const Customer &customer);
    // Query variant: an exact look-up ran for `column` = `value` (the value as typed), whether
    // or not a customer row matched; the host loads its records for it.
    void lookedUp(CustomerStore::Column column, const QString &value, bool found);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *edit(const QString &name) const;
    QLineEdit *field(CustomerStore::Column column) const;
    void hostShown();
    void fuzzy(CustomerStore::Column column);
    void fuzzyFromList();
    void openResults(const CustomerSelect &select);
    void take();
    void fill(const Customer &customer, QLineEdit *keep);
    void clear(const QStringList &names, QLineEdit *keep);
    void setSaveEnabled(bool enabled);
    void bindButton(const QString &name, const std::function<void()> &action);

    QPointer<QWidget> m_host;
    CustomerSearchConfig m_config;
    EnterChain *m_enter = nullptr;
};
