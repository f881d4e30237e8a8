// warmtegloed-cli against a few thousand generated command lines: every option, valid and
// absurd values, malformed forms, case files good and bad, and odd files to read and write
// (links, FIFOs, folders, devices, missing folders, names with control characters). Seeded,
// in parts that each start from their own seed, so a failure can be run again;
// WARMTEGLOED_HOSTILE_SEED and WARMTEGLOED_HOSTILE_RUNS change the first seed and the count.
// Whatever it is given, the program
// - ends by itself with exit code 0 to 3, within 10 s;
// - on an error writes one line, "warmtegloed-cli: " and a Dutch text, and nothing on stdout;
//   without one, nothing on stderr;
// - never writes "nan", "inf" or a null number;
// - leaves whole files (the PDF, PNG and SVG readers open them) after exit 0 and leaves the
//   folder exactly as it was after an error.

#include "cli_process.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kDefaultRuns = 2000;
constexpr int kParts = 8; // each reports on its own
constexpr unsigned kDefaultSeed = 20261207;
constexpr int kTimeLimitMilliseconds = 10000;
constexpr int kWorkers = 3; // programs at a time

// Numbers a user might type, and numbers nobody should (among them a full-width "12").
const char *const kSensible[] = {"0",     "0.01",  "0.5", "1",     "2",     "2.5", "3",   "4.2",
                                 "5",     "7.5",   "8",   "10",    "12",    "15",  "20",  "35",
                                 "50",    "100",   "0.9", "0.1",   "1000",  "-5",  "-50", "1e1",
                                 "2.5e0", "0.001", "999", "10000", "-10000"};
const char *const kAbsurd[] = {"1e308",      "1e17",     "1e-320", "2.2250738585072014e-308",
                               "nan",        "inf",      "-0",     "",
                               "1,5",        "0x10",     "1e",     "--",
                               "abc",        "\x1b[2J",  "5\n6",   "\xef\xbc\x91\xef\xbc\x92",
                               "+5",         " 5",       "5 ",     "1e400",
                               "10000.0001", "0.0000001"};

// The values each option is usually given.
const QMap<QString, std::pair<double, double>> kUsual {
    {"B", {0.5, 200}},  {"D", {0.5, 200}},      {"H", {0.5, 15}},     {"x", {0.5, 100}},
    {"y", {-20, 50}},   {"hs", {0, 15}},        {"xs", {0, 10}},      {"K", {0, 1}},
    {"limit", {1, 50}}, {"at-height", {0, 20}}, {"heights", {0, 20}},
};

const char *const kNumberOptions[] = {"B", "D", "H", "x", "y", "hs", "xs", "K", "limit", "at-height"};
const char *const kFlags[] = {"indoor", "compact", "screen", "check", "envelope", "json"};
const char *const kSweepQuantities[] = {"x", "y", "H", "B", "D", "hs", "xs", "K", "z", ""};

// The odd places a file can be asked for, made afresh in each run's folder.
const char *const kTargets[] = {"nieuw",
                                "bestaand",
                                "koppeling",
                                "dode-koppeling",
                                "koppeling-naar-map",
                                "fifo",
                                "map",
                                "alleen-lezen/",
                                "nergens/",
                                "regel\neinde",
                                "lang",
                                "/dev/null",
                                "zonder-extensie",
                                "leeg"};

struct Entry
{
    QString type;
    QByteArray digest;
};

// What a folder holds: every name with its type and contents, links not followed.
QMap<QString, Entry> snapshot(const QString &folder)
{
    QMap<QString, Entry> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        Entry entry;
        struct stat status;
        if (::lstat(QFile::encodeName(path), &status) != 0)
            continue;
        if (S_ISLNK(status.st_mode)) {
            entry.type = "link " + info.symLinkTarget();
        } else if (S_ISFIFO(status.st_mode)) {
            entry.type = "fifo";
        } else if (S_ISDIR(status.st_mode)) {
            entry.type = "folder";
        } else {
            entry.type = "file";
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                entry.digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        }
        entries.insert(QDir(folder).relativeFilePath(path), entry);
    }
    return entries;
}

