// The Situatie under the mouse, offscreen: a drag moves a storage by the distance dragged
// on the scale, the handle turns it about its centre, clicks add storages, receivers and
// boundary lines, Delete removes, the wheel zooms about the cursor, "Passend" shows all,
// the panel's fields edit, and every edit is one undo step that restores the site exactly.

#include "situatie_fixture.h"
#include "situatie_geometry.h"
#include "situatie_panel.h"
#include "typing.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <cmath>

using namespace explore;
using namespace situatie_test;
using situatie::StorageCentre;

Q_DECLARE_METATYPE(SelectionKind)
Q_DECLARE_METATYPE(SituatieTool)

class TestSituatieView : public QObject
{
    Q_OBJECT

    std::unique_ptr<SituatieTab> m_tab;

    SituatieView *view() const { return m_tab->view(); }
    SituatieModel *model() const { return m_tab->model(); }
    const engine::Site &site() const { return model()->committed().site; }

    QPoint device(engine::SitePoint p) const { return view()->viewport().toDevice(p).toPoint(); }

    void drag(const QPoint &from, const QPoint &to)
    {
        QTest::mousePress(view(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(view(), from + (to - from) * step / 4);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, to);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        m_tab = std::make_unique<SituatieTab>();
        m_tab->resize(1300, 800);
        m_tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
    }

    void init()
    {
        model()->reset(yardState());
        model()->undoStack()->clear();
        model()->setSelection({});
        view()->setTool(SituatieTool::Select);
        view()->fitTo(QRectF(QPointF(-10, -10), QPointF(120, 100)));
    }

    void dragMovesAStorageByTheDistanceDragged_data()
    {
        QTest::addColumn<QPoint>("shift");
        QTest::newRow("north-west") << QPoint(-60, -80);
        QTest::newRow("one pixel south") << QPoint(0, 5);
    }
    void dragMovesAStorageByTheDistanceDragged()
    {
        QFETCH(QPoint, shift);
        const engine::SitePoint before = site().storages[0].corner;
        const double scale = view()->viewport().scale;
        const QPoint from = device(StorageCentre(site().storages[0]));
        drag(from, from + shift);
        const engine::SitePoint after = site().storages[0].corner;
        // The corner follows to the centimetre: half of one on the rounding.
        QVERIFY(std::abs(after.x - (before.x + shift.x() / scale)) <= 0.005 + 1e-9);
        QVERIFY(std::abs(after.y - (before.y - shift.y() / scale)) <= 0.005 + 1e-9);
        QCOMPARE(model()->undoStack()->count(), 1);
        model()->undoStack()->undo();
        QCOMPARE(site().storages[0].corner.x, before.x);
        QCOMPARE(site().storages[0].corner.y, before.y);
    }

    void theHandleTurnsAStorageAboutItsCentre()
    {
        QTest::mouseClick(view(), Qt::LeftButton, {}, device(StorageCentre(site().storages[0])));
        QCOMPARE(model()->selection().kind, SelectionKind::Storage);
        const engine::SitePoint centre = StorageCentre(site().storages[0]);
        const QPointF handle = RotationHandle(view()->viewport(), site().storages[0], 1);
        // From above the storage to its west: a quarter turn counterclockwise.
        const QPointF middle = view()->viewport().toDevice(centre);
        const double reach = std::hypot(handle.x() - middle.x(), handle.y() - middle.y());
        drag(handle.toPoint(), (middle + QPointF(-reach, 0)).toPoint());
        QCOMPARE(site().storages[0].rotation, 90.0);
        const engine::SitePoint turned = StorageCentre(site().storages[0]);
        QVERIFY(std::abs(turned.x - centre.x) < 0.01);
        QVERIFY(std::abs(turned.y - centre.y) < 0.01);
    }

    void clicksAddStoragesAndReceivers_data()
    {
        QTest::addColumn<SituatieTool>("tool");
        QTest::addColumn<SelectionKind>("added");
        QTest::newRow("storage") << SituatieTool::AddStorage << SelectionKind::Storage;
        QTest::newRow("receiver") << SituatieTool::AddReceiver << SelectionKind::Receiver;
    }
    void clicksAddStoragesAndReceivers()
    {
        QFETCH(SituatieTool, tool);
        QFETCH(SelectionKind, added);
        view()->setTool(tool);
        const engine::SitePoint at {70, 60};
        QTest::mouseClick(view(), Qt::LeftButton, {}, device(at));
        const engine::SitePoint where = view()->viewport().toSite(device(at));
        engine::SitePoint placed;
        if (added == SelectionKind::Storage) {
            QCOMPARE(site().storages.size(), std::size_t(4));
            QCOMPARE(site().storages.back().name, std::string("Opslag A"));
            placed = site().storages.back().corner;
        } else {
            QCOMPARE(site().receivers.size(), std::size_t(3));
            QCOMPARE(site().receivers.back().name, std::string("Ontvanger 3"));
            placed = site().receivers.back().at;
        }
        QVERIFY(std::abs(placed.x - where.x) <= 0.005 + 1e-9);
        QVERIFY(std::abs(placed.y - where.y) <= 0.005 + 1e-9);
        QCOMPARE(model()->selection().kind, added);
    }

    void clicksDrawABoundaryEndedByADoubleClick()
    {
        view()->setTool(SituatieTool::DrawBoundary);
        const engine::SitePoint points[] = {{-8, 50}, {30, 98}, {100, 98}};
        for (engine::SitePoint p : points)
            QTest::mouseClick(view(), Qt::LeftButton, {}, device(p));
        QTest::mouseDClick(view(), Qt::LeftButton, {}, device(points[2]));
        QCOMPARE(site().boundary.size(), std::size_t(2));
        QCOMPARE(site().boundary.back().size(), std::size_t(3));
        QVERIFY(std::abs(site().boundary.back()[1].y - 98) < 1);
        QCOMPARE(model()->undoStack()->count(), 1);
    }

    void deleteRemovesTheSelection_data()
    {
        QTest::addColumn<SelectionKind>("kind");
        QTest::addColumn<int>("storages");
        QTest::addColumn<int>("receivers");
        QTest::addColumn<int>("polylines");
        QTest::newRow("storage") << SelectionKind::Storage << 2 << 2 << 1;
        QTest::newRow("receiver") << SelectionKind::Receiver << 3 << 1 << 1;
        QTest::newRow("boundary") << SelectionKind::Boundary << 3 << 2 << 0;
    }
    void deleteRemovesTheSelection()
    {
        QFETCH(SelectionKind, kind);
        QFETCH(int, storages);
        QFETCH(int, receivers);
        QFETCH(int, polylines);
        model()->setSelection({kind, 0});
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_Delete);
        QCOMPARE(int(site().storages.size()), storages);
        QCOMPARE(int(site().receivers.size()), receivers);
        QCOMPARE(int(site().boundary.size()), polylines);
        model()->undoStack()->undo();
        QVERIFY(SameSite(site(), yard()));
    }

