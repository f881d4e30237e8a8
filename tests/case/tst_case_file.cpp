// The case file: what is written is read back the same, unknown keys and the key order
// survive, and every malformed file is refused with one Dutch line naming the key.

#include "case_file.h"

#include <QTest>

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// A valid case with two storages, screens, a boundary and receivers; the faults of the
// table are patches of it.
const char *const kValid = R"({
  "format": "warmtegloed-case",
  "version": 1,
  "meta": {"title": "Houthandel De Eik", "establishment": "De Eik B.V.", "author": "J. Jansen"},
  "calculation": {"B": 10, "D": 10, "H": 8, "x": 5, "y": 5, "heights": [2.5, 5, 7.5, 10, 12.5],
                  "indoor": false, "compact": false, "screen": false, "hs": 0, "xs": 0, "K": 1,
                  "limit": 15, "envelope": false},
  "site": {
    "heights": [2.5, 5, 7.5, 10, 12.5], "limit": 15, "envelope": false,
    "storages": [
      {"name": "Stapel A", "corner": [0, 0], "rotation": 30, "width": 20, "depth": 8, "height": 6,
       "screens": [{"face": 1, "hs": 4, "xs": 2, "K": 1}]},
      {"name": "Loods", "indoor": true, "corner": [40, 10], "width": 30, "depth": 15, "height": 7}
    ],
    "boundary": [[[-10, -15], [40, -15], [40, 30]]],
    "receivers": [{"name": "Woning 12", "at": [12, -20]}]
  }
})";

casefile::Case fullCase()
{
    casefile::Case value;
    value.meta = {"Houthandel De Eik",
                  "De Eik B.V.",
                  "Industrieweg 3, Ede",
                  "J. Jansen",
                  "Twee stapels en een loods.\nHerzien na het bezoek.",
                  "2024-05-01"};
    value.calculation.input.B = 12.5;
    value.calculation.input.x = 7.25;
    value.calculation.input.screen = true;
    value.calculation.input.hs = 3;
    value.calculation.input.xs = 1.5;
    value.calculation.input.K = 0.7;
    value.calculation.input.heights = {1, 2.5, 4, 6.1, 0.1};
    value.calculation.limit = 12.5;
    value.calculation.envelope = true;
    value.hasSite = true;
    engine::Site &site = value.site;
    site.heights = {1.5, 3, 4.5, 6, 7.5};
    site.limit = 10;
    engine::SiteStorage pile;
    pile.name = "Stapel A";
    pile.corner = {155000.25, 463000.5};
    pile.rotation = 33.3;
    pile.width = 0.1 + 0.2; // a number without a short exact form
    pile.screens = {{3, 4, 2, 0.9}, {1, 2.5, 1, 1}};
    engine::SiteStorage shed;
    shed.indoor = true;
    shed.compact = true;
    shed.corner = {155040, 463010};
    shed.rotation = -90;
    site.storages = {pile, shed};
    site.boundary = {{{154990, 462985}, {155060, 462985}},
                     {{155060, 462985}, {155060, 463040}, {154990, 463040}}};
    site.receivers = {{"Woning 12", {155012, 462980}}, {"", {155070, 463000}}};
    return value;
}

} // namespace

class TestCaseFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void readsTheExample();
    void keepsUnknownKeysAndOrder();
    void newCaseLayout();
    void refusesMalformed_data();
    void refusesMalformed();
};

void TestCaseFile::roundTrip()
{
    const casefile::Case original = fullCase();
    const std::string text = casefile::WriteCase(original);
    const casefile::ReadResult read = casefile::ReadCase(text);
    QVERIFY2(read.ok, read.error.c_str());
    // Written again, the text is the same to the byte: the writer writes every value it
    // knows over the document read, so a value read wrongly would show here.
    QCOMPARE(casefile::WriteCase(read.value), text);
    QCOMPARE(read.value.site.storages[0].width, original.site.storages[0].width);
    QCOMPARE(read.value.meta.notes, original.meta.notes);
    QCOMPARE(read.value.site.receivers[1].name, std::string());
}

void TestCaseFile::readsTheExample()
{
    const casefile::ReadResult read = casefile::ReadCase(kValid);
    QVERIFY2(read.ok, read.error.c_str());
    const casefile::Case &value = read.value;
    QCOMPARE(value.site.storages[0].rotation, 30.0);
    QCOMPARE(value.site.storages[0].depth, 8.0);
    QCOMPARE(value.site.storages[0].screens.front().hs, 4.0);
    QVERIFY(value.site.storages[1].indoor);
    QCOMPARE(value.site.storages[1].rotation, 0.0); // left out: along the x axis
    QCOMPARE(value.site.boundary.front().size(), std::size_t(3));
    QCOMPARE(value.site.receivers.front().at.y, -20.0);

    // Whole numbers may be written as 1.0, as JSON Schema counts them.
    const casefile::ReadResult written =
        casefile::ReadCase(Json::parse(kValid)
                               .patch(Json::parse(R"([{"op": "replace", "path": "/version", "value": 1.0},
            {"op": "replace", "path": "/site/storages/0/screens/0/face", "value": 3.0}])"))
                               .dump());
    QVERIFY2(written.ok, written.error.c_str());
    QCOMPARE(written.value.site.storages[0].screens[0].face, 3);
}

