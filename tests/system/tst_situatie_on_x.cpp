// The Situatie of the exploration window on the X server that ./test starts (Xvfb): a
// storage dragged with the server's own pointer (xdotool drives the XTEST extension, as
// a hand on the mouse would) moves by the distance dragged at the map's scale, and the
// case saved afterwards and read back holds it there.

#include "case_document.h"
#include "explore_window.h"
#include "situatie_geometry.h"
#include "situatie_tab.h"
#include "x_test_main.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cmath>

using namespace explore;
using situatie::StorageCentre;

class TestSituatieOnX : public QObject
{
    Q_OBJECT

    std::unique_ptr<ExploreWindow> m_window;
    QTemporaryDir m_folder;

    SituatieTab *tab() const { return m_window->situatie(); }

    static bool pointer(const QStringList &arguments)
    {
        return QProcess::execute(QStringLiteral(XDOTOOL_EXE), arguments) == 0;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(m_folder.isValid());
        m_window = std::make_unique<ExploreWindow>();
        m_window->setGeometry(0, 0, 1200, 800);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->tabs()->setCurrentIndex(int(Tab::Situatie));
        tab()->startAction()->trigger();
        QVERIFY(tab()->model()->committed().hasSite);
        QVERIFY(tab()->waitUntilComputed(300000));
        tab()->view()->fitToSite();
    }
    void cleanupTestCase() { m_window.reset(); }

    void aDraggedStorageMovesByTheDistanceDragged_data()
    {
        QTest::addColumn<QPoint>("shift");
        QTest::newRow("south-west") << QPoint(-40, 90);
    }
    void aDraggedStorageMovesByTheDistanceDragged()
    {
        QFETCH(QPoint, shift);
        SituatieView *view = tab()->view();
        const engine::SitePoint before = tab()->model()->committed().site.storages[0].corner;
        const double scale = view->viewport().scale;
        const QPoint from = view->mapToGlobal(
            view->viewport().toDevice(StorageCentre(tab()->model()->committed().site.storages[0])).toPoint());
        const QPoint to = from + shift;
        const int steps = tab()->model()->undoStack()->count();
        QVERIFY(pointer({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())}));
        QTest::qWait(100);
        QVERIFY(pointer({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QTest::qWait(100);
        for (int step = 1; step <= 5; ++step) {
            const QPoint at = from + shift * step / 5;
            QVERIFY(pointer({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}));
            QTest::qWait(60);
        }
        QVERIFY(pointer({QStringLiteral("mouseup"), QStringLiteral("1")}));
        QTRY_COMPARE_WITH_TIMEOUT(tab()->model()->undoStack()->count(), steps + 1, 5000);
        QCOMPARE(QCursor::pos(), to);

        // The case saved now and read back holds the storage where it was dropped.
        const QString file = m_folder.filePath(QStringLiteral("zaak.warmtegloed"));
        QString error;
        QVERIFY2(m_window->document()->save(file, &error), qPrintable(error));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const casefile::ReadResult read = casefile::ReadCase(written.readAll().toStdString());
        QVERIFY2(read.ok, read.error.c_str());
        const engine::SitePoint after = read.value.site.storages[0].corner;
        // The corner is kept to the centimetre.
        QVERIFY2(std::abs(after.x - (before.x + shift.x() / scale)) <= 0.005 + 1e-9,
                 qPrintable(QString::number(after.x)));
        QVERIFY2(std::abs(after.y - (before.y - shift.y() / scale)) <= 0.005 + 1e-9,
                 qPrintable(QString::number(after.y)));
    }
};

WARMTEGLOED_X_TEST_MAIN(TestSituatieOnX, QApplication)

#include "tst_situatie_on_x.moc"
