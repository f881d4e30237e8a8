// The site's boundary check: the distance a face has to a boundary, the boundary's
// highest level against a scan of exact levels every centimetre, the receivers, the
// distance each face needs, and the verdict.

#include "limit.h"
#include "site.h"
#include "site_check.h"

#include <QTest>

#include <cmath>

namespace {

using engine::SitePoint;
using Polyline = std::vector<SitePoint>;

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

// 20 × 8 m, 6 m high, along the axes from (0, 0): face 1 looks south, face 2 east.
engine::SiteStorage pile()
{
    engine::SiteStorage storage;
    storage.name = "Stapel A";
    storage.width = 20;
    storage.depth = 8;
    storage.height = 6;
    return storage;
}

// The highest exact level along a polyline, every centimetre.
double scanned(const engine::Site &site, const Polyline &line, SitePoint &at)
{
    double highest = -1;
    for (SitePoint point : engine::BoundarySamples(line, 0.01)) {
        const engine::SiteLevel level = engine::SiteLevelAt(site, point);
        if (level.hasLevel() && level.level > highest) {
            highest = level.level;
            at = point;
        }
    }
    return highest;
}

} // namespace

Q_DECLARE_METATYPE(Polyline)

class TestSiteCheck : public QObject
{
    Q_OBJECT

private slots:
    void distanceInFront_data();
    void distanceInFront();
    void samplesKeepTheVertices();
    void boundaryHighest_data();
    void boundaryHighest();
    void facesNeedAndHave();
    void receiversAndVerdict();
};

void TestSiteCheck::distanceInFront_data()
{
    QTest::addColumn<Polyline>("line");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("distance");

    QTest::newRow("oblique, nearest at the face's end") << Polyline {{0, -12}, {20, -4}} << true << 4.0;
    QTest::newRow("oblique, nearest beyond the face") << Polyline {{-10, -12}, {30, -2}} << true << 4.5;
    QTest::newRow("beside the face only") << Polyline {{25, -1}, {40, -10}} << false << 0.0;
    QTest::newRow("behind the face") << Polyline {{0, 12}, {20, 12}} << false << 0.0;
    QTest::newRow("across the face's line") << Polyline {{10, -5}, {10, 3}} << true << 0.0;
    QTest::newRow("touching the end's normal") << Polyline {{20, -3}, {30, -3}} << true << 3.0;
    QTest::newRow("one point in front") << Polyline {{8, -9}} << true << 9.0;
}

void TestSiteCheck::distanceInFront()
{
    QFETCH(Polyline, line);
    QFETCH(bool, found);
    QFETCH(double, distance);

    const engine::StorageFace face = engine::FaceOf(pile(), 1);
    double got = -1;
    QCOMPARE(engine::DistanceInFront(face, line, got), found);
    if (found)
        QCOMPARE(got, distance);
}

void TestSiteCheck::samplesKeepTheVertices()
{
    const Polyline line {{0, 0}, {1.05, 0}, {1.05, 0.3}, {1.05, 0.3}, {0, 0}};
    const std::vector<SitePoint> samples = engine::BoundarySamples(line, 0.1);
    // 11 pieces, 3 pieces, none for the repeated point, 11 pieces (1.092 m), and the start.
    QCOMPARE(samples.size(), std::size_t(1 + 11 + 3 + 11));
    QCOMPARE(samples[11].x, 1.05);
    QCOMPARE(samples[11].y, 0.0);
    QCOMPARE(samples[14].y, 0.3);
    for (std::size_t i = 1; i < samples.size(); ++i)
        QVERIFY(std::hypot(samples[i].x - samples[i - 1].x, samples[i].y - samples[i - 1].y) <= 0.1);
}

void TestSiteCheck::boundaryHighest_data()
{
    QTest::addColumn<Polyline>("line");
    QTest::addColumn<double>("rotation");
    QTest::addColumn<bool>("envelope");

    QTest::newRow("parallel to face 1") << Polyline {{-10, -9}, {30, -9}} << 0.0 << false;
    QTest::newRow("around the corner P2") << Polyline {{10, -6}, {27, -6}, {27, 10}} << 0.0 << false;
    QTest::newRow("oblique, rotated pile") << Polyline {{-15, -4}, {12, -20}} << 30.0 << false;
    QTest::newRow("with the envelope") << Polyline {{14, -10}, {27, -3}} << 0.0 << true;
}