QString shellQuoted(const QStringList &arguments)
{
    QStringList quoted;
    for (QString argument : arguments)
        quoted << "'" + argument.replace("'", "'\\''") + "'";
    return quoted.join(' ');
}

// The English texts of the system's error numbers, which a Dutch message never quotes.
QStringList englishErrorTexts()
{
    QStringList texts;
    for (int error = 1; error < 134; ++error) {
        const QString text = QString::fromLocal8Bit(std::strerror(error));
        if (!text.startsWith("Unknown error"))
            texts << text;
    }
    return texts;
}

class Generator
{
public:
    explicit Generator(unsigned seed)
        : m_random(seed)
    { }

    // One command line; `files` receives the --pdf and --plot targets it names (the last of
    // each, as the parser takes the last).
    QStringList arguments(const QString &folder, QStringList &files)
    {
        m_files.clear();
        QStringList list;
        const int count = 1 + pick(6);
        for (int i = 0; i < count; ++i)
            addOption(list, folder);
        if (chance(0.02))
            list << (chance(0.5) ? "--help" : "-h");
        if (chance(0.02))
            list << "--version";
        if (chance(0.02))
            list << QStringList {"positioneel", "--", "--onbekend", "-", "---x"}.at(pick(5));
        files = m_files.values();
        return list;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    // Mostly a value the option takes, else one a user might type anywhere, else an absurd one.
    QString number(const QString &option = QString())
    {
        const double draw = std::uniform_real_distribution<double>(0, 1)(m_random);
        if (draw < 0.75 && kUsual.contains(option)) {
            const auto [low, high] = kUsual.value(option);
            return QString::number(std::uniform_real_distribution<double>(low, high)(m_random), 'g', 4);
        }
        if (draw < 0.93)
            return QString::fromUtf8(kSensible[pick(int(std::size(kSensible)))]);
        return QString::fromUtf8(kAbsurd[pick(int(std::size(kAbsurd)))]);
    }

    QString heights()
    {
        QStringList values;
        const int count = chance(0.9) ? 5 : pick(8);
        for (int i = 0; i < count; ++i)
            values << number("heights");
        return values.join(',');
    }

    // FROM:TO:STEP, mostly a modest table; now and then one too large or malformed.
    QString range()
    {
        if (chance(0.1))
            return number() + ":" + number();
        const QString from = number("x");
        const QString to = number("x");
        const double span = to.toDouble() - from.toDouble();
        QString step = number();
        if (chance(0.6) && std::isfinite(span) && span > 0)
            step = QString::number(span / (1 + pick(60)), 'g', 6);
        return from + ":" + to + ":" + step;
    }

    QString target(const QString &folder, const char *extension)
    {
        const QString name = QString::fromUtf8(kTargets[pick(int(std::size(kTargets)))]);
        if (name.startsWith('/'))
            return name;
        if (name == "leeg")
            return QString();
        if (name == "zonder-extensie")
            return folder + "/bestand";
        if (name == "lang")
            return folder + "/" + QString(300, 'a') + extension;
        if (name.endsWith('/'))
            return folder + "/" + name + "rapport" + extension;
        return folder + "/" + name + extension;
    }

    void addOption(QStringList &list, const QString &folder)
    {
        // The forms the parser takes: --name value, --name=value, -name value.
        const auto add = [&](const QString &name, const QString &value) {
            const int form = pick(3);
            if (form == 0)
                list << "--" + name << value;
            else if (form == 1)
                list << "--" + name + "=" + value;
            else
                list << "-" + name << value;
        };
        // The kinds of option, weighted: the files are rare, each costs a drawing.
        static const std::discrete_distribution<int> kinds {30, 8, 20, 6, 8, 3, 3, 6, 3, 13, 6, 2, 1};
        switch (std::discrete_distribution<int>(kinds)(m_random)) {
        case 0: {
            const QString option = QString::fromLatin1(kNumberOptions[pick(int(std::size(kNumberOptions)))]);
            add(option, number(option));
        } break;
        case 1:
            add("heights", heights());
            break;
        case 2:
            list << "--" + QString::fromLatin1(kFlags[pick(int(std::size(kFlags)))]);
            break;
        case 3:
            add("solve", QStringList {"distance", "height", "width", "depth", ""}.at(pick(5)));
            break;
        case 4:
            if (chance(0.5))
                add("sweep",
                    QString::fromLatin1(kSweepQuantities[pick(int(std::size(kSweepQuantities)))]) + "="
                        + range());
            else
                add("grid", "x=" + range() + (chance(0.9) ? ",y=" : ",z=") + range());
            break;
        case 5: {
            const QString file = target(folder, chance(0.9) ? ".pdf" : ".PDF");
            m_files.insert("pdf", file);
            add("pdf", file);
            break;
        }
        case 6: {
            const char *extensions[] = {".svg", ".png", ".pdf", ".txt"};
            const QString file = target(folder, extensions[pick(4)]);
            m_files.insert("plot", file);
            add("plot", file);
            break;
        }
        case 7:
            list << "--screen";
            add("xs", number("xs"));
            add("hs", number("hs"));
            break;
        case 9:
            break; // fewer options, more answers
        case 10: {
            const QString names[] = {"zaak", "zaak", "situatie",  "kapot",
                                     "fifo", "map",  "koppeling", "nergens/zaak"};
            const QString file = folder + "/" + names[pick(int(std::size(names)))] + ".warmtegloed";
            add("case", chance(0.95) ? file : QString());
            break;
        }
        case 11: {
            const QString file = target(folder, ".warmtegloed");
            m_files.insert("save-case", file);
            add("save-case", file);
            break;
        }
        case 12: {
            const QString file = target(folder, chance(0.5) ? ".geojson" : ".dxf");
            m_files.insert("contours", file);
            add("contours", file);
            break;
        }
        default:
            list << "--" + QStringList {"onbekend", "h", "pd", "check=1", "json=ja"}.at(pick(5));
            break;
        }
    }

    std::mt19937 m_random;
    QMap<QString, QString> m_files;
};

// The odd targets, made in a run's folder before it starts.
void prepareFolder(const QString &folder)
{
    const QByteArray root = QFile::encodeName(folder);
    QFile existing(folder + "/bestaand.pdf");
    existing.open(QIODevice::WriteOnly);
    existing.write("een oud rapport");
    existing.close();
    QFile linked(folder + "/doel.bin");
    linked.open(QIODevice::WriteOnly);
    linked.write("het doel van een koppeling");
    linked.close();
    for (const char *extension :
         {".pdf", ".PDF", ".svg", ".png", ".txt", ".warmtegloed", ".geojson", ".dxf"}) {
        const QByteArray suffix(extension);
        ::symlink("doel.bin", root + "/koppeling" + suffix);
        ::symlink("bestaat-niet/x", root + "/dode-koppeling" + suffix);
        ::symlink(".", root + "/koppeling-naar-map" + suffix);
        ::mkfifo(root + "/fifo" + suffix, 0644);
        ::mkdir(root + "/map" + suffix, 0755);
    }
    ::mkdir(root + "/alleen-lezen", 0555);
    // Case files: one without a site, one with, and one that is not a case at all.
    QFile::copy(QStringLiteral(WARMTEGLOED_CASE_EXAMPLES "/een-stapel.warmtegloed"),
                folder + "/zaak.warmtegloed");
    QFile::copy(QStringLiteral(WARMTEGLOED_CASE_EXAMPLES "/houthandel.warmtegloed"),
                folder + "/situatie.warmtegloed");
    QFile broken(folder + "/kapot.warmtegloed");
    broken.open(QIODevice::WriteOnly);
    broken.write("{\"format\": \"warmtegloed-case\", \"version\": 1, \"calculation\": {\"B\": \"tien\"");
    broken.close();
}

// Whether poppler reads the file as a PDF of one page.
bool isWholePdf(const QString &file)
{
    QProcess info;
    info.start("/usr/bin/pdfinfo", {file});
    return info.waitForFinished(30000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0
        && QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n"));
}

// What is wrong with one run, or nothing.
QStringList faultsOf(const CliRun &run, const QStringList &files, const QMap<QString, Entry> &before,
                     const QString &folder)
{
    static const QStringList english = englishErrorTexts();
    // The user's own text, quoted; an apostrophe within a word ("komma's") opens no quote.
    static const QRegularExpression quoted("(?<!\\w)'[^']*'");
    static const QRegularExpression notANumber("\\b(nan|-?inf|infinity)\\b",
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList faults;
    if (run.crashed)
        faults << "ended by a signal";
    else if (run.exit < 0)
        faults << "still running after the time limit";
    else if (run.exit > 3)
        faults << QStringLiteral("exit code %1").arg(run.exit);
    if (run.milliseconds > kTimeLimitMilliseconds)
        faults << QStringLiteral("took %1 ms").arg(run.milliseconds);
    // Help and version write no file and change nothing.
    const bool informational = run.exit == 0
        && (run.out.startsWith("Gebruik: ") || run.out.startsWith("warmtegloed-cli (Warmtegloedvracht)"));
    if (run.exit != 0 || informational) {
        if (run.exit != 0 && !isOneComplaint(run.err))
            faults << "not one complaint: " + run.err;
        if (run.exit != 0 && !run.out.isEmpty())
            faults << "stdout after an error: " + run.out.left(200);
        for (const QString &text : english) {
            if (run.err.contains(text))
                faults << "an English reason: " + run.err;
        }
        const QMap<QString, Entry> after = snapshot(folder);
        for (const QString &name : after.keys()) {
            if (!before.contains(name))
                faults << "left after an error: " + name;
        }
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (after.value(it.key()).type != it->type || after.value(it.key()).digest != it->digest)
                faults << "changed after an error: " + it.key();
        }
    }
    if (run.exit == 0 && !run.err.isEmpty())
        faults << "stderr without an error: " + run.err;
    if (notANumber.match(run.out).hasMatch() || notANumber.match(QString(run.err).remove(quoted)).hasMatch())
        faults << "a number that is not one: " + (run.out + run.err).left(300);
    const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8());
    if (json.isObject()) {
        QJsonObject all = json.object();
        for (const QString &part : {QStringLiteral("limit"), QStringLiteral("solution")}) {
            const QJsonObject object = all.value(part).toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                // The point between the heights and an ordinary answer's bound are null by design.
                if (it->isNull() && it.key() != "point" && it.key() != "bound")
                    faults << "null " + part + "." + it.key();
            }
        }
        for (auto it = all.begin(); it != all.end(); ++it) {
            if (it->isNull() || (it->isArray() && it->toArray().contains(QJsonValue())))
                faults << "null " + it.key();
        }
    } else if (run.out.contains("null")) {
        faults << "null in the output";
    }
    if (run.exit == 0 && !informational) {
        for (const QString &file : files) {
            QFile written(file);
            const QString lower = file.toLower();
            if (!written.open(QIODevice::ReadOnly)) {
                faults << "no file after success: " + file;
                continue;
            }
            const QByteArray bytes = written.readAll();
            if (lower.endsWith(".pdf") && !isWholePdf(file))
                faults << "not a whole PDF: " + file;
            if (lower.endsWith(".png") && QImage::fromData(bytes, "PNG").isNull())
                faults << "not a whole PNG: " + file;
            if (lower.endsWith(".svg") && !QSvgRenderer(bytes).isValid())
                faults << "not a whole SVG: " + file;
            if ((lower.endsWith(".warmtegloed") || lower.endsWith(".geojson"))
                && !QJsonDocument::fromJson(bytes).isObject())
                faults << "not a whole JSON document: " + file;
            if (lower.endsWith(".dxf") && !bytes.trimmed().endsWith("EOF"))
                faults << "not a whole DXF drawing: " + file;
        }
        // Only the asked files may be new: no temporary file is left.
        for (const QString &name : snapshot(folder).keys()) {
            if (!before.contains(name) && !files.contains(folder + "/" + name))
                faults << "left behind: " + name;
        }
    }
    return faults;
}