void TestCaseFile::keepsUnknownKeysAndOrder()
{
    Json document = Json::parse(kValid);
    document["bureau"] = {{"naam", "Adviesbureau Vuur"}, {"dossier", 2024117}};
    document["calculation"]["opmerking"] = "ingemeten";
    document["site"]["storages"][0]["houtsoort"] = "vuren";
    document["site"]["storages"][0]["screens"][0]["materiaal"] = "beton";
    document["site"]["receivers"][0]["bag_id"] = "0228010000012345";
    document["site"]["kaartlaag"] = Json::array({"luchtfoto", 2023});
    // Keys in an order of the user's own.
    Json reordered = Json::object();
    reordered["version"] = document["version"];
    for (auto item = document.begin(); item != document.end(); ++item) {
        if (item.key() != "version")
            reordered[item.key()] = item.value();
    }

    casefile::ReadResult read = casefile::ReadCase(reordered.dump());
    QVERIFY2(read.ok, read.error.c_str());
    read.value.site.storages[0].width = 25;
    read.value.calculation.input.x = 6;
    const Json written = Json::parse(casefile::WriteCase(read.value));

    QCOMPARE(written.begin().key(), std::string("version"));
    QCOMPARE(written["bureau"]["dossier"].get<int>(), 2024117);
    QCOMPARE(written["calculation"]["opmerking"].get<std::string>(), std::string("ingemeten"));
    QCOMPARE(written["calculation"]["x"].get<double>(), 6.0);
    QCOMPARE(written["site"]["storages"][0]["houtsoort"].get<std::string>(), std::string("vuren"));
    QCOMPARE(written["site"]["storages"][0]["width"].get<double>(), 25.0);
    QCOMPARE(written["site"]["storages"][0]["screens"][0]["materiaal"].get<std::string>(),
             std::string("beton"));
    QCOMPARE(written["site"]["receivers"][0]["bag_id"].get<std::string>(), std::string("0228010000012345"));
    QVERIFY(written["site"]["kaartlaag"] == reordered["site"]["kaartlaag"]);
    // The storage's keys in the file's order, new ones after them.
    std::vector<std::string> keys;
    for (auto item = written["site"]["storages"][1].begin(); item != written["site"]["storages"][1].end();
         ++item)
        keys.push_back(item.key());
    const std::vector<std::string> expected {"name",  "indoor", "corner",  "width",
                                             "depth", "height", "compact", "rotation"};
    QVERIFY(keys == expected);
}

void TestCaseFile::newCaseLayout()
{
    casefile::Case value;
    value.meta.title = "Zaak";
    const std::string text = casefile::WriteCase(value);
    // Known keys in a fixed order, empty texts left out, whole numbers without a fraction,
    // short lists on one line.
    QVERIFY(text.rfind("{\n  \"format\": \"warmtegloed-case\",\n  \"version\": 1,\n  \"meta\": {\n"
                       "    \"title\": \"Zaak\"\n  },\n  \"calculation\": {\n    \"B\": 10,\n",
                       0)
            == 0);
    QVERIFY(text.find("    \"heights\": [2.5, 5, 7.5, 10, 12.5],\n") != std::string::npos);
    QVERIFY(text.find("author") == std::string::npos);
    QVERIFY(text.find("site") == std::string::npos);
    QCOMPARE(text.back(), '\n');
}