void TestSiteCheck::boundaryHighest()
{
    QFETCH(Polyline, line);
    QFETCH(double, rotation);
    QFETCH(bool, envelope);

    engine::Site site;
    site.envelope = envelope;
    site.heights = {1, 2, 3, 4, 16};
    engine::SiteStorage storage = pile();
    storage.rotation = rotation;
    site.storages.push_back(storage);
    site.boundary = {line};

    const engine::SiteCheck check = engine::CheckSite(site);
    QVERIFY2(check.ok(), check.message.c_str());
    QVERIFY(check.hasBoundary);
    QVERIFY(check.boundary.found);
    SitePoint at;
    const double expected = scanned(site, line, at);
    // Both every centimetre, the check from the samples around its maxima.
    QVERIFY2(std::abs(check.boundary.level - expected) <= 1e-6 * expected,
             qPrintable(exact(check.boundary.level) + " " + exact(expected)));
    // The level given is the exact level at the point given.
    const engine::SiteLevel there = engine::SiteLevelAt(site, check.boundary.at);
    QCOMPARE(exact(there.level), exact(check.boundary.level));
    QCOMPARE(check.boundary.face, there.governing.face);
    QCOMPARE(check.boundary.height, there.governing.height);
    QCOMPARE(check.boundary.complies, check.boundary.level <= 15000);
}

void TestSiteCheck::facesNeedAndHave()
{
    engine::Site site;
    engine::SiteStorage storage = pile();
    storage.screens.push_back({2, 4, 2, 1});
    site.storages.push_back(storage);
    // 30 m south of face 1 and 9 m east of face 2; nothing north or west.
    site.boundary = {{{-40, -30}, {29, -30}, {29, 5}}};

    const engine::SiteCheck check = engine::CheckSite(site);
    QVERIFY2(check.ok(), check.message.c_str());
    QCOMPARE(check.faces.size(), std::size_t(4));
    for (const engine::FaceDistance &face : check.faces) {
        const engine::StorageFace geometry = engine::FaceOf(storage, face.face);
        const double beyondScreen = face.face == 2 ? 3 : 1;
        const engine::CalculationInput input =
            engine::FaceInput(site, storage, face.face, {beyondScreen, geometry.length / 2});
        const engine::Solution solution = engine::Solve(input, engine::SolveQuantity::Distance, 15, false);
        QCOMPARE(face.hasRequired, solution.found);
        QCOMPARE(face.required, solution.value);
    }
    QCOMPARE(check.faces[1].face, 2);
    QVERIFY(check.faces[1].required > 2); // searched beyond the screen
    QVERIFY(check.faces[0].facesBoundary);
    QCOMPARE(check.faces[0].available, 30.0);
    QVERIFY(check.faces[0].complies);
    QVERIFY(check.faces[1].facesBoundary);
    QCOMPARE(check.faces[1].available, 9.0);
    QCOMPARE(check.faces[1].complies, check.faces[1].required <= 9);
    QVERIFY(!check.faces[2].facesBoundary);
    QVERIFY(!check.faces[2].complies);
    QVERIFY(!check.faces[3].facesBoundary);
}

void TestSiteCheck::receiversAndVerdict()
{
    engine::Site site;
    site.storages.push_back(pile());
    site.boundary = {{{-10, -40}, {30, -40}}};
    site.receivers = {{"Woning 12", {10, -6}}, {"Schuur", {45, 4}}, {"In de stapel", {5, 5}}};

    const engine::SiteCheck check = engine::CheckSite(site);
    QVERIFY2(check.ok(), check.message.c_str());
    QCOMPARE(check.receivers.size(), std::size_t(3));
    for (std::size_t i = 0; i < 2; ++i) {
        const engine::SiteLevel level = engine::SiteLevelAt(site, site.receivers[i].at);
        QCOMPARE(check.receivers[i].name, site.receivers[i].name);
        QCOMPARE(exact(check.receivers[i].highest.level), exact(level.level));
        QCOMPARE(check.receivers[i].highest.face, level.governing.face);
        QCOMPARE(check.receivers[i].highest.complies, level.level <= 15000);
    }
    QVERIFY(check.receivers[2].inside);
    QVERIFY(!check.receivers[2].highest.found);
    // The boundary lies far out; the house at 6 m does not comply, so neither does the site.
    QVERIFY(check.boundary.complies);
    QVERIFY(!check.receivers[0].highest.complies);
    QVERIFY(!check.complies);

    site.receivers.erase(site.receivers.begin());
    QVERIFY(engine::CheckSite(site).complies);
    site.limit = 0.5;
    const engine::SiteCheck strict = engine::CheckSite(site);
    QVERIFY(!strict.boundary.complies);
    QVERIFY(!strict.complies);
    QCOMPARE(strict.limit, 500.0);
}

QTEST_GUILESS_MAIN(TestSiteCheck)
#include "tst_site_check.moc"