// One generated command line, run in its own folder of odd targets.
struct Job
{
    QString folder;
    QStringList arguments;
    QStringList files;
    bool bare = false;
    int exit = -1;
    qint64 milliseconds = 0;
    QStringList faults;

    void run()
    {
        QDir().mkpath(folder);
        prepareFolder(folder);
        const QMap<QString, Entry> before = snapshot(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (bare)
            environment = bareEnvironment();
        const CliRun result = runCli(arguments, environment, kTimeLimitMilliseconds * 3);
        exit = result.exit;
        milliseconds = result.milliseconds;
        faults = faultsOf(result, files, before, folder);
        // A read-only folder would outlive the temporary one.
        QFile::setPermissions(folder + "/alleen-lezen",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

} // namespace

class TestCliHostile : public QObject
{
    Q_OBJECT

private slots:
    void generatedCommandLines_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("runs");
        const unsigned seed = qEnvironmentVariableIsSet("WARMTEGLOED_HOSTILE_SEED")
            ? unsigned(qEnvironmentVariableIntValue("WARMTEGLOED_HOSTILE_SEED"))
            : kDefaultSeed;
        const int runs = qEnvironmentVariableIsSet("WARMTEGLOED_HOSTILE_RUNS")
            ? qEnvironmentVariableIntValue("WARMTEGLOED_HOSTILE_RUNS")
            : kDefaultRuns;
        for (int part = 0; part < kParts; ++part)
            QTest::addRow("seed %u", seed + unsigned(part))
                << seed + unsigned(part) << (runs + kParts - 1) / kParts;
    }

    void generatedCommandLines()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, runs);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        // The command lines are made in order from the seed, whatever runs them.
        Generator generator(seed);
        std::vector<Job> jobs(static_cast<std::size_t>(runs));
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            jobs[i].folder = root.filePath(QString::number(i));
            jobs[i].arguments = generator.arguments(jobs[i].folder, jobs[i].files);
            jobs[i].bare = i % 10 == 0;
        }
        std::atomic<std::size_t> next {0};
        std::vector<std::thread> workers;
        for (int w = 0; w < kWorkers; ++w) {
            workers.emplace_back([&] {
                for (std::size_t i = next++; i < jobs.size(); i = next++)
                    jobs[i].run();
            });
        }
        for (std::thread &worker : workers)
            worker.join();

