#include "data/settingsfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void missingFileGivesDefaultsAndIsNotCreated()
    {
        QTemporaryDir dir;
        SettingsFile ini(dir.filePath("myini.ini"));
        QCOMPARE(ini.read("店铺名称", "Fenwick电脑公司"), QStringLiteral("Fenwick电脑公司"));
        QVERIFY(!QFile::exists(ini.path()));
    }

    void writeCreatesSectionAndReadsBack()
    {
        QTemporaryDir dir;
        SettingsFile ini(dir.filePath("myini.ini"));
        QVERIFY(ini.write("店铺名称", "好运电脑"));
        QVERIFY(ini.write("广告语", ""));
        QVERIFY(ini.write("店铺名称", "好运电脑城")); // replaces, does not add
        QCOMPARE(ini.read("店铺名称", "x"), QStringLiteral("好运电脑城"));
        // Present but empty is the empty text, not the default.
        QCOMPARE(ini.read("广告语", "default"), QString());
        QCOMPARE(ini.read("背景", "default"), QStringLiteral("default"));

        QFile file(ini.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("店铺名称"), 0); // not UTF-8 on disk
        QStringDecoder gbk("GB18030");
        const QString text = gbk(bytes);
        QCOMPARE(text.count(QStringLiteral("店铺名称")), 1);
        QVERIFY(text.startsWith(QStringLiteral("[程序参数]")));
    }

    void readsAndKeepsAGbkFileFromAnotherProgram()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("myini.ini");
        QStringEncoder gbk("GBK");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(gbk(
                QStringLiteral("[其他]\r\n店铺名称=别处\r\n\r\n[程序参数]\r\n店铺名称 = 老店 \r\n"
                               "订购付款=未付款\r\n")));
        file.close();

        SettingsFile ini(path);
        QCOMPARE(ini.read("店铺名称"), QStringLiteral("老店"));
        QCOMPARE(ini.readIn("其他", "店铺名称", ""), QStringLiteral("别处"));
        QVERIFY(ini.write("维修付款", "已付款"));
        QCOMPARE(ini.read("订购付款"), QStringLiteral("未付款"));
        QCOMPARE(ini.read("维修付款"), QStringLiteral("已付款"));
        QCOMPARE(ini.readIn("其他", "店铺名称", ""), QStringLiteral("别处"));
    }

    void multiLineValueIsStoredAsOneLine()
    {
        QTemporaryDir dir;
        SettingsFile ini(dir.filePath("myini.ini"));
        QVERIFY(ini.write("小票尾", "欢迎\n再次\r\n光临"));
        QCOMPARE(ini.read("小票尾"), QStringLiteral("欢迎再次光临"));
    }

    void unwritableFolderReportsFailure()
    {
        SettingsFile ini("/proc/merrow-no-such-dir/myini.ini");
        QVERIFY(!ini.write("店铺名称", "x"));
        QCOMPARE(ini.read("店铺名称", "d"), QStringLiteral("d"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
