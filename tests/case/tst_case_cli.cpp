// warmtegloed-cli with case files: --case without a site gives byte for byte what the same
// command line gives, a malformed file is refused with one line and exit 2, the site's
// answers are the engine's, --grid runs over site coordinates, --save-case writes a case
// that reads back, --contours writes its files or refuses.

#include "case_file.h"
#include "cli_process.h"
#include "number_text.h"
#include "site.h"
#include "site_check.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray caseWith(const QByteArray &calculation, const QByteArray &site = QByteArray())
{
    QByteArray text = R"({"format": "warmtegloed-case", "version": 1, "calculation": )" + calculation;
    if (!site.isEmpty())
        text += R"(, "site": )" + site;
    return text + "}";
}

const char *const kDefaults =
    R"({"B": 10, "D": 10, "H": 8, "x": 5, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5]})";

// One 40 m pile 9 m from the boundary, a shed beyond it and a second pile behind.
const char *const kSite = R"({
    "storages": [
        {"name": "Stapel", "corner": [0, 0], "width": 40, "depth": 15, "height": 8},
        {"name": "Achter", "corner": [10, 30], "rotation": 30, "width": 12, "depth": 6, "height": 4,
         "screens": [{"face": 3, "hs": 3, "xs": 2}]}
    ],
    "boundary": [[[-30, -9], [70, -9]], [[60, -9], [60, 40]]],
    "receivers": [{"name": "Schuur buurman", "at": [25, -14]}, {"at": [80, 20]}]
})";

QString shown(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

} // namespace

class TestCaseCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }
    void sameAsCommandLine_data();
    void sameAsCommandLine();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void siteAnswersAreTheEngines();
    void gridOverSiteCoordinates();
    void saveCaseReadsBack();
    void contoursFiles();

private:
    QString path(const QString &name) const { return m_folder.filePath(name); }
    engine::Site siteOf(const QByteArray &text) const
    {
        return casefile::ReadCase(std::string(text.constData(), std::size_t(text.size()))).value.site;
    }

    QTemporaryDir m_folder;
};

void TestCaseCli::sameAsCommandLine_data()
{
    QTest::addColumn<QByteArray>("calculation");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QStringList>("same");

    QTest::newRow("building, every value") << QByteArray(
        R"({"B": 12.5, "D": 7, "H": 6, "x": 9.25, "y": 3, "heights": [1, 2, 3, 4, 5], "indoor": true})")
                                           << QStringList()
                                           << QStringList {"--B",       "12.5",      "--D",     "7",   "--H",
                                                           "6",         "--x",       "9.25",    "--y", "3",
                                                           "--heights", "1,2,3,4,5", "--indoor"};
    QTest::newRow("screen and compact, JSON")
        << QByteArray(R"({"B": 30, "D": 20, "H": 5, "x": 6, "y": 0, "heights": [0.5, 1, 2, 4, 8],
                          "compact": true, "screen": true, "hs": 3, "xs": 2, "K": 0.6})")
        << QStringList {"--json"}
        << QStringList {"--B",  "30",  "--D",  "20",        "--H",         "5",         "--x",
                        "6",    "--y", "0",    "--heights", "0.5,1,2,4,8", "--compact", "--screen",
                        "--hs", "3",   "--xs", "2",         "--K",         "0.6",       "--json"};
    QTest::newRow("options go first")
        << QByteArray(R"({"B": 20, "D": 10, "H": 8, "x": 5, "y": 5,
                                                        "heights": [2.5, 5, 7.5, 10, 12.5]})")
        << QStringList {"--B", "30", "--x", "7"} << QStringList {"--B", "30", "--x", "7"};
    QTest::newRow("the file's limit for --check")
        << QByteArray(R"({"B": 10, "D": 10, "H": 8, "x": 15, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5],
                          "limit": 12, "envelope": true})")
        << QStringList {"--check"} << QStringList {"--x", "15", "--check", "--limit", "12", "--envelope"};
    QTest::newRow("a limit on the command line first")
        << QByteArray(R"({"B": 10, "D": 10, "H": 8, "x": 5, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5],
                          "limit": 12})")
        << QStringList {"--limit", "40"} << QStringList {"--limit", "40"};
}