        QStringList report;
        QMap<int, int> exits;
        qint64 slowest = 0;
        int faulty = 0;
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            ++exits[jobs[i].exit];
            slowest = std::max(slowest, jobs[i].milliseconds);
            faulty += jobs[i].faults.isEmpty() ? 0 : 1;
            if (!jobs[i].faults.isEmpty() && report.size() < 20)
                report << QStringLiteral("run %1%2: %3\n    %4")
                              .arg(i)
                              .arg(jobs[i].bare ? QStringLiteral(" (env -i PATH=/usr/bin:/bin)") : QString(),
                                   shellQuoted(jobs[i].arguments), jobs[i].faults.join("\n    "));
        }
        qInfo("seed %u, %d command lines; exit codes: 0 x%d, 1 x%d, 2 x%d, 3 x%d; slowest %lld ms", seed,
              runs, exits.value(0), exits.value(1), exits.value(2), exits.value(3), slowest);
        // QtTest cuts long messages short: each faulty command line has its own.
        for (const QString &fault : report)
            qWarning().noquote() << fault;
        QVERIFY2(report.isEmpty(),
                 qPrintable(QStringLiteral("%1 faulty command lines, listed above").arg(faulty)));
    }
};

QTEST_MAIN(TestCliHostile)
#include "tst_cli_hostile.moc"