void TestCaseFile::refusesMalformed_data()
{
    QTest::addColumn<QString>("patch");   // a JSON Patch of the valid case, or empty
    QTest::addColumn<QByteArray>("text"); // the whole file when there is no patch
    QTest::addColumn<QString>("error");

    const auto patch = [](const char *name, const char *operations, const char *error) {
        QTest::newRow(name) << QString(operations) << QByteArray() << QString(error);
    };
    const auto file = [](const char *name, const QByteArray &text, const char *error) {
        QTest::newRow(name) << QString() << text << QString(error);
    };
    patch("negative width", R"([{"op": "replace", "path": "/site/storages/1/width", "value": -2}])",
          "site.storages[1].width: moet groter zijn dan 0 m");
    patch("width as text", R"([{"op": "replace", "path": "/calculation/B", "value": "10"}])",
          "calculation.B: moet een getal zijn");
    patch("option as a number", R"([{"op": "replace", "path": "/calculation/indoor", "value": 1}])",
          "calculation.indoor: moet true of false zijn");
    patch("four heights", R"([{"op": "remove", "path": "/calculation/heights/4"}])",
          "calculation.heights: moet een lijst van 5 hoogten zijn");
    patch("corner as an object",
          R"([{"op": "replace", "path": "/site/storages/0/corner", "value": {"x": 0}}])",
          "site.storages[0].corner: moet een punt [x, y] zijn");
    patch("coordinate beyond reach", R"([{"op": "replace", "path": "/site/boundary/0/1/0", "value": 2e7}])",
          "site.boundary[0][1][0]: moet tussen -10000000 en 10000000 m liggen");
    patch("missing screen face", R"([{"op": "remove", "path": "/site/storages/0/screens/0/face"}])",
          "site.storages[0].screens[0].face: ontbreekt");
    patch("screen face 5", R"([{"op": "replace", "path": "/site/storages/0/screens/0/face", "value": 5}])",
          "site.storages[0].screens[0].face: moet 1, 2, 3 of 4 zijn");
    patch("two screens on one face",
          R"([{"op": "add", "path": "/site/storages/0/screens/-", "value": {"face": 1, "hs": 1, "xs": 1}}])",
          "site.storages[0].screens[1].face: zijde 1 heeft al een afscherming");
    patch("empty boundary", R"([{"op": "replace", "path": "/site/boundary", "value": []}])",
          "site.boundary: mag niet leeg zijn; laat de sleutel weg als er geen perceelgrens is");
    patch("boundary of one point", R"([{"op": "replace", "path": "/site/boundary/0", "value": [[1, 2]]}])",
          "site.boundary[0]: moet minstens 2 punten hebben");
    patch(
        "boundary too long",
        R"([{"op": "replace", "path": "/site/boundary/0", "value": [[0, -9000], [0, 9000], [9000, 9000]]}])",
        "site.boundary: is samen 27000 m lang; ten hoogste 20000 m");
    patch("no storages", R"([{"op": "replace", "path": "/site/storages", "value": []}])",
          "site.storages: moet minstens één opslag bevatten");
    patch("storage as a list", R"([{"op": "replace", "path": "/site/storages/1", "value": [1]}])",
          "site.storages[1]: moet een object {…} zijn");
    patch("same name twice", R"([{"op": "replace", "path": "/site/storages/1/name", "value": "Stapel A"}])",
          "site.storages[1].name: \"Stapel A\" komt al voor");
    patch("receiver inside a storage",
          R"([{"op": "replace", "path": "/site/receivers/0/at", "value": [50, 20]}])",
          "site.receivers[0].at: ligt binnen Loods");
    patch("newer version", R"([{"op": "replace", "path": "/version", "value": 2}])",
          "version: versie 2 is nieuwer dan dit programma kan lezen (tot en met versie 1); "
          "gebruik een nieuwere Warmtegloedvracht");
    patch("version as text", R"([{"op": "replace", "path": "/version", "value": "1"}])",
          "version: moet een geheel getal vanaf 1 zijn");
    patch("another format", R"([{"op": "replace", "path": "/format", "value": "geojson"}])",
          "format: moet \"warmtegloed-case\" zijn; dit is geen zaakbestand");
    file("empty file", QByteArray(), "het bestand is leeg");
    file("an invalid literal", "{\n  \"meta\": {},\n  \"b\": x\n}", "geen geldige JSON (regel 3, kolom 8)");
    file("a cut literal on its own line", "{\n\"a\": 1,\n tru\n}", "geen geldige JSON (regel 3, kolom 2)");
    file("a list", "[1, 2]", "moet een JSON-object {…} zijn");
    file("an unclosed text", "{\"meta\": {\"title\": \"Zaak}}", "geen geldige JSON (regel 1, kolom 20)");
    file("not UTF-8", "{\"meta\": {\"title\": \"Caf\xe9\"}}", "geen UTF-8-tekst (byte 24)");
    file("a surrogate in UTF-8", "{\"a\": \"\xed\xa0\x80\"}", "geen UTF-8-tekst (byte 8)");
    file("5 MB", QByteArray(5 * 1024 * 1024, ' '),
         "het bestand is groter dan 2 MB; een zaakbestand is veel kleiner");
    file("nested too deep", QByteArray(100, '[') + QByteArray(100, ']'),
         "lijsten en objecten liggen dieper dan 64 niveaus");
    file("a number beyond double", "{\"format\": 1e999}", "geen geldige JSON (regel 1, kolom 12)");
}

void TestCaseFile::refusesMalformed()
{
    QFETCH(QString, patch);
    QFETCH(QByteArray, text);
    QFETCH(QString, error);

    std::string file(text.constData(), std::size_t(text.size()));
    if (!patch.isEmpty())
        file = Json::parse(kValid).patch(Json::parse(patch.toStdString())).dump(2);
    const casefile::ReadResult read = casefile::ReadCase(file);
    QVERIFY(!read.ok);
    QCOMPARE(QString::fromStdString(read.error), error);
    QVERIFY(read.error.find('\n') == std::string::npos);
}

QTEST_GUILESS_MAIN(TestCaseFile)
#include "tst_case_file.moc"
