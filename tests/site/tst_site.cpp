// The site's geometry and levels: a face's level at a ground point is Calculate's for
// the face's own inputs, to the last bit, whatever the storage's rotation; points inside
// a storage have none; the highest over storages, faces and heights; the map's exact
// levels with the envelope are the point levels and its picture skips only faces that
// cannot matter.

#include "calculate.h"
#include "calculation_state.h"
#include "limit.h"
#include "site.h"
#include "site_map.h"
#include "site_picture.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using engine::SitePoint;

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

// A storage of 20 × 8 m, 6 m high, with its first corner at (100, 200).
engine::SiteStorage pile(double rotation)
{
    engine::SiteStorage storage;
    storage.name = "Stapel A";
    storage.corner = {100, 200};
    storage.rotation = rotation;
    storage.width = 20;
    storage.depth = 8;
    storage.height = 6;
    return storage;
}

// A point given in the storage's own frame: `along` metres from P1 towards P2 and
// `across` metres from P1 towards P4.
SitePoint local(const engine::SiteStorage &storage, double along, double across)
{
    const double r = storage.rotation * 3.14159265358979323846 / 180;
    const double c = std::fmod(storage.rotation, 90) == 0 ? std::round(std::cos(r)) : std::cos(r);
    const double s = std::fmod(storage.rotation, 90) == 0 ? std::round(std::sin(r)) : std::sin(r);
    return {storage.corner.x + along * c - across * s, storage.corner.y + along * s + across * c};
}

// Where that point lies in front of face k, from the frame alone: face 1 is the side
// P1–P2 (across = 0) and the faces follow counterclockwise.
engine::FacePosition expectedPosition(const engine::SiteStorage &storage, int face, double along,
                                      double across)
{
    switch (face) {
    case 1:
        return {-across, along};
    case 2:
        return {along - storage.width, across};
    case 3:
        return {across - storage.depth, storage.width - along};
    default:
        return {-along, storage.depth - across};
    }
}

// The calculation a window would make for that face and point.
engine::CalculationInput windowInput(const engine::Site &site, const engine::SiteStorage &storage, int face,
                                     double x, double y)
{
    engine::CalculationInput input;
    input.B = face % 2 == 1 ? storage.width : storage.depth;
    input.D = face % 2 == 1 ? storage.depth : storage.width;
    input.H = storage.height;
    input.x = x;
    input.y = y;
    input.heights = site.heights;
    input.indoor = storage.indoor;
    input.compact = storage.compact;
    for (const engine::FaceScreen &screen : storage.screens) {
        if (screen.face == face && x > screen.xs && !storage.indoor) {
            input.screen = true;
            input.hs = screen.hs;
            input.xs = screen.xs;
            input.K = screen.K;
        }
    }
    return input;
}

double highestOf(const engine::CalculationInput &input)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    if (!result.ok())
        return std::nan("");
    return *std::max_element(result.levels.begin(), result.levels.end());
}

} // namespace

class TestSite : public QObject
{
    Q_OBJECT

private slots:
    void faceLevelIsCalculate_data();
    void faceLevelIsCalculate();
    void insideHasNoLevel_data();
    void insideHasNoLevel();
    void higherStorageGoverns();
    void envelopeIsHighestAlong();
    void refusalNamesTheFace();
    void exactMapIsPointLevels();
    void pictureSkipsOnlyLowerFaces();
};

void TestSite::faceLevelIsCalculate_data()
{
    QTest::addColumn<double>("rotation");
    QTest::addColumn<double>("along");
    QTest::addColumn<double>("across");
    QTest::addColumn<QString>("faces"); // the faces the point lies in front of
    QTest::addColumn<int>("screenFace");
    QTest::addColumn<bool>("indoor");

    QTest::newRow("0°, beside and before face 2") << 0.0 << 26.0 << 9.5 << "2,3" << 0 << false;
    QTest::newRow("90°, diagonal beyond P4") << 90.0 << -3.0 << 11.0 << "3,4" << 0 << false;
    QTest::newRow("135°, diagonal beyond P1") << 135.0 << -2.5 << -1.5 << "1,4" << 0 << false;
    QTest::newRow("270°, before face 1 far out") << 270.0 << 2.0 << -40.0 << "1" << 0 << false;
    QTest::newRow("screened face 1, point beyond the screen") << 30.0 << 10.0 << -6.0 << "1" << 1 << false;
    QTest::newRow("screened face 1, point before the screen") << 30.0 << 10.0 << -1.5 << "1" << 1 << false;
    QTest::newRow("screen on face 1 only, face 2 bare") << 0.0 << 24.0 << -3.0 << "1,2" << 1 << false;
    QTest::newRow("building rotated, diagonal") << 135.0 << 22.0 << 10.0 << "2,3" << 2 << true;
}

