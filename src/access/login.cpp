#include "login.h"

#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/session.h"
#include "data/tdm1.h"
#include "ui/enterchain.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QString Hint = QStringLiteral("提示");
const QString UnknownUser = QStringLiteral("不存在的用户！");

OperatorStore operators()
{
    return OperatorStore(DM1()->ADOConnection1());
}
} // namespace

Tloginform::Tloginform(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("loginform"));
    setWindowTitle(QStringLiteral("进入系统"));
    setFixedSize(284, 245);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xDC, 0xC0));
    setPalette(pal);
    setAutoFillBackground(true);

    RzGroupBox1 = new QGroupBox(this);
    RzGroupBox1->setObjectName(QStringLiteral("RzGroupBox1"));
    auto make = [this](QLabel *&label, const char *name, const QString &text) {
        label = new QLabel(text, RzGroupBox1);
        label->setObjectName(QString::fromLatin1(name));
    };
    make(Label1, "Label1", QStringLiteral("操作员编号"));
    make(Label4, "Label4", QStringLiteral("操作员姓名"));
    make(Label2, "Label2", QStringLiteral("操作员密码"));
    make(Label3, "Label3", QStringLiteral("系统管理员初始密码为 空"));
    Label3->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));

    cbusername = new QComboBox(RzGroupBox1);
    cbusername->setObjectName(QStringLiteral("cbusername"));
    cbusername->setEditable(true);
    // Typing must never add entries: the list is the operator table.
    cbusername->setInsertPolicy(QComboBox::NoInsert);
    cbusername->setCompleter(nullptr);
    Edit1 = new QLineEdit(RzGroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFocusPolicy(Qt::NoFocus);
    edtpassword = new QLineEdit(RzGroupBox1);
    edtpassword->setObjectName(QStringLiteral("edtpassword"));
    edtpassword->setEchoMode(QLineEdit::Password);

    auto *grid = new QGridLayout(RzGroupBox1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cbusername, 0, 1);
    grid->addWidget(Label4, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(edtpassword, 2, 1);
    grid->addWidget(Label3, 3, 0, 1, 2, Qt::AlignCenter);

    button1 = new QPushButton(QStringLiteral("进入"), this);
    button1->setObjectName(QStringLiteral("button1"));
    button2 = new QPushButton(QStringLiteral("退出"), this);
    button2->setObjectName(QStringLiteral("button2"));
    // Enter logs in only from the password field, never through a default button.
    button1->setAutoDefault(false);
    button2->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addSpacing(20);
    buttons->addWidget(button2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RzGroupBox1);
    layout->addLayout(buttons);

    setTabOrder(cbusername, edtpassword);
    setTabOrder(edtpassword, button1);
    setTabOrder(button1, button2);

    connect(cbusername, &QComboBox::editTextChanged, this, [this] { showOperatorName(); });
    // Picking an entry goes on to the password. Typing stays in the field: moving on at the
    // first key would send the rest of a typed number into the password.
    connect(cbusername, &QComboBox::activated, this, [this] {
        showOperatorName();
        edtpassword->setFocus(Qt::OtherFocusReason);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inName = [this](QWidget *w) {
            return w && (w == cbusername || w == cbusername->lineEdit());
        };
        if (inName(old) && !inName(now) && now && isVisible())
            cbusernameExit(now);
    });
    auto *enter = new EnterChain(this);
    enter->onEnter(edtpassword, [this] { button1Click(); });
    connect(button1, &QPushButton::clicked, this, [this] { button1Click(); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tloginform::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    LoadOperators();
    cbusername->setFocus(Qt::OtherFocusReason);
    Edit1->clear();
    showOperatorName();
}

void Tloginform::LoadOperators()
{
    const QSignalBlocker block(cbusername);
    cbusername->clear();
    OperatorPasswords.clear();
    try {
        for (const Operator &op : operators().all()) {
            cbusername->addItem(op.number);
            OperatorPasswords.append(op.passwordHash);
        }
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
    cbusername->setCurrentIndex(cbusername->count() > 0 ? 0 : -1);
    edtpassword->clear();
}

void Tloginform::showOperatorName()
{
    try {
        const auto op = operators().find(cbusername->currentText());
        Edit1->setText(op ? op->name : QString());
    } catch (const DbError &e) {
        Edit1->clear();
        Messages::generalError(this, e.text());
    }
}

int Tloginform::selectedEntry() const
{
    // An entry is selected when the field holds exactly its text; editing it otherwise
    // leaves none selected.
    const QString text = cbusername->currentText();
    for (int i = 0; i < cbusername->count(); ++i) {
        if (cbusername->itemText(i) == text)
            return i;
    }
    return -1;
}

void Tloginform::cbusernameExit(QWidget *next)
{
    const QString text = cbusername->currentText();
    for (int i = 0; i < cbusername->count(); ++i) {
        if (cbusername->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            cbusername->setCurrentIndex(i);
            cbusername->setEditText(cbusername->itemText(i));
            return;
        }
    }
    if (next == edtpassword) {
        // Not from inside the focus change itself: the message box moves the focus again.
        QMetaObject::invokeMethod(
                this, [this] { refuseUnknownUser(); }, Qt::QueuedConnection);
    }
}

void Tloginform::refuseUnknownUser()
{
    Messages::error(this, Hint, UnknownUser);
    cbusername->setFocus(Qt::OtherFocusReason);
    cbusername->lineEdit()->selectAll();
}

void Tloginform::button1Click()
{
    const int entry = selectedEntry();
    if (entry < 0) {
        refuseUnknownUser();
        return;
    }
    if (!Passwords::matches(OperatorPasswords.value(entry), edtpassword->text())) {
        ++FailedLogins;
        if (FailedLogins > MaxFailedLogins) {
            Messages::error(this, Hint, QStringLiteral("密码错误超过五次，软件将被关闭！"));
            reject();
            return;
        }
        Messages::error(this, Hint, QStringLiteral("密码错误，请重新输入！"));
        edtpassword->clear();
        return;
    }

    const QString number = cbusername->itemText(entry);
    std::array<bool, FlagCount> flags {};
    try {
        if (const auto op = operators().find(number))
            flags = op->flags;
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        return;
    }
    m_operatorNumber = number;
    m_operatorPassword = edtpassword->text();
    m_flags = flags;
    Session::current() = {m_operatorNumber, m_operatorPassword};
    accept();
}
