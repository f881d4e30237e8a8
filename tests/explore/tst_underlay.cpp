// The site's own drawing under the Situatie: a raster or PDF placed by two points puts
// both at the coordinates typed (in the arithmetic, and on the drawn picture within one
// pixel), a DXF, GeoJSON, GeoPackage or Shapefile lands at its own coordinates (a drawing
// in longitude and latitude in RD New), a drawing's line becomes a boundary line, and the
// case keeps the underlay relative to its own folder with a checksum that notices a moved
// or changed file.

#include "case_document.h"
#include "gdal_support.h"
#include "situatie_case.h"
#include "situatie_fixture.h"
#include "situatie_panel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <ogrsf_frmts.h>

#include <cmath>

using namespace explore;
using namespace situatie_test;

namespace {

// A picture of 400 × 300 pixels, white, with a red mark centred on pixel (50, 60) and a
// blue one on pixel (350, 240).
QImage markedPicture()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            image.setPixel(50 + dx, 60 + dy, qRgb(255, 0, 0));
            image.setPixel(350 + dx, 240 + dy, qRgb(0, 0, 255));
        }
    }
    return image;
}

const QPointF kRedMark(50.5, 60.5);
const QPointF kBlueMark(350.5, 240.5);

// The centre of the pixels where `channel` (0 red, 2 blue) stands out, weighted by how much.
QPointF centreOf(const QImage &image, int channel)
{
    double sum = 0, x = 0, y = 0;
    for (int j = 0; j < image.height(); ++j) {
        for (int i = 0; i < image.width(); ++i) {
            const QColor c = image.pixelColor(i, j);
            const int values[3] = {c.red(), c.green(), c.blue()};
            const int lead = values[channel] - std::max(values[(channel + 1) % 3], values[(channel + 2) % 3]);
            // The faint tints a compressed picture leaves around a mark do not count.
            const double weight = lead > 64 ? lead : 0;
            sum += weight;
            x += weight * (i + 0.5);
            y += weight * (j + 0.5);
        }
    }
    return sum > 0 ? QPointF(x / sum, y / sum) : QPointF(-1, -1);
}

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Writes two lines in RD New with OGR: a line and a closed square.
bool writeDrawing(const QString &path, const char *driverName, int epsg)
{
    gis::detail::RegisterGdalDrivers();
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(driverName);
    if (!driver)
        return false;
    const gis::detail::Dataset dataset(
        driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset)
        return false;
    OGRSpatialReference srs;
    if (epsg && srs.importFromEPSG(epsg) != OGRERR_NONE)
        return false;
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRLayer *layer = dataset->CreateLayer("tekening", epsg ? &srs : nullptr, wkbLineString, nullptr);
    if (!layer)
        return false;
    const std::vector<std::vector<std::pair<double, double>>> lines = {
        {{155000, 463000}, {155100, 463050}},
        {{155020, 463020}, {155040, 463020}, {155040, 463040}, {155020, 463040}, {155020, 463020}}};
    for (const auto &points : lines) {
        OGRFeature feature(layer->GetLayerDefn());
        OGRLineString line;
        for (const auto &[x, y] : points)
            line.addPoint(x, y);
        feature.SetGeometry(&line);
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestUnderlay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

    QString path(const QString &name) const { return m_folder.filePath(name); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
        QVERIFY(markedPicture().save(path(QStringLiteral("terrein.png"))));
        // The same picture on a PDF page of 400 × 300 points.
        QPdfWriter writer(path(QStringLiteral("terrein.pdf")));
        writer.setPageSize(QPageSize(QSizeF(400, 300), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        QPainter painter(&writer);
        painter.drawImage(QRectF(0, 0, 400, 300), markedPicture());
    }

    void twoPointsLandOnTheCoordinatesTyped_data()
    {
        QTest::addColumn<QPointF>("first");
        QTest::addColumn<QPointF>("second");
        QTest::addColumn<QPointF>("firstSite");
        QTest::addColumn<QPointF>("secondSite");
        QTest::newRow("turned and scaled")
            << QPointF(10, 10) << QPointF(410, 310) << QPointF(5, -3) << QPointF(-20, 60);
        QTest::newRow("RD New") << QPointF(12.5, 40.25) << QPointF(3000.75, 2100.5)
                                << QPointF(155000.12, 463000.5) << QPointF(155210, 463150);
        QTest::newRow("right to left, upside down")
            << QPointF(900, 50) << QPointF(100, 650) << QPointF(0, 0) << QPointF(50, 40);
    }
    void twoPointsLandOnTheCoordinatesTyped()
    {
        QFETCH(QPointF, first);
        QFETCH(QPointF, second);
        QFETCH(QPointF, firstSite);
        QFETCH(QPointF, secondSite);
        UnderlayPlacement placement;
        QString reason;
        QVERIFY(PlaceByCoordinates(first, second, {firstSite.x(), firstSite.y()},
                                   {secondSite.x(), secondSite.y()}, placement, reason));
        // Far within one pixel of the drawing, which is `scale` metres wide.
        const double pixel = placement.scale;
        for (const auto &[drawn, typed] : {std::pair(first, firstSite), std::pair(second, secondSite)}) {
            const engine::SitePoint landed = placement.siteOf(drawn);
            QVERIFY(std::abs(landed.x - typed.x()) < 1e-6 * pixel);
            QVERIFY(std::abs(landed.y - typed.y()) < 1e-6 * pixel);
            QVERIFY(distance(placement.drawingOf({typed.x(), typed.y()}), drawn) < 1e-6);
            QVERIFY(distance(placement.toSite().map(drawn), typed) < 1e-6 * pixel);
        }
    }

    void aDistanceGivesTheScaleAndKeepsTheFirstPoint()
    {
        UnderlayPlacement current;
        current.origin = {100, 200};
        current.scale = 0.5;
        current.rotation = 30;
        UnderlayPlacement placed;
        QString reason;
        QVERIFY(PlaceByDistance(QPointF(10, 20), QPointF(310, 420), 25, current, placed, reason));
        const engine::SitePoint a = placed.siteOf(QPointF(10, 20));
        const engine::SitePoint b = placed.siteOf(QPointF(310, 420));
        QVERIFY(std::abs(std::hypot(b.x - a.x, b.y - a.y) - 25) < 1e-9);
        const engine::SitePoint before = current.siteOf(QPointF(10, 20));
        QVERIFY(std::abs(a.x - before.x) < 1e-9);
        QVERIFY(std::abs(a.y - before.y) < 1e-9);
        QCOMPARE(placed.rotation, 30.0);
    }

    void placementsThatCannotBeAreRefused_data()
    {
        QTest::addColumn<QPointF>("second");
        QTest::addColumn<QPointF>("secondSite");
        QTest::addColumn<QString>("says");
        QTest::newRow("same drawing point")
            << QPointF(10, 10) << QPointF(5, 5) << QStringLiteral("tekening vallen");
        QTest::newRow("same site point")
            << QPointF(20, 10) << QPointF(0, 0) << QStringLiteral("situatie vallen");
        QTest::newRow("a kilometre per pixel")
            << QPointF(10.000001, 10) << QPointF(5, 5) << QStringLiteral("buiten het bereik");
    }
    void placementsThatCannotBeAreRefused()
    {
        QFETCH(QPointF, second);
        QFETCH(QPointF, secondSite);
        QFETCH(QString, says);
        UnderlayPlacement placement;
        QString reason;
        QVERIFY(!PlaceByCoordinates(QPointF(10, 10), second, {0, 0}, {secondSite.x(), secondSite.y()},
                                    placement, reason));
        QVERIFY2(reason.contains(says), qPrintable(reason));
    }

    // The marks of the picture, placed by the two points with the mouse and the
    // coordinates typed, are drawn where those coordinates lie, within one pixel.
    void aPlacedPictureIsDrawnWhereItsPointsWereTyped_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("PNG") << QStringLiteral("terrein.png");
        QTest::newRow("PDF page") << QStringLiteral("terrein.pdf");
    }
    void aPlacedPictureIsDrawnWhereItsPointsWereTyped()
    {
        QFETCH(QString, file);
        SituatieTab tab;
        tab.resize(1000, 700);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        tab.model()->reset(yardState());
        QVERIFY(tab.openUnderlay(path(file)).isEmpty());
        const engine::SitePoint red {20, 10};
        const engine::SitePoint blue {60, 50};
        tab.setPlacementAsker([&](PlacementAnswer &answer) {
            answer.byDistance = false;
            answer.first = red;
            answer.second = blue;
            return true;
        });
        // The picture's pixels are larger than the screen's: a click hits the mark's pixel.
        SituatieView *view = tab.view();
        const Underlay &before = tab.model()->committed().underlay;
        view->fitTo(UnderlayBounds(before, *view->underlayContent()));
        QVERIFY(view->viewport().scale * before.placement.scale > 1);
        view->setTool(SituatieTool::PlaceUnderlay);
        for (const QPointF &mark : {kRedMark, kBlueMark}) {
            const QPointF at = view->viewport().toDevice(before.placement.siteOf(mark));
            QTest::mouseClick(view, Qt::LeftButton, {}, at.toPoint());
        }
        const SituatieState placed = tab.model()->committed();
        QCOMPARE(tab.model()->undoStack()->undoText(), QStringLiteral("Onderlegger plaatsen"));
        QCOMPARE(placed.underlay.opacity, 0.6);

        SituatieState shown = placed;
        shown.hasSite = false; // the underlay alone
        shown.underlay.opacity = 1;
        SituatieScene scene;
        scene.state = &shown;
        scene.underlay = view->underlayContent().get();
        QImage image(800, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        const auto viewport =
            SituatieViewport::fit(QRectF(0, 0, 800, 600), QRectF(QPointF(0, 0), QPointF(80, 60)));
        {
            QPainter painter(&image);
            PaintUnderlay(painter, viewport.transform(), shown.underlay, *scene.underlay, Qt::black);
        }
        const QPointF redDrawn = centreOf(image, 0);
        const QPointF blueDrawn = centreOf(image, 2);
        QVERIFY2(distance(redDrawn, viewport.toDevice(red)) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(redDrawn.x()).arg(redDrawn.y())));
        QVERIFY2(distance(blueDrawn, viewport.toDevice(blue)) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(blueDrawn.x()).arg(blueDrawn.y())));
    }

    void aDrawingLandsAtItsOwnCoordinates_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<int>("epsg");
        QTest::newRow("DXF") << QStringLiteral("tekening.dxf") << QStringLiteral("DXF") << 0;
        // GeoJSON that names no system is read as longitude and latitude; its numbers say otherwise.
        QTest::newRow("GeoJSON naming no system")
            << QStringLiteral("zonder.geojson") << QStringLiteral("GeoJSON") << 0;
        QTest::newRow("GeoPackage") << QStringLiteral("tekening.gpkg") << QStringLiteral("GPKG") << 28992;
        QTest::newRow("Shapefile") << QStringLiteral("tekening.shp") << QStringLiteral("ESRI Shapefile")
                                   << 28992;
    }
    void aDrawingLandsAtItsOwnCoordinates()
    {
        QFETCH(QString, file);
        QFETCH(QString, driver);
        QFETCH(int, epsg);
        QVERIFY(writeDrawing(path(file), driver.toUtf8().constData(), epsg));
        UnderlayKind kind;
        QVERIFY(UnderlayKindOf(path(file), kind));
        QCOMPARE(kind, UnderlayKind::Vector);
        UnderlayContent content;
        QString reason;
        QVERIFY2(LoadUnderlay(path(file), kind, 0, content, reason), qPrintable(reason));
        const gis::Drawing &drawing = content.drawing;
        QCOMPARE(drawing.lines.size(), std::size_t(2));
        QVERIFY(!drawing.reprojected);
        QCOMPARE(drawing.lines[0].points[1].x, 155100.0);
        QCOMPARE(drawing.lines[0].points[1].y, 463050.0);
        QVERIFY(drawing.lines[1].closed);
        QCOMPARE(drawing.west, 155000.0);
        QCOMPARE(drawing.north, 463050.0);

        // Drawn: the line's middle is dark where its coordinates lie.
        Underlay underlay;
        underlay.present = true;
        underlay.kind = UnderlayKind::Vector;
        underlay.opacity = 1;
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        const auto viewport =
            SituatieViewport::fit(QRectF(0, 0, 600, 400), UnderlayBounds(underlay, content));
        {
            QPainter painter(&image);
            PaintUnderlay(painter, viewport.transform(), underlay, content, Qt::black);
        }
        const QPoint middle = viewport.toDevice({155050, 463025}).toPoint();
        QVERIFY(qGray(image.pixel(middle)) < 128);
        QVERIFY(qGray(image.pixel(middle + QPoint(0, 8))) > 200);
    }

    // GeoJSON in longitude and latitude is brought to RD New: Amersfoort's tower, the
    // system's origin, lands on its RD coordinates to within a metre.
    void longitudeAndLatitudeLandInRdNew()
    {
        writeText(path(QStringLiteral("wgs84.geojson")),
                  R"({"type": "FeatureCollection", "features": [{"type": "Feature", "properties": {},
                      "geometry": {"type": "LineString",
                                   "coordinates": [[5.38720621, 52.15517440], [5.40, 52.16]]}}]})");
        UnderlayContent content;
        QString reason;
        QVERIFY2(
            LoadUnderlay(path(QStringLiteral("wgs84.geojson")), UnderlayKind::Vector, 0, content, reason),
            qPrintable(reason));
        QVERIFY(content.drawing.reprojected);
        const engine::SitePoint tower = content.drawing.lines[0].points[0];
        QVERIFY2(std::abs(tower.x - 155000) < 1 && std::abs(tower.y - 463000) < 1,
                 qPrintable(QStringLiteral("%1 %2").arg(tower.x).arg(tower.y)));
    }

    void unreadableDrawingsAreRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("not a picture")
            << QStringLiteral("kapot.png") << QByteArray("geen png") << QStringLiteral("kapot.png");
        QTest::newRow("not a PDF") << QStringLiteral("kapot.pdf") << QByteArray("%PDF-kapot")
                                   << QStringLiteral("geen PDF");
        QTest::newRow("no lines") << QStringLiteral("leeg.geojson")
                                  << QByteArray(R"({"type": "FeatureCollection", "features": []})")
                                  << QStringLiteral("geen lijnen");
    }
    void unreadableDrawingsAreRefused()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        writeText(path(file), bytes);
        SituatieTab tab;
        tab.model()->reset(yardState());
        const QString error = tab.openUnderlay(path(file));
        QVERIFY2(error.contains(says), qPrintable(error));
        QVERIFY(!tab.model()->committed().underlay.present);
    }

    void aLineOfTheDrawingBecomesABoundary()
    {
        QVERIFY(writeDrawing(path(QStringLiteral("grens.dxf")), "DXF", 0));
        SituatieTab tab;
        tab.resize(900, 600);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        SituatieState state;
        state.hasSite = true;
        state.site.storages.push_back(designStorage("A", {155060, 463000}, 0));
        tab.model()->reset(state);
        QVERIFY(tab.openUnderlay(path(QStringLiteral("grens.dxf"))).isEmpty());
        tab.view()->setTool(SituatieTool::PickBoundary);
        // On the square's west side.
        QTest::mouseClick(tab.view(), Qt::LeftButton, {},
                          tab.view()->viewport().toDevice({155020, 463030}).toPoint());
        const engine::Site &site = tab.model()->committed().site;
        QCOMPARE(site.boundary.size(), std::size_t(1));
        QCOMPARE(site.boundary[0].size(), std::size_t(5));
        QCOMPARE(site.boundary[0][2].x, 155040.0);
        QCOMPARE(site.boundary[0][2].y, 463040.0);
    }

    void theCaseKeepsTheUnderlayBesideIt()
    {
        const QString folder = m_folder.filePath(QStringLiteral("zaak"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/tekeningen")));
        QVERIFY(QFile::copy(path(QStringLiteral("terrein.png")),
                            folder + QStringLiteral("/tekeningen/terrein.png")));
        SituatieState state = yardState();
        state.underlay.present = true;
        state.underlay.path = folder + QStringLiteral("/tekeningen/terrein.png");
        state.underlay.sha256 = FileSha256(state.underlay.path);
        state.underlay.opacity = 0.35;
        state.underlay.placement = {{155000.5, 463010}, 0.125, -12.5};

        casefile::Case value;
        SituatieIntoCase(state, folder, value);
        const std::string text = casefile::WriteCase(value);
        QVERIFY2(text.find("\"file\": \"tekeningen/terrein.png\"") != std::string::npos, text.c_str());
        const casefile::ReadResult read = casefile::ReadCase(text);
        QVERIFY2(read.ok, read.error.c_str());
        SituatieState back;
        QString error;
        QVERIFY(SituatieFromCase(read.value, folder, back, error));
        QVERIFY(back == state);
        QString message;
        QCOMPARE(CheckUnderlayFile(back.underlay, message), UnderlayFileState::Found);

        // The case moved with its folder finds the drawing beside it again.
        const QString moved = m_folder.filePath(QStringLiteral("verhuisd"));
        QVERIFY(QDir().rename(folder, moved));
        QVERIFY(SituatieFromCase(read.value, moved, back, error));
        QCOMPARE(CheckUnderlayFile(back.underlay, message), UnderlayFileState::Found);
    }

    // The window's document writes the underlay relative to the case and reads it back
    // where it lies; undo takes an opened underlay away again.
    void theDocumentKeepsTheUnderlayRelative()
    {
        const QString folder = m_folder.filePath(QStringLiteral("document"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/tekeningen")));
        const QString drawing = folder + QStringLiteral("/tekeningen/erf.png");
        QVERIFY(QFile::copy(path(QStringLiteral("terrein.png")), drawing));
        CaseDocument document;
        SituatieTab tab;
        tab.useDocument(&document);
        tab.startAction()->trigger();
        QVERIFY(document.hasSite());
        QVERIFY(tab.openUnderlay(drawing).isEmpty());
        const QString file = folder + QStringLiteral("/zaak.warmtegloed");
        QString error;
        QVERIFY2(document.save(file, &error), qPrintable(error));
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray text = saved.readAll();
        QVERIFY(text.contains("\"file\": \"tekeningen/erf.png\""));
        QVERIFY(!text.contains(folder.toUtf8()));

        CaseDocument reopened;
        SituatieTab second;
        second.useDocument(&reopened);
        QVERIFY2(reopened.open(file, &error), qPrintable(error));
        QVERIFY(second.model()->committed() == tab.model()->committed());
        QVERIFY(second.view()->underlayContent());

        document.undoStack()->undo();
        QVERIFY(!tab.model()->committed().underlay.present);
        QVERIFY(!tab.view()->underlayContent());
    }

    // Beside the map: a drawing that is gone is not drawn, one that changed is drawn and
    // both are told; the case keeps the underlay either way.
    void aGoneOrChangedDrawingIsToldBesideTheMap_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("says");
        QTest::newRow("gone") << true << QStringLiteral("niet gevonden");
        QTest::newRow("changed") << false << QStringLiteral("veranderd");
    }
    void aGoneOrChangedDrawingIsToldBesideTheMap()
    {
        QFETCH(bool, gone);
        QFETCH(QString, says);
        SituatieState state = yardState();
        state.underlay.present = true;
        state.underlay.path = gone ? path(QStringLiteral("weg.png")) : path(QStringLiteral("terrein.png"));
        state.underlay.sha256 = QString(64, QLatin1Char('0'));
        SituatieTab tab;
        tab.model()->reset(state);
        QVERIFY2(tab.panel()->underlayStatus().contains(says), qPrintable(tab.panel()->underlayStatus()));
        QCOMPARE(bool(tab.view()->underlayContent()), !gone);
        QVERIFY(tab.model()->committed().underlay == state.underlay);
    }

    void aMalformedUnderlayIsNamedBesideTheMapAndKept()
    {
        const casefile::ReadResult read = casefile::ReadCase(
            R"({"format": "warmtegloed-case", "version": 1,
                "calculation": {"B": 10, "D": 10, "H": 8, "x": 5, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5]},
                "site": {"storages": [{"corner": [0, 0], "width": 10, "depth": 10, "height": 8}],
                         "underlay": {"file": "erf.png", "type": "raster", "opacity": 7}}})");
        QVERIFY2(read.ok, read.error.c_str());
        CaseDocument document;
        document.load(read.value, path(QStringLiteral("zaak.warmtegloed")));
        SituatieTab tab;
        tab.useDocument(&document);
        QVERIFY(!tab.model()->committed().underlay.present);
        QVERIFY2(tab.panel()->underlayStatus().contains(QStringLiteral("site.underlay.opacity")),
                 qPrintable(tab.panel()->underlayStatus()));
        QVERIFY(document.textFor(path(QStringLiteral("zaak.warmtegloed"))).find("\"opacity\": 7")
                != std::string::npos);
    }

    void aMalformedUnderlayNamesItsKey_data()
    {
        QTest::addColumn<QByteArray>("underlay");
        QTest::addColumn<QString>("says");
        QTest::newRow("no file") << QByteArray(R"({"type": "raster"})")
                                 << QStringLiteral("site.underlay.file");
        QTest::newRow("unknown type")
            << QByteArray(R"({"file": "a.png", "type": "foto"})") << QStringLiteral("site.underlay.type");
        QTest::newRow("checksum") << QByteArray(R"({"file": "a.png", "type": "raster", "sha256": "abc"})")
                                  << QStringLiteral("site.underlay.sha256");
        QTest::newRow("scale") << QByteArray(R"({"file": "a.png", "type": "raster",
                                               "placement": {"origin": [0, 0], "scale": 0, "rotation": 0}})")
                               << QStringLiteral("site.underlay.placement");
        QTest::newRow("page") << QByteArray(R"({"file": "a.pdf", "type": "pdf", "page": 1.5})")
                              << QStringLiteral("site.underlay.page");
    }
    void aMalformedUnderlayNamesItsKey()
    {
        QFETCH(QByteArray, underlay);
        QFETCH(QString, says);
        const auto site = nlohmann::ordered_json::parse("{\"underlay\": " + underlay.toStdString() + "}");
        Underlay read;
        QString error;
        QVERIFY(!ReadUnderlay(site, m_folder.path(), read, error));
        QVERIFY2(error.startsWith(says + QLatin1Char(':')), qPrintable(error));
    }
};

QTEST_MAIN(TestUnderlay)
#include "tst_underlay.moc"
