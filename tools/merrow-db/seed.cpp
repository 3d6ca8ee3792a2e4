#include "seed.h"

#include "data/db.h"
#include "data/money.h"
#include "data/passwords.h"
#include "data/schema.h"
#include "data/tdm1.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <random>

namespace {

const QStringList Surnames
        = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙",
           "胡", "朱", "高", "林", "何", "郭", "马", "罗", "梁", "宋", "郑", "谢"};
const QStringList GivenNames
        = {"伟", "芳",   "娜",   "敏",   "静",   "丽",   "强",   "磊",   "军", "洋",
           "勇", "艳",   "杰",   "娟",   "涛",   "明",   "超",   "秀英", "霞", "平",
           "刚", "桂英", "建华", "志强", "海燕", "国庆", "春梅", "晓东"};
const QStringList Companies = {"小学",   "中学", "卫生院", "信用社", "供销社", "镇政府",
                               "派出所", "粮站", "网吧",   "打印部", "建材厂", "养殖场"};
const QStringList Townships = {"城关镇", "东湖镇", "西岭乡", "南桥镇", "北山乡", "白沙镇",
                               "青石乡", "柳林镇", "河口乡", "新华镇", "杨庄乡", "大王庄镇"};
const QStringList Villages = {"东村",   "西村",   "南庄",   "北庄",   "前营",   "后营",
                              "李家洼", "王家店", "张家坪", "小河沿", "大树底", "石桥头"};
const QStringList Models = {
        "联想扬天M4000e", "戴尔Vostro3900", "惠普Pro 280 G1", "组装机i5-4460",     "组装机i3-4160",
        "华硕VM590",      "宏碁E5-571G",    "联想启天M4500",  "三星S22D300显示器", "惠普1020打印机",
        "罗技键鼠套装",   "金士顿8G内存",   "希捷1T硬盘",     "TP-LINK路由器"};
const QStringList Staff = {"小王", "小李", "老张", "小赵", ""};
const QStringList RepairItems = {"主机", "键盘", "显示器", "鼠标", "系统", "其他"};
const QStringList Remarks
        = {"", "", "", "", "送货上门", "老客户", "下次优惠", "含安装", "保修一年", "客户自提"};

class Random
{
public:
    explicit Random(quint64 seed)
        : m_engine(seed)
    { }
    int below(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(m_engine)); }
    qint64 between(qint64 lo, qint64 hi)
    {
        return std::uniform_int_distribution<qint64>(lo, hi)(m_engine);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_engine); }
    const QString &pick(const QStringList &list) { return list[below(int(list.size()))]; }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + below(10));
        return s;
    }
    QString serial()
    {
        static const char *alphabet = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
        QString s;
        for (int i = 0; i < 12; ++i)
            s += QChar::fromLatin1(alphabet[below(34)]);
        return s;
    }

private:
    std::mt19937_64 m_engine;
};

struct Customer
{
    qint64 number;
    QString name, address, phone, mobile, contact, taxNumber;
};

// One prepared insert reused for every row.
class Inserter
{
public:
    Inserter(const QSqlDatabase &db, const QString &table, const QStringList &columns)
        : m_query(db)
    {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        if (!m_query.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                     .arg(table, columns.join(u','), marks.join(u','))))
            throw DbError(m_query.lastError());
    }
    void insert(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values[i]);
        if (!m_query.exec())
            throw DbError(m_query.lastError());
    }

private:
    QSqlQuery m_query;
};

QString personName(Random &r)
{
    return r.pick(Surnames) + r.pick(GivenNames);
}

} // namespace

namespace {
QString fill(const QSqlDatabase &db,
             const SeedOptions &options,
             const std::function<void(const QString &, double)> &progress);
}

QString seedDatabase(const QString &path,
                     const SeedOptions &options,
                     const std::function<void(const QString &, double)> &progress)
{
    if (const QString failure = Schema::createDatabaseFile(path); !failure.isEmpty())
        return failure;

    TDM1 dm;
    if (dm.open(path) != TDM1::OpenResult::Ok)
        return QStringLiteral("cannot open %1").arg(path);
    return fill(dm.ADOConnection1(), options, progress);
}