void TestCaseCli::sameAsCommandLine()
{
    QFETCH(QByteArray, calculation);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, same);

    const QString file = path("zaak.warmtegloed");
    QVERIFY(writeFile(file, caseWith(calculation)));
    const CliRun fromCase = runCli(QStringList {"--case", file} + extra);
    const CliRun fromOptions = runCli(same);
    QCOMPARE(fromCase.exit, fromOptions.exit);
    QCOMPARE(fromCase.out, fromOptions.out);
    QCOMPARE(fromCase.err, fromOptions.err);
    QVERIFY(!fromCase.out.isEmpty() || !fromCase.err.isEmpty());
}

void TestCaseCli::refusesMalformedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong type") << caseWith(R"({"B": "tien", "D": 10, "H": 8, "x": 5, "y": 5,
                                                "heights": [2.5, 5, 7.5, 10, 12.5]})")
                                << "calculation.B: moet een getal zijn";
    QTest::newRow("5 MB") << QByteArray(5 * 1024 * 1024, '\n')
                          << "het bestand is groter dan 2 MB; een zaakbestand is veel kleiner";
}

void TestCaseCli::refusesMalformedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    const QString file = path("fout.warmtegloed");
    QVERIFY(writeFile(file, bytes));
    const CliRun result = runCli({"--case", file, "--json"});
    QCOMPARE(result.exit, 2);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(result.err, QStringLiteral("warmtegloed-cli: %1: %2\n").arg(file, message));
}

void TestCaseCli::siteAnswersAreTheEngines()
{
    const QByteArray text = caseWith(kDefaults, kSite);
    const QString file = path("situatie.warmtegloed");
    QVERIFY(writeFile(file, text));
    const engine::Site site = siteOf(text);
    const engine::SiteCheck check = engine::CheckSite(site);
    QVERIFY(check.ok());

    const CliRun json = runCli({"--case", file, "--json"});
    QCOMPARE(json.exit, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QVERIFY(object.contains("levels")); // the calculation's keys stay
    const QJsonObject answer = object.value("site").toObject();
    QCOMPARE(answer.value("limit").toDouble(), 15.0);
    QCOMPARE(answer.value("complies").toBool(), check.complies);
    const QJsonObject boundary = answer.value("boundary").toObject();
    QCOMPARE(boundary.value("highest").toDouble(), check.boundary.level);
    QCOMPARE(boundary.value("at").toArray().at(0).toDouble(), check.boundary.at.x);
    QCOMPARE(boundary.value("storage").toString(), QString("Stapel"));
    QCOMPARE(boundary.value("face").toInt(), check.boundary.face);
    QCOMPARE(boundary.value("height").toDouble(), check.boundary.height);
    const QJsonArray receivers = answer.value("receivers").toArray();
    QCOMPARE(receivers.size(), 2);
    QCOMPARE(receivers.at(1).toObject().value("highest").toDouble(), check.receivers[1].highest.level);
    const QJsonArray faces = answer.value("faces").toArray();
    QCOMPARE(faces.size(), 8);
    for (int i = 0; i < faces.size(); ++i) {
        const QJsonObject face = faces.at(i).toObject();
        const engine::FaceDistance &expected = check.faces[std::size_t(i)];
        QCOMPARE(face.value("required").toDouble(), expected.required);
        QCOMPARE(face.value("available").isNull(), !expected.facesBoundary);
        if (expected.facesBoundary) {
            QCOMPARE(face.value("available").toDouble(), expected.available);
            QCOMPARE(face.value("complies").toBool(), expected.complies);
        }
    }

    const CliRun plain = runCli({"--case", file});
    QCOMPARE(plain.exit, 0);
    const QStringList lines = plain.out.split('\n');
    const QString expectedBoundary =
        QStringLiteral(
            "Perceelgrens: hoogste %1 kW/m² bij (%2, %3), van Stapel zijde 1 op %4 m hoogte: voldoet niet")
            .arg(shown(check.boundary.level / 1000), shown(check.boundary.at.x), shown(check.boundary.at.y),
                 shown(check.boundary.height));
    QVERIFY2(lines.contains(expectedBoundary), qPrintable(plain.out));
    QVERIFY(lines.contains(QStringLiteral("Stapel, zijde 1: nodig %1 m, aanwezig 9 m: voldoet niet")
                               .arg(shown(check.faces[0].required))));
    QVERIFY(lines.contains(QStringLiteral("Stapel, zijde 3: nodig %1 m; geen perceelgrens ervoor")
                               .arg(shown(check.faces[2].required))));
    QCOMPARE(lines.at(lines.size() - 2), QString("Situatie: voldoet niet"));
}

void TestCaseCli::gridOverSiteCoordinates()
{
    const QByteArray text = caseWith(kDefaults, kSite);
    const QString file = path("raster.warmtegloed");
    QVERIFY(writeFile(file, text));
    const engine::Site site = siteOf(text);
    const CliRun result = runCli({"--case", file, "--grid", "x=-5:45:10,y=-10:40:10"});
    QCOMPARE(result.exit, 0);
    QStringList rows = result.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.takeFirst(), QString("x (m),y (m),niveau (kW/m²)"));
    QCOMPARE(rows.size(), 6 * 6);
    int inside = 0;
    for (const QString &row : rows) {
        const QStringList fields = row.split(',');
        QCOMPARE(fields.size(), 3);
        const engine::SiteLevel level =
            engine::SiteLevelAt(site, {fields[0].toDouble(), fields[1].toDouble()});
        if (level.inside) {
            QVERIFY(fields[2].isEmpty());
            ++inside;
        } else {
            QCOMPARE(fields[2].toDouble(), level.level / 1000);
        }
    }
    QVERIFY(inside >= 4);
    // The first rows run along y at the first x, as the storage's grid does.
    QVERIFY(rows[1].startsWith("-5,0,"));

    // Exact levels of every face in front at every height take time: the grid is bounded.
    const CliRun large = runCli({"--case", file, "--grid", "x=0:600:1,y=0:600:1"});
    QCOMPARE(large.exit, 2);
    QVERIFY(large.err.startsWith(
        "warmtegloed-cli: --grid over een situatie geeft 361201 punten; ten hoogste 250000"));
    const CliRun envelope = runCli({"--case", file, "--envelope", "--grid", "x=0:200:1,y=0:200:1"});
    QCOMPARE(envelope.exit, 2);
    QVERIFY(envelope.err.contains("ten hoogste 10000 met de omhullende"));
}

