// The site's contour files: GeoJSON read back with GDAL, the limit's contour in front of a
// face where the distance solver puts the limit, the DXF's layers declared in its table.

#include "contour_export.h"
#include "limit.h"
#include "site.h"
#include "site_map.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

struct Closer
{
    void operator()(GDALDataset *dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};
using Dataset = std::unique_ptr<GDALDataset, Closer>;

// The default storage of the window, 10 × 10 m and 8 m high, with face 1 along the x axis.
engine::Site defaultSite()
{
    engine::Site site;
    engine::SiteStorage storage;
    storage.name = "Stapel A";
    storage.width = 10;
    storage.depth = 10;
    storage.height = 8;
    site.storages.push_back(storage);
    return site;
}

std::vector<gis::LevelLines> contours(const engine::Site &site, const engine::SiteGrid &grid,
                                      const std::vector<double> &levels)
{
    const engine::SiteMap map = engine::CalculateSitePicture(site, grid);
    const engine::ScalarGrid scalar = engine::SiteScalarGrid(grid, map);
    std::vector<gis::LevelLines> result;
    for (double level : levels)
        result.push_back({level, engine::ContourLines(scalar, level)});
    return result;
}

Dataset readBack(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return nullptr;
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();
    GDALAllRegister();
    return Dataset(GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

// Where a line string crosses the vertical x = at, as the y of the crossing nearest below 0.
bool crossing(const OGRLineString &line, double at, double &y)
{
    bool found = false;
    for (int i = 0; i + 1 < line.getNumPoints(); ++i) {
        const double x0 = line.getX(i);
        const double x1 = line.getX(i + 1);
        if ((x0 - at) * (x1 - at) > 0 || x0 == x1)
            continue;
        const double t = (at - x0) / (x1 - x0);
        const double crossed = line.getY(i) + t * (line.getY(i + 1) - line.getY(i));
        if (crossed < 0 && (!found || crossed > y)) {
            y = crossed;
            found = true;
        }
    }
    return found;
}

} // namespace

class TestContourExport : public QObject
{
    Q_OBJECT

private slots:
    void formatOf_data();
    void formatOf();
    void geoJsonCrossesWhereTheSolverSays();
    void dxfDeclaresItsLayers();
};

void TestContourExport::formatOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("dxf");

    QTest::newRow("dxf") << "tekening.Dxf" << true << true;
    QTest::newRow("only the extension") << ".dxf" << false << false;
}

void TestContourExport::formatOf()
{
    QFETCH(QString, path);
    QFETCH(bool, known);
    QFETCH(bool, dxf);
    gis::ContourFormat format = gis::ContourFormat::GeoJson;
    QCOMPARE(gis::FormatOf(path.toStdString(), format), known);
    if (known)
        QCOMPARE(format == gis::ContourFormat::Dxf, dxf);
}

void TestContourExport::geoJsonCrossesWhereTheSolverSays()
{
    const engine::Site site = defaultSite();
    // In front of face 1, every 0.1 m.
    engine::SiteGrid grid;
    for (int i = 0; i <= 200; ++i)
        grid.x.push_back(-5 + i * 0.1);
    for (int j = 0; j <= 300; ++j)
        grid.y.push_back(-30.05 + j * 0.1);
    std::string bytes;
    std::string error;
    QVERIFY(gis::ContourDocument(contours(site, grid, {15, 30}), gis::ContourFormat::GeoJson, bytes, error));

    QTemporaryDir folder;
    const Dataset dataset = readBack(folder.filePath("contouren.geojson"), bytes);
    QVERIFY(dataset);
    QCOMPARE(dataset->GetLayerCount(), 1);
    OGRLayer *layer = dataset->GetLayer(0);
    QVERIFY(layer->GetLayerDefn()->GetFieldIndex("level_kW_m2") >= 0);
    std::map<double, int> lines;
    double limitCrossing = 0;
    bool crossed = false;
    for (auto &feature : *layer) {
        const double level = feature->GetFieldAsDouble("level_kW_m2");
        ++lines[level];
        const OGRGeometry *geometry = feature->GetGeometryRef();
        QCOMPARE(wkbFlatten(geometry->getGeometryType()), wkbLineString);
        double y = 0;
        if (level == 15 && crossing(*geometry->toLineString(), 5, y)) {
            limitCrossing = crossed ? std::max(limitCrossing, y) : y;
            crossed = true;
        }
    }
    QCOMPARE(int(lines.size()), 2);
    QVERIFY(crossed);

    // The window's default storage: the solver's distance in front of the face's middle.
    engine::CalculationInput input;
    input.y = 5;
    const engine::Solution solution = engine::Solve(input, engine::SolveQuantity::Distance, 15, false);
    QVERIFY(solution.found);
    QVERIFY2(std::abs(-limitCrossing - solution.value) <= 0.05,
             qPrintable(QString::number(-limitCrossing, 'f', 4) + " " + QString::number(solution.value)));
}

// OGR reads the layers from the entities alone; CAD programs want them in the layer table.
void TestContourExport::dxfDeclaresItsLayers()
{
    engine::SiteGrid grid;
    for (int i = 0; i <= 60; ++i)
        grid.x.push_back(-30 + i);
    grid.y = grid.x;
    std::string bytes;
    std::string error;
    QVERIFY(gis::ContourDocument(contours(defaultSite(), grid, {10, 12.5}), gis::ContourFormat::Dxf, bytes,
                                 error));
    QCOMPARE(gis::DxfLayerName(12.5), std::string("niveau_12.5_kW_m2"));
    QCOMPARE(gis::DxfLayerName(10), std::string("niveau_10_kW_m2"));
    QVERIFY(bytes.find("niveau_12.5_kW_m2") < bytes.find("ENTITIES"));
    QVERIFY(bytes.find("niveau_10_kW_m2") < bytes.find("ENTITIES"));
}

QTEST_GUILESS_MAIN(TestContourExport)
#include "tst_contour_export.moc"