namespace {
QString fill(const QSqlDatabase &db,
             const SeedOptions &options,
             const std::function<void(const QString &, double)> &progress)
{
    Random r(options.seed);

    const qint64 customers = std::max<qint64>(1, qint64(1000 * options.scale));
    const qint64 sales = customers * 2;
    const qint64 repairs = customers;
    const QDate last = QDate::currentDate();
    const QDate first = last.addYears(-options.years);
    const qint64 days = first.daysTo(last);
    const qint64 batch = 50000;

    try {
        // Loading without indexes and building them afterwards is several times faster.
        Db::exec(db, QStringLiteral("pragma journal_mode = off"));
        Db::exec(db, QStringLiteral("pragma synchronous = off"));
        QStringList indexes, indexNames;
        {
            QSqlQuery q = Db::exec(
                    db,
                    QStringLiteral("select name, sql from sqlite_master where type = 'index' "
                                   "and sql is not null"));
            while (q.next()) {
                indexNames << q.value(0).toString();
                indexes << q.value(1).toString();
            }
        }
        for (const QString &name : std::as_const(indexNames))
            Db::exec(db, QStringLiteral("drop index ") + name);

        Db::exec(db, QStringLiteral("begin"));
        for (int op = 2; op <= 4; ++op) {
            QVariantList values {QStringLiteral("%1").arg(op, 4, 10, QLatin1Char('0')),
                                 personName(r), Passwords::hash(QStringLiteral("%1").arg(op))};
            QString columns = QStringLiteral("操作员, 姓名, 密码");
            QString marks = QStringLiteral("?, ?, ?");
            for (int flag = 6; flag <= 16; ++flag) {
                columns += QStringLiteral(", \"%1\"").arg(flag);
                marks += QStringLiteral(", ?");
                values << 1;
            }
            Db::exec(db, QStringLiteral("insert into 操作员 (%1) values (%2)").arg(columns, marks),
                     values);
        }
        for (const QString &township : Townships)
            for (const QString &village : Villages)
                Db::exec(db, QStringLiteral("insert into 乡镇 (乡镇, 村庄) values (?, ?)"),
                         {township, village});
        Db::exec(db, QStringLiteral("commit"));

        // Customers, first recorded evenly over the years.
        QList<Customer> people;
        people.reserve(customers);
        Inserter customerRows(db, QStringLiteral("客户信息"),
                              {"客户编号", "客户名称", "地址", "电话", "手机", "身份证号", "出生年",
                               "起用日期", "备注"});
        Db::exec(db, QStringLiteral("begin"));
        for (qint64 i = 1; i <= customers; ++i) {
            Customer c;
            c.number = i;
            const bool company = r.chance(0.15);
            const QString township = r.pick(Townships);
            c.address = township + r.pick(Villages);
            c.name = company ? township + r.pick(Companies) : personName(r);
            // Families and companies share telephones; some mobiles are passed on.
            if (!people.isEmpty() && r.chance(0.05))
                c.phone = people[r.below(int(people.size()))].phone;
            else
                c.phone = r.chance(0.7) ? QStringLiteral("0311-") + r.digits(8) : QString();
            if (!people.isEmpty() && r.chance(0.02))
                c.mobile = people[r.below(int(people.size()))].mobile;
            else
                c.mobile = QStringLiteral("1") + QString::number(3 + r.below(7)) + r.digits(9);
            c.contact = company ? personName(r) : QString();
            c.taxNumber
                    = company && r.chance(0.5) ? QStringLiteral("13") + r.digits(16) : QString();
            const QDate since = first.addDays(days * (i - 1) / customers);
            customerRows.insert({c.number, c.name, c.address, c.phone, c.mobile, c.contact,
                                 c.taxNumber, since.toString(Qt::ISODate), r.pick(Remarks)});
            people.append(c);
            if (i % batch == 0) {
                Db::exec(db, QStringLiteral("commit"));
                Db::exec(db, QStringLiteral("begin"));
                progress(QStringLiteral("客户信息"), double(i) / customers);
            }
        }
        Db::exec(db, QStringLiteral("commit"));
        progress(QStringLiteral("客户信息"), 1);

        Inserter saleRows(db, QStringLiteral("dinggou"),
                          {"id", "客户编号", "客户名称", "地址", "电话", "手机", "身份证号",
                           "出生年", "订购型号", "主机序列号", "价格", "利润", "客服人员", "发票",
                           "发票号码", "备注", "日期", "经手人"});
        Inserter repairRows(db, QStringLiteral("维修记录"),
                            {"id", "客户编号", "客户名称", "地址", "电话", "手机", "身份证号",
                             "出生年", "主机序列号", "维修项目", "维修费", "利润", "发票",
                             "发票号码", "备注", "日期", "经手人"});
        Inserter ledgerRows(db, QStringLiteral("帐款明细"),
                            {"id", "客户编号", "客户名称", "地址", "电话", "手机", "主机序列号",
                             "应付金额", "付款情况", "发票", "发票号码", "备注", "日期", "经手人"});
        Inserter receiptRows(db, QStringLiteral("收款记录"),
                             {"客户编号", "客户名称", "地址", "电话", "手机", "主机序列号", "金额",
                              "日期", "经手人"});
        const QStringList operators = {"0001", "0002", "0003", "0004"};

        // Sales and repairs interleaved in time, each with its ledger row and, when paid, its
        // receipt, as the entry screens write them; some debts are collected weeks later.
        const qint64 total = sales + repairs;
        qint64 saleId = 0, repairId = 0;
        Db::exec(db, QStringLiteral("begin"));
        for (qint64 n = 0; n < total; ++n) {
            const bool isSale = r.below(int(total - n)) < sales - saleId;
            const QDate date = first.addDays(days * n / total);
            const QString dateText = date.toString(Qt::ISODate);
            // Customers recorded by then.
            const qint64 known = std::max<qint64>(1, customers * (n + 1) / total);
            const Customer &c = people[r.below(int(known))];
            const QString serial = r.serial();
            const QString invoiceNumber = r.chance(0.2) ? r.digits(8) : QString();
            const int invoice = invoiceNumber.isEmpty() ? 0 : 1;
            const QString remark = r.pick(Remarks);
            const QString &op = operators[r.below(int(operators.size()))];
            Money amount;
            QString key;
            if (isSale) {
                ++saleId;
                amount = Money::fromUnits(r.between(50, 8000) * Money::UnitsPerYuan
                                          + (r.chance(0.1) ? 5000 : 0));
                const Money profit = Money::fromUnits(amount.units() / 10 / 100 * 100);
                key = QStringLiteral("订购") + QString::number(saleId);
                saleRows.insert({saleId, c.number, c.name, c.address, c.phone, c.mobile, c.contact,
                                 c.taxNumber, r.pick(Models), serial, amount.units(),
                                 profit.units(), r.pick(Staff), invoice, invoiceNumber, remark,
                                 dateText, op});
            } else {
                ++repairId;
                amount = r.chance(0.1) ? Money() : Money::fromYuan(r.between(1, 40) * 10);
                QString items;
                for (const QString &item : RepairItems)
                    if (r.chance(0.25))
                        items += QStringLiteral("  ") + item;
                key = QStringLiteral("维修") + QString::number(repairId);
                repairRows.insert({repairId, c.number, c.name, c.address, c.phone, c.mobile,
                                   c.contact, c.taxNumber, serial, items, amount.units(),
                                   Money::fromUnits(amount.units() / 2).units(), invoice,
                                   invoiceNumber, remark, dateText, op});
            }
            const bool paidAtOnce = r.chance(0.6);
            const bool collectedLater = !paidAtOnce && r.chance(1.0 / 6);
            ledgerRows.insert({key, c.number, c.name, c.address, c.phone, c.mobile, serial,
                               amount.units(),
                               paidAtOnce || collectedLater ? QStringLiteral("已付款")
                                                            : QStringLiteral("未付款"),
                               invoice, invoiceNumber, remark, dateText, op});
            if ((paidAtOnce && (isSale || !amount.isZero())) || collectedLater) {
                const QDate paidOn
                        = collectedLater ? std::min(last, date.addDays(7 + r.below(60))) : date;
                receiptRows.insert({c.number, c.name, c.address, c.phone, c.mobile, serial,
                                    amount.units(), paidOn.toString(Qt::ISODate), op});
            }
            if ((n + 1) % batch == 0) {
                Db::exec(db, QStringLiteral("commit"));
                Db::exec(db, QStringLiteral("begin"));
                progress(QStringLiteral("销售、维修、帐款、收款"), double(n + 1) / total);
            }
        }
        Db::exec(db, QStringLiteral("commit"));
        progress(QStringLiteral("销售、维修、帐款、收款"), 1);

        for (qsizetype i = 0; i < indexes.size(); ++i) {
            Db::exec(db, indexes[i]);
            progress(QStringLiteral("索引"), double(i + 1) / indexes.size());
        }
        Db::exec(db, QStringLiteral("analyze"));
    } catch (const DbError &e) {
        return e.text();
    }
    return {};
}
} // namespace