void TestCaseCli::saveCaseReadsBack()
{
    const QString saved = path("opgeslagen.warmtegloed");
    const QStringList options {"--B", "12", "--H", "6.5", "--indoor", "--heights", "1,2,3,4,5"};
    const CliRun save = runCli(options + QStringList {"--limit", "11", "--save-case", saved});
    QCOMPARE(save.exit, 0);
    QCOMPARE(runCli({"--case", saved}).out, runCli(options).out);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const casefile::ReadResult read =
        casefile::ReadCase(std::string(bytes.constData(), std::size_t(bytes.size())));
    QVERIFY2(read.ok, read.error.c_str());
    QCOMPARE(read.value.calculation.limit, 11.0);

    // Over a case read: its site and unknown keys stay, the command line's values win.
    const QString original = path("met-extra.warmtegloed");
    const QByteArray text =
        caseWith(kDefaults, kSite).replace(R"("version": 1,)", R"("version": 1, "dossier": "Z-17",)");
    QVERIFY(writeFile(original, text));
    const QString copy = path("kopie.warmtegloed");
    QCOMPARE(runCli({"--case", original, "--x", "8", "--save-case", copy}).exit, 0);
    QFile written(copy);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QJsonObject object = QJsonDocument::fromJson(written.readAll()).object();
    QCOMPARE(object.value("dossier").toString(), QString("Z-17"));
    QCOMPARE(object.value("calculation").toObject().value("x").toDouble(), 8.0);
    QCOMPARE(object.value("site").toObject().value("storages").toArray().size(), 2);
}

void TestCaseCli::contoursFiles()
{
    const QByteArray text = caseWith(kDefaults, kSite);
    const QString file = path("contouren.warmtegloed");
    QVERIFY(writeFile(file, text));

    const QString geojson = path("contouren.geojson");
    const CliRun result = runCli({"--case", file, "--contours", geojson});
    QCOMPARE(result.exit, 0);
    QFile written(geojson);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QJsonObject collection = QJsonDocument::fromJson(written.readAll()).object();
    QSet<double> levels;
    for (const QJsonValue &feature : collection.value("features").toArray())
        levels.insert(feature.toObject().value("properties").toObject().value("level_kW_m2").toDouble());
    QCOMPARE(levels, (QSet<double> {5, 10, 15, 20, 30}));

    const CliRun unknown = runCli({"--case", file, "--contours", path("contouren.kml")});
    QCOMPARE(unknown.exit, 2);
    QVERIFY(unknown.err.contains("--contours"));
    const QString plain = path("zonder.warmtegloed");
    QVERIFY(writeFile(plain, caseWith(kDefaults)));
    QCOMPARE(runCli({"--case", plain, "--contours", path("x.dxf")}).exit, 2);
}

QTEST_GUILESS_MAIN(TestCaseCli)
#include "tst_case_cli.moc"