    void theLastStorageStays()
    {
        SituatieState one = yardState();
        one.site.storages.resize(1);
        model()->reset(one);
        model()->setSelection({SelectionKind::Storage, 0});
        QSignalSpy refused(view(), &SituatieView::refused);
        QVERIFY(view()->deleteSelection());
        QCOMPARE(site().storages.size(), std::size_t(1));
        QCOMPARE(refused.count(), 1);
    }

    // A receiver dropped inside a storage would make a case that cannot be read back.
    void aDragTheCaseCannotHoldIsUndone()
    {
        QSignalSpy refused(view(), &SituatieView::refused);
        drag(device(site().receivers[0].at), device(StorageCentre(site().storages[0])));
        QVERIFY(SameSite(site(), yard()));
        QCOMPARE(model()->undoStack()->count(), 0);
        QCOMPARE(refused.count(), 1);
        QVERIFY(refused.front().front().toString().contains(QStringLiteral("ligt binnen A")));
    }

    // The wheel zooms about the cursor, a pinch about its centre.
    void zoomKeepsTheSpotUnderTheHand_data()
    {
        QTest::addColumn<bool>("pinch");
        QTest::addColumn<double>("factor");
        QTest::newRow("wheel") << false << 1.44;
        QTest::newRow("pinch") << true << 1.25;
    }
    void zoomKeepsTheSpotUnderTheHand()
    {
        QFETCH(bool, pinch);
        QFETCH(double, factor);
        const QPointF at(300, 200);
        const engine::SitePoint before = view()->viewport().toSite(at);
        const double scale = view()->viewport().scale;
        QWheelEvent wheel(at, view()->mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QNativeGestureEvent gesture(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, at,
                                    at, view()->mapToGlobal(at), 0.25, QPointF());
        QApplication::sendEvent(view(), pinch ? static_cast<QEvent *>(&gesture) : &wheel);
        QVERIFY(std::abs(view()->viewport().scale - scale * factor) < 1e-9);
        const engine::SitePoint after = view()->viewport().toSite(at);
        QVERIFY(std::abs(after.x - before.x) < 1e-9);
        QVERIFY(std::abs(after.y - before.y) < 1e-9);
    }

    void passendShowsEveryPartOfTheSite()
    {
        view()->zoomAt(QPointF(10, 10), 8);
        view()->fitToSite();
        const QRectF shown = view()->viewport().visibleSite();
        for (const engine::SiteStorage &storage : site().storages) {
            for (engine::SitePoint corner : engine::StorageCorners(storage))
                QVERIFY(shown.contains(QPointF(corner.x, corner.y)));
        }
        for (const engine::SiteReceiver &receiver : site().receivers)
            QVERIFY(shown.contains(QPointF(receiver.at.x, receiver.at.y)));
    }

    void aFieldOfThePanelEditsTheSelectedStorage()
    {
        model()->setSelection({SelectionKind::Storage, 1});
        QLineEdit *width = m_tab->panel()->field(QStringLiteral("Breedte"));
        QVERIFY(width);
        QCOMPARE(width->text(), QStringLiteral("10"));
        Retype(width, QStringLiteral("12,5"));
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(site().storages[1].width, 12.5);
        QCOMPARE(model()->undoStack()->undoText(), QStringLiteral("Breedte wijzigen"));
        QTest::keyClick(width, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(site().storages[1].width, 10.0);
        QCOMPARE(width->text(), QStringLiteral("10"));
    }

    void aWrongNumberChangesNothing()
    {
        model()->setSelection({SelectionKind::Storage, 0});
        QLineEdit *height = m_tab->panel()->field(QStringLiteral("Hoogte"));
        Retype(height, QStringLiteral("16"));
        QTest::keyClick(height, Qt::Key_Return);
        QCOMPARE(site().storages[0].height, 8.0);
        QCOMPARE(model()->undoStack()->count(), 0);
    }
};

QTEST_MAIN(TestSituatieView)
#include "tst_situatie_view.moc"
