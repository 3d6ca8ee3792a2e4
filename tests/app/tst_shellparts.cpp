// The pieces around the main window: single instance, status panes, interface font.
#include "app/appfont.h"
#include "app/singleinstance.h"
#include "app/statuspanes.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

class TestShellParts : public QObject
{
    Q_OBJECT
private slots:
    void onlyOneCopyHoldsTheLock()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("merrow.lock");
        {
            SingleInstance first(path);
            QVERIFY(first.acquire());
            SingleInstance second(path);
            QVERIFY(!second.acquire());
        }
        SingleInstance after(path);
        QVERIFY(after.acquire()); // released when the first copy ended
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        // A process that has ended stands for a copy that crashed holding the lock.
        QProcess gone;
        gone.start("true");
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());

        QTemporaryDir dir;
        const QString path = dir.filePath("merrow.lock");
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(pid) + "\nmerrow\n" + QSysInfo::machineHostName().toUtf8()
                    + "\n");
        stale.close();

        SingleInstance next(path);
        QVERIFY(next.acquire());
    }

    void clockShowsLongDateAndTime_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QDateTime(QDate(2024, 1, 5), QTime(9, 3, 7))
                                 << "2024年1月5日星期五 9:03:07";
        QTest::newRow("evening") << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59))
                                 << "2025年12月31日星期三 23:59:59";
    }

    void clockShowsLongDateAndTime()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        QCOMPARE(ClockPane::textFor(when), text);
    }

    void sloganRunsAcrossThePane()
    {
        MarqueePane pane;
        pane.resize(432, 20);
        pane.setText("欢迎光临");
        const int start = pane.offset();
        QTRY_VERIFY(pane.offset() < start - 2);
        pane.setText(QString());
        const int stopped = pane.offset();
        QTest::qWait(5 * MarqueePane::StepMs);
        QCOMPARE(pane.offset(), stopped); // nothing to scroll
    }

    void interfaceFontCarriesChinese_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("song first")
                << QStringList {"DejaVu Sans", "WenQuanYi Micro Hei", "SimSun"} << "SimSun";
        QTest::newRow("fallback") << QStringList {"DejaVu Sans", "WenQuanYi Micro Hei"}
                                  << "WenQuanYi Micro Hei";
        QTest::newRow("none") << QStringList {"DejaVu Sans"} << "";
    }

    void interfaceFontCarriesChinese()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);
        QCOMPARE(AppFont::chooseFamily(installed), chosen);
    }
};

QTEST_MAIN(TestShellParts)
#include "tst_shellparts.moc"
