// The Situatie's files read back: the picture as PNG, SVG (QSvgRenderer) and PDF (pdfinfo,
// pdftotext) with its underlay; the contour lines as GeoJSON and DXF read by OGR in site
// coordinates; the Verkenningsrapport with the site's pages.

#include "contour_export.h"
#include "exploration_report.h"
#include "explored.h"
#include "gdal_support.h"
#include "program_output.h"
#include "situatie_fixture.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <ogrsf_frmts.h>

#include <set>

using namespace explore;
using namespace situatie_test;

namespace {

int pages(const QString &pdf)
{
    const QString info = ProgramOutput(QStringLiteral(PDFINFO_EXE), {pdf});
    for (const QString &line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

// The words of a PDF on one line each, so that a phrase broken over two lines of the page
// is still found.
QString textOf(const QString &pdf)
{
    return ProgramOutput(QStringLiteral(PDFTOTEXT_EXE), {pdf, QStringLiteral("-")}).simplified();
}

} // namespace

class TestSituatieExports : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    std::unique_ptr<SituatieTab> m_tab;

    QString path(const QString &name) const { return m_folder.filePath(name); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
        QImage drawing(300, 200, QImage::Format_RGB32);
        drawing.fill(QColor(230, 220, 200));
        QPainter(&drawing).fillRect(QRect(100, 50, 60, 40), QColor(120, 60, 20));
        QVERIFY(drawing.save(path(QStringLiteral("terrein.png"))));
        m_tab = std::make_unique<SituatieTab>();
        m_tab->resize(1000, 700);
        m_tab->model()->reset(yardState());
        QVERIFY(m_tab->openUnderlay(path(QStringLiteral("terrein.png"))).isEmpty());
        QVERIFY(m_tab->placeUnderlay(QPointF(0, 200), QPointF(300, 200), {false, 0, {-20, -20}, {130, -20}})
                    .isEmpty());
        QVERIFY(m_tab->waitUntilComputed(120000));
    }

    void thePictureParses_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("PNG") << QStringLiteral("situatie.png");
        QTest::newRow("SVG") << QStringLiteral("situatie.svg");
        QTest::newRow("PDF") << QStringLiteral("situatie.pdf");
    }
    void thePictureParses()
    {
        QFETCH(QString, file);
        const QString written = path(file);
        QCOMPARE(m_tab->exportPicture(written), QString());
        if (file.endsWith(QStringLiteral(".png"))) {
            const QImage image(written);
            QCOMPARE(image.size(), QSize(1600, 1130));
            // The underlay shows: without it many pixels are another colour.
            SituatieSnapshot bare = m_tab->snapshot();
            bare.state.underlay = Underlay();
            const QImage without =
                QImage::fromData(RenderSituatie(bare, SituatieFormat::Png, image.size(), QLocale()));
            int differ = 0;
            for (int j = 0; j < image.height(); j += 2) {
                for (int i = 0; i < image.width(); i += 2)
                    differ += image.pixel(i, j) != without.pixel(i, j);
            }
            QVERIFY2(differ > 10000, qPrintable(QString::number(differ)));
        } else if (file.endsWith(QStringLiteral(".svg"))) {
            QSvgRenderer renderer(written);
            QVERIFY(renderer.isValid());
            QFile svg(written);
            QVERIFY(svg.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(svg.readAll());
            QVERIFY(text.contains(QStringLiteral("L = 15 kW/m²")));
            QVERIFY(text.contains(QStringLiteral("Woning 12: ")));
            QVERIFY(text.contains(QStringLiteral("<image")));
        } else {
            QCOMPARE(pages(written), 1);
            const QString text = textOf(written);
            QVERIFY2(text.contains(QStringLiteral("Situatie: hoogste niveau over de beoordelingspunten")),
                     qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Hoogste op de grens")));
        }
    }

    void theContoursReadBackInSiteCoordinates_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("GeoJSON") << QStringLiteral("contouren.geojson");
        QTest::newRow("DXF") << QStringLiteral("contouren.dxf");
    }
    void theContoursReadBackInSiteCoordinates()
    {
        QFETCH(QString, file);
        QCOMPARE(m_tab->exportContours(path(file)), QString());
        gis::detail::RegisterGdalDrivers();
        const gis::detail::Dataset dataset(
            GDALDataset::Open(path(file).toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
        QVERIFY(dataset);
        OGRLayer *layer = dataset->GetLayer(0);
        const SituatieMap &map = m_tab->snapshot().result->map;
        std::size_t expected = 0;
        std::set<std::string> levels;
        for (const SituatieContour &contour : map.contours) {
            expected += contour.lines.size();
            if (!contour.lines.empty())
                levels.insert(file.endsWith(QStringLiteral(".dxf")) ? gis::DxfLayerName(contour.levelKw)
                                                                    : std::to_string(int(contour.levelKw)));
        }
        QCOMPARE(std::size_t(layer->GetFeatureCount()), expected);
        QVERIFY(levels.count(file.endsWith(QStringLiteral(".dxf")) ? "niveau_15_kW_m2" : "15"));
        std::set<std::string> found;
        OGREnvelope extent;
        QCOMPARE(layer->GetExtent(&extent), OGRERR_NONE);
        for (const auto &feature : *layer) {
            found.insert(file.endsWith(QStringLiteral(".dxf"))
                             ? std::string(feature->GetFieldAsString("Layer"))
                             : std::to_string(int(feature->GetFieldAsDouble("level_kW_m2"))));
        }
        QVERIFY(found == levels);
        const engine::ScalarGrid &grid = map.levels;
        QVERIFY(extent.MinX >= grid.x0 && extent.MaxX <= grid.x0 + (grid.nx - 1) * grid.dx);
        QVERIFY(extent.MinY >= grid.y0 && extent.MaxY <= grid.y0 + (grid.ny - 1) * grid.dy);
        // The limit's line surrounds storage A, whose corner lies at (20, 20).
        QVERIFY(extent.MinX < 20 && extent.MinY < 20);
    }

    void theReportGainsTheSite()
    {
        const Exploration exploration = Explored(ExplorationInput(), 30);
        const QDateTime when(QDate(2024, 5, 1), QTime(10, 0));
        const SituatieSnapshot site = m_tab->snapshot();
        QFile without(path(QStringLiteral("zonder.pdf")));
        QVERIFY(without.open(QIODevice::WriteOnly));
        without.write(RenderReport(exploration, {}, when, QLocale()));
        without.close();
        QFile with(path(QStringLiteral("met.pdf")));
        QVERIFY(with.open(QIODevice::WriteOnly));
        with.write(RenderReport(exploration, {}, when, QLocale(), &site));
        with.close();
        QVERIFY(pages(with.fileName()) >= pages(without.fileName()) + 2);
        const QString text = textOf(with.fileName());
        for (const QString &expected :
             {QStringLiteral("Figuur 4: Situatie"), QStringLiteral("Hoogste niveau op de perceelgrens"),
              QStringLiteral("Woning 12"), QStringLiteral("Afstand per zijde tot de perceelgrens"),
              QStringLiteral("Onderlegger: terrein.png"), QStringLiteral("De situatie voldoet")})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        QVERIFY(!textOf(without.fileName()).contains(QStringLiteral("Situatie")));
    }

    void nothingIsWrittenBeforeTheAnswersAreFinal()
    {
        SituatieTab busy;
        busy.model()->reset(yardState());
        QCOMPARE(busy.exportPicture(path(QStringLiteral("te-vroeg.png"))),
                 QStringLiteral("De situatie wordt nog berekend; probeer het zo opnieuw."));
        QCOMPARE(busy.exportContours(path(QStringLiteral("te-vroeg.dxf"))),
                 QStringLiteral("De situatie wordt nog berekend; probeer het zo opnieuw."));
        QVERIFY(!QFile::exists(path(QStringLiteral("te-vroeg.png"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("te-vroeg.dxf"))));
    }

    void anUnknownFileKindIsRefused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("contours");
        QTest::newRow("picture as text") << QStringLiteral("situatie.txt") << false;
        QTest::newRow("contours as shapefile") << QStringLiteral("contouren.shp") << true;
    }
    void anUnknownFileKindIsRefused()
    {
        QFETCH(QString, file);
        QFETCH(bool, contours);
        const QString error = contours ? m_tab->exportContours(path(file)) : m_tab->exportPicture(path(file));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path(file)));
    }
};

QTEST_MAIN(TestSituatieExports)
#include "tst_situatie_exports.moc"
