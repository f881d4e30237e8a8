// The exploration window on the X server that ./test starts (Xvfb), at its real plan
// resolution: a new width reaches the plan, and the window keeps
// answering events while the grid is computed; the window's command keys work from a
// text field, where X11's key bindings would take Ctrl+E as "to the end of the line".

#include "explore_window.h"
#include "inputs_panel.h"
#include "typing.h"
#include "x_test_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace explore;

class TestExploreOnX : public QObject
{
    Q_OBJECT

    std::unique_ptr<ExploreWindow> m_window;

    bool settle(int milliseconds)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds) {
            QTest::qWait(20);
            const auto shown = m_window->exploration();
            if (!m_window->runner()->busy() && shown && shown->planFinal)
                return true;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_window = std::make_unique<ExploreWindow>();
        m_window->resize(1366, 768);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->tabs()->setCurrentIndex(2);
        QVERIFY(settle(300000));
    }
    void cleanupTestCase() { m_window.reset(); }

    void newWidthReachesThePlan()
    {
        const auto before = m_window->exploration();
        QCOMPARE(before->plan.resolution, 200);
        QLineEdit *width = m_window->inputs()->edit(Field::Width);
        Retype(width, QStringLiteral("24"));
        QTest::keyClick(width, Qt::Key_Return);

        // While the worker computes, a 10 ms timer keeps firing: no gap of 100 ms or more.
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longestGap = 0;
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(10);
        connect(&ticker, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            longestGap = std::max(longestGap, now - last);
            last = now;
            ++ticks;
        });
        ticker.start();
        while (m_window->runner()->busy() && clock.elapsed() < 300000)
            QTest::qWait(5);
        ticker.stop();
        QVERIFY2(ticks > 5, "the computation ended before it could be watched");
        QVERIFY2(longestGap < 100,
                 qPrintable(QString("the event loop stood still for %1 ms").arg(longestGap)));

        QVERIFY(settle(300000));
        const auto after = m_window->exploration();
        QCOMPARE(after->input.storage.B, 24.0);
        QCOMPARE(after->plan.resolution, 200);
        QCOMPARE(after->extent.yTo - after->extent.yFrom, 24 + after->extent.xTo);
        QVERIFY(after->plan.highestValue > 0);
        QVERIFY(m_window->isVisible());
    }

    void commandKeysWorkFromATextField()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("afstand.png"));
        m_window->setFileChooser(
            [&](const QString &, const QString &, const QStringList &, QString *) { return path; });
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QLineEdit *depth = m_window->inputs()->edit(Field::Depth);
        depth->setFocus();
        QCOMPARE(QApplication::focusWidget(), depth);
        depth->setCursorPosition(0);
        QTest::keyClick(depth, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(QImage(path).width() > 0);
        QCOMPARE(depth->cursorPosition(), 0);
    }
};

WARMTEGLOED_X_TEST_MAIN(TestExploreOnX, QApplication)

#include "tst_explore_on_x.moc"