void TestSite::faceLevelIsCalculate()
{
    QFETCH(double, rotation);
    QFETCH(double, along);
    QFETCH(double, across);
    QFETCH(QString, faces);
    QFETCH(int, screenFace);
    QFETCH(bool, indoor);

    engine::Site site;
    site.heights = {1, 3, 4.5, 6.5, 9};
    engine::SiteStorage storage = pile(rotation);
    storage.indoor = indoor;
    if (screenFace)
        storage.screens.push_back({screenFace, 3, 2, 0.8});
    site.storages.push_back(storage);

    const engine::SiteLevel level = engine::SiteLevelAt(site, local(storage, along, across));
    QVERIFY2(level.ok(), level.message.c_str());
    QVERIFY(!level.inside);
    QStringList seen;
    for (const engine::FaceLevel &face : level.faces)
        seen << QString::number(face.face);
    QCOMPARE(seen.join(','), faces);

    double highest = -1;
    for (const engine::FaceLevel &face : level.faces) {
        const engine::FacePosition expected = expectedPosition(storage, face.face, along, across);
        QVERIFY2(std::abs(face.x - expected.x) < 1e-9, qPrintable(exact(face.x)));
        QVERIFY2(std::abs(face.y - expected.y) < 1e-9, qPrintable(exact(face.y)));
        // To the last bit for the face's own distance and position.
        const double calculated = highestOf(windowInput(site, storage, face.face, face.x, face.y));
        QCOMPARE(exact(face.level), exact(calculated));
        // And the geometry's rounding does not move the level beyond the method's noise.
        const double byHand = highestOf(windowInput(site, storage, face.face, expected.x, expected.y));
        QVERIFY2(std::abs(face.level - byHand) <= 1e-9 * byHand,
                 qPrintable(exact(face.level) + " " + exact(byHand)));
        if (face.level > highest)
            highest = face.level;
    }
    QCOMPARE(exact(level.level), exact(highest));
    QCOMPARE(exact(level.governing.level), exact(highest));
}

void TestSite::insideHasNoLevel_data()
{
    QTest::addColumn<double>("rotation");
    QTest::addColumn<double>("along");
    QTest::addColumn<double>("across");

    QTest::newRow("centre, rotated 135°") << 135.0 << 10.0 << 4.0;
    QTest::newRow("on face 1") << 0.0 << 5.0 << 0.0;
    QTest::newRow("just inside face 2, rotated 30°") << 30.0 << 19.999 << 7.0;
}

void TestSite::insideHasNoLevel()
{
    QFETCH(double, rotation);
    QFETCH(double, along);
    QFETCH(double, across);

    engine::Site site;
    site.storages.push_back(pile(rotation));
    site.storages.push_back(pile(0));
    site.storages.back().corner = {-500, -500};
    const engine::SiteLevel level = engine::SiteLevelAt(site, local(site.storages.front(), along, across));
    QVERIFY(level.ok());
    QVERIFY(level.inside);
    QVERIFY(!level.hasLevel());
    QCOMPARE(level.insideStorage, 0);
    QVERIFY(level.faces.empty());
}

void TestSite::higherStorageGoverns()
{
    engine::Site site;
    engine::SiteStorage low = pile(0);
    low.name = "Laag";
    low.height = 2;
    engine::SiteStorage high = pile(0);
    high.name = "Hoog";
    high.height = 9;
    high.corner = {100, 230};
    site.storages = {low, high};
    // Between them: 14 m from the low pile's face 3 and 8 m from the high pile's face 1.
    const SitePoint q {110, 222};

    engine::Site onlyLow = site;
    onlyLow.storages = {low};
    engine::Site onlyHigh = site;
    onlyHigh.storages = {high};
    const engine::SiteLevel both = engine::SiteLevelAt(site, q);
    const engine::SiteLevel lowLevel = engine::SiteLevelAt(onlyLow, q);
    const engine::SiteLevel highLevel = engine::SiteLevelAt(onlyHigh, q);
    QVERIFY(highLevel.level > lowLevel.level);
    QCOMPARE(exact(both.level), exact(highLevel.level));
    QCOMPARE(both.governing.storage, 1);
    QCOMPARE(both.governing.face, 1);
    QCOMPARE(both.faces.size(), std::size_t(2));
    QCOMPARE(exact(both.faces.front().level), exact(lowLevel.level));
}

void TestSite::envelopeIsHighestAlong()
{
    engine::Site site;
    site.envelope = true;
    site.heights = {1, 2, 3, 4, 14};
    engine::SiteStorage storage = pile(30);
    storage.screens.push_back({1, 4, 2, 1});
    site.storages.push_back(storage);
    const engine::SiteLevel level = engine::SiteLevelAt(site, local(storage, 6, -5));
    QVERIFY(level.ok());
    const engine::FaceLevel &face = level.governing;
    const engine::CalculationInput input = windowInput(site, storage, 1, face.x, face.y);
    const engine::HighestLevels along = engine::HighestAlong(input, {input.x}, true);
    QCOMPARE(exact(face.level), exact(along.levels.front()));
    QCOMPARE(face.height, along.heights.front());
    // Between the points the screened level is higher than at any of them.
    QVERIFY(face.level > highestOf(input));
}

void TestSite::refusalNamesTheFace()
{
    engine::Site site;
    engine::SiteStorage storage = pile(0);
    storage.name = "Lage stapel";
    storage.width = 8.7;
    storage.depth = 8.7;
    storage.height = 0.5; // the power law gives a flame below the ground
    site.storages.push_back(storage);

    const engine::SiteLevel level = engine::SiteLevelAt(site, local(storage, 4, -3));
    QVERIFY(!level.ok());
    QCOMPARE(level.status, engine::CalculationStatus::FlameHeightNotPositive);
    QVERIFY2(QString::fromStdString(level.message).startsWith("Lage stapel, zijde 1: Voor deze afmetingen"),
             level.message.c_str());
}

namespace {

// Three storages with a screen and a building; nodes before, beside and inside them.
engine::Site threeStorages()
{
    engine::Site site;
    engine::SiteStorage a = pile(0);
    a.screens.push_back({1, 3, 2, 0.7});
    engine::SiteStorage b = pile(30);
    b.name = "Stapel B";
    b.corner = {140, 190};
    b.compact = true;
    engine::SiteStorage c = pile(135);
    c.name = "Loods";
    c.corner = {130, 240};
    c.indoor = true;
    c.height = 7;
    site.storages = {a, b, c};
    return site;
}

} // namespace

// With the envelope; the exploration window's test holds the map at the heights.
void TestSite::exactMapIsPointLevels()
{
    engine::Site site = threeStorages();
    site.envelope = true;
    engine::SiteGrid grid;
    for (int i = 0; i < 9; ++i)
        grid.x.push_back(85 + i * 8.5);
    for (int j = 0; j < 7; ++j)
        grid.y.push_back(180 + j * 10.25);
    const engine::SiteMap map = engine::CalculateSiteHighest(site, grid);
    QVERIFY2(map.ok(), map.message.c_str());
    QCOMPARE(map.levels.size(), grid.x.size() * grid.y.size());
    int inside = 0;
    for (std::size_t node = 0; node < map.levels.size(); ++node) {
        const SitePoint q {grid.x[node % grid.x.size()], grid.y[node / grid.x.size()]};
        const engine::SiteLevel level = engine::SiteLevelAt(site, q);
        if (level.inside) {
            QVERIFY(std::isnan(map.levels[node]));
            ++inside;
            continue;
        }
        QCOMPARE(exact(map.levels[node]), exact(level.level));
    }
    QVERIFY(inside > 0);
}

void TestSite::pictureSkipsOnlyLowerFaces()
{
    for (bool envelope : {false, true}) {
        engine::Site site = threeStorages();
        site.envelope = envelope;
        const engine::detail::SitePicture picture(site);
        QVERIFY(picture.ok());
        engine::detail::SiteWorkspace work;
        std::mt19937_64 random(19);
        std::uniform_real_distribution<double> east(60, 200);
        std::uniform_real_distribution<double> north(150, 290);
        int compared = 0;
        for (int i = 0; i < (envelope ? 150 : 1500); ++i) {
            const SitePoint q {east(random), north(random)};
            const double skipping = picture.highest(q, work);
            const double all = picture.highest(q, work, true);
            if (std::isnan(all))
                continue;
            QCOMPARE(exact(skipping), exact(all));
            // No bound lies below the face's own level.
            for (const engine::detail::FaceCandidate &candidate : work.candidates) {
                const double close = picture.closeBound(*candidate.face, candidate.position);
                QVERIFY2(candidate.bound >= candidate.picture, qPrintable(exact(q.x) + " " + exact(q.y)));
                QVERIFY2(close >= candidate.picture, qPrintable(exact(q.x) + " " + exact(q.y)));
            }
            ++compared;
        }
        QVERIFY(compared > 100);
    }
}

QTEST_GUILESS_MAIN(TestSite)
#include "tst_site.moc"
