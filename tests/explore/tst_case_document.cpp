// The case as the exploration window's document, offscreen: saved and opened again it
// gives the same inputs, answers and site; unsaved changes are asked for before they go;
// a file that cannot be used changes nothing; undo takes back one entry at a time; the
// autosave keeps up with the edits and is offered back after the window went away.

#include "answers_panel.h"
#include "autosave.h"
#include "case_commands.h"
#include "case_document.h"
#include "case_mapping.h"
#include "explore_window.h"
#include "inputs_panel.h"
#include "recording_message_box.h"
#include "recording_shell.h"
#include "typing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace explore;

namespace {

// Answers the question boxes the window asks, in order, by the caption of a button; a
// box that nobody expected is noted and closed, which answers it as Escape does.
class QuestionAnswerer : public QObject
{
public:
    QuestionAnswerer() { qApp->installEventFilter(this); }
    QStringList answers;
    QStringList asked;
    QStringList unexpected;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (event->type() != QEvent::Show || !box)
            return false;
        asked << box->text() + QLatin1Char('|') + box->informativeText();
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isEmpty())
            unexpected << box->text();
        QTimer::singleShot(0, box, [box, answer] {
            for (QAbstractButton *button : box->buttons()) {
                if (!answer.isEmpty() && button->text().remove(QLatin1Char('&')) == answer) {
                    button->click();
                    return;
                }
            }
            box->close();
        });
        return false;
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

engine::Site twoStorages()
{
    engine::Site site;
    engine::SiteStorage a;
    a.name = "Stapel A";
    a.corner = {3, -4.5};
    a.rotation = 30;
    a.screens.push_back({2, 4, 1.5, 0.9});
    engine::SiteStorage b;
    b.name = "Loods";
    b.indoor = true;
    b.corner = {40, 10};
    b.width = 12;
    b.height = 9;
    site.storages = {a, b};
    site.boundary = {{{-10, -15}, {60, -15}, {60, 30}}};
    site.receivers = {{"Woning 12", {12, -25}}};
    site.limit = 10;
    return site;
}

} // namespace

Q_DECLARE_METATYPE(explore::Field)

class TestCaseDocument : public QObject
{
    Q_OBJECT

    std::unique_ptr<ExploreWindow> m_window;
    std::unique_ptr<QuestionAnswerer> m_questions;
    RecordingShell m_shell;
    RecordingMessageBox m_messages;
    QTemporaryDir m_folder;

    QString file(const QString &name) const { return m_folder.filePath(name); }

    std::unique_ptr<ExploreWindow> newWindow()
    {
        auto window = std::make_unique<ExploreWindow>(ExploreServices {&m_shell, &m_messages});
        window->runner()->setPlanResolution(16);
        window->caseCommands()->setSaveChooser(
            [this](const QString &, const QString &) { return file("zaak"); });
        window->show();
        return window;
    }

    bool settle(ExploreWindow &window)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 120000) {
            QTest::qWait(20);
            if (!window.runner()->busy() && window.exploration()
                && SameCalculation(CalculationOf(window.exploration()->input),
                                   window.document()->calculation()))
                return true;
        }
        return false;
    }

    void type(Field field, const QString &text) { Retype(m_window->inputs()->edit(field), text); }

    // A saved case with the defaults, open in the window with its depth typed anew.
    void openModifiedCase(const QString &path)
    {
        m_window->document()->reset();
        QVERIFY(m_window->document()->save(path, nullptr));
        type(Field::Depth, QStringLiteral("11"));
        QVERIFY(m_window->document()->isModified());
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
    }
    void init()
    {
        m_messages.shown.clear();
        m_questions = std::make_unique<QuestionAnswerer>();
        m_window = newWindow();
    }
    void cleanup()
    {
        m_window.reset();
        QVERIFY2(m_questions->unexpected.isEmpty(), qPrintable(m_questions->unexpected.join('\n')));
        QVERIFY(m_questions->answers.isEmpty());
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
        QDir(Autosave::folder()).removeRecursively();
    }

    void savedClosedAndOpenedGivesTheSameCase()
    {
        InputsPanel *inputs = m_window->inputs();
        inputs->setValue(Field::Width, 12.5);
        inputs->setValue(Field::Distance, 9.25);
        inputs->setValue(Field::Position, 3);
        inputs->compact()->click();
        inputs->screen()->click();
        inputs->setValue(Field::ScreenHeight, 3.3);
        inputs->setValue(Field::ScreenDistance, 2);
        inputs->setValue(Field::Efficiency, 0.8);
        inputs->setValue(Field::Point4, 6.1);
        inputs->setValue(Field::Limit, 12.5);
        inputs->envelope()->click();
        m_window->setCaseDetails({QStringLiteral("Zaak 7"), QStringLiteral("Houthandel"),
                                  QStringLiteral("Kade 1"), QStringLiteral("A. Jansen"), QDate(2026, 3, 4)});
        m_window->document()->setSite(twoStorages(), QStringLiteral("Situatie"));
        m_window->document()->setSiteExtra("underlay", {{"file", "tekening.png"}, {"opacity", 0.5}},
                                           QStringLiteral("Onderlegger"));
        QVERIFY(settle(*m_window));
        const ExplorationInput typed = inputs->input();
        const QStringList answers {m_window->answers()->highestText(), m_window->answers()->verdictText(),
                                   m_window->answers()->distanceText()};
        const double distance = m_window->exploration()->answers.distance.value;

        QVERIFY(m_window->caseCommands()->saveAs());
        QCOMPARE(m_window->document()->path(), file("zaak.warmtegloed"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("zaak.warmtegloed[*] – Warmtegloed – Verkenning"));
        QVERIFY(!m_window->isWindowModified());
        QVERIFY(m_window->close());
        QVERIFY(m_questions->asked.isEmpty());

        m_window = newWindow();
        QVERIFY(m_window->caseCommands()->openCase(file("zaak.warmtegloed")));
        QVERIFY(settle(*m_window));
        QVERIFY(SameCalculation(CalculationOf(m_window->inputs()->input()), CalculationOf(typed)));
        QCOMPARE(m_window->answers()->highestText(), answers[0]);
        QCOMPARE(m_window->answers()->verdictText(), answers[1]);
        QCOMPARE(m_window->answers()->distanceText(), answers[2]);
        QCOMPARE(m_window->exploration()->answers.distance.value, distance);
        QCOMPARE(m_window->caseDetails().author, QStringLiteral("A. Jansen"));
        QCOMPARE(m_window->caseDetails().date, QDate(2026, 3, 4));
        // The site comes back as it was written, to the last digit of its numbers.
        casefile::Case expected;
        expected.hasSite = true;
        expected.site = twoStorages();
        expected.document["site"]["underlay"] = {{"file", "tekening.png"}, {"opacity", 0.5}};
        casefile::Case back;
        back.hasSite = m_window->document()->hasSite();
        back.site = m_window->document()->site();
        back.document["site"]["underlay"] = m_window->document()->siteExtra("underlay");
        QCOMPARE(casefile::WriteCase(back), casefile::WriteCase(expected));
        QVERIFY(!m_window->document()->isModified());
        QCOMPARE(m_window->document()->undoStack()->count(), 0);
    }

    void unsavedChangesAsk_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        QTest::newRow("opening, Opslaan saves first") << "openen"
                                                      << "Opslaan" << true << true;
        QTest::newRow("opening, Niet opslaan") << "openen"
                                               << "Niet opslaan" << true << false;
        QTest::newRow("opening, Annuleren") << "openen"
                                            << "Annuleren" << false << false;
        QTest::newRow("new, Annuleren") << "nieuw"
                                        << "Annuleren" << false << false;
        QTest::newRow("closing, Annuleren") << "sluiten"
                                            << "Annuleren" << false << false;
    }
    void unsavedChangesAsk()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        const QString other = file("ander.warmtegloed");
        m_window->document()->reset();
        casefile::Meta named;
        named.title = "Ander";
        m_window->document()->setMeta(named, QStringLiteral("Zaak"));
        QVERIFY(m_window->document()->save(other, nullptr));
        const QString path = file("zaak.warmtegloed");
        openModifiedCase(path);
        const QByteArray before = readAll(path);

        m_questions->answers << answer;
        bool done = false;
        if (command == QLatin1String("openen"))
            done = m_window->caseCommands()->openCase(other);
        else if (command == QLatin1String("nieuw"))
            done = m_window->caseCommands()->newCase();
        else
            done = m_window->close();

        QCOMPARE(
            m_questions->asked,
            QStringList {QStringLiteral("Wilt u de wijzigingen in „zaak.warmtegloed” opslaan?|Zonder opslaan "
                                        "gaan ze verloren.")});
        QCOMPARE(done, goesOn);
        const casefile::Case written = casefile::ReadCase(readAll(path).toStdString()).value;
        QCOMPARE(written.calculation.input.D, saved ? 11.0 : 10.0);
        QCOMPARE(readAll(path) == before, !saved);
        if (command == QLatin1String("openen"))
            QCOMPARE(m_window->document()->path(), goesOn ? other : path);
        if (!goesOn) {
            // Everything as it was: the typed depth, the marker, the file.
            QCOMPARE(m_window->inputs()->edit(Field::Depth)->text(), QStringLiteral("11"));
            QVERIFY(m_window->isWindowModified());
            QVERIFY(m_window->isVisible());
        }
    }

    void unreadableFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("Dit is geen zaak.\n") << "kapot.warmtegloed"
                                  << "geen geldige JSON (regel 1, kolom 1)";
        QTest::newRow("missing file") << QByteArray() << "weg.warmtegloed"
                                      << "het bestand bestaat niet";
        QTest::newRow("a folder") << QByteArray() << "map.warmtegloed"
                                  << "dit is een map, geen bestand";
    }
    void unreadableFileChangesNothing()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString bad = file(name);
        if (!contents.isEmpty())
            writeFile(bad, contents);
        if (name.startsWith(QLatin1String("map")))
            QVERIFY(QDir().mkdir(bad));
        const QString path = file("zaak.warmtegloed");
        openModifiedCase(path);
        const int steps = m_window->document()->undoStack()->count();

        QVERIFY(!m_window->caseCommands()->openCase(bad));
        QCOMPARE(m_messages.shown,
                 QStringList {
                     QStringLiteral("Warmtegloed – Verkenning (48): De zaak „%1” kan niet worden geopend: %2")
                         .arg(bad, reason)});
        QVERIFY(m_questions->asked.isEmpty());
        QCOMPARE(m_window->document()->path(), path);
        QCOMPARE(m_window->document()->undoStack()->count(), steps);
        QCOMPARE(m_window->inputs()->edit(Field::Depth)->text(), QStringLiteral("11"));
        QVERIFY(m_window->isWindowModified());
    }

    void undoTakesBackOneEntryAtATime()
    {
        QUndoStack *undo = m_window->document()->undoStack();
        type(Field::Width, QStringLiteral("30"));
        QTest::keyClick(m_window->inputs()->edit(Field::Width), Qt::Key_Return);
        // The point followed the middle of the face: part of the same step.
        QCOMPARE(m_window->inputs()->edit(Field::Position)->text(), QStringLiteral("15"));
        QCOMPARE(undo->undoText(), QStringLiteral("Breedte opslag (B) wijzigen"));
        type(Field::Depth, QStringLiteral("12,5"));
        QTest::keyClick(m_window->inputs()->edit(Field::Depth), Qt::Key_Return);
        m_window->inputs()->compact()->click();
        QCOMPARE(undo->count(), 3);
        QCOMPARE(m_window->action(Command::Undo)->text(),
                 QStringLiteral("&Ongedaan maken: Compact gestapeld hout aan"));
        QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Naamloos[*]")));
        QVERIFY(m_window->isWindowModified());

        m_window->action(Command::Undo)->trigger();
        QVERIFY(!m_window->inputs()->compact()->isChecked());
        QCOMPARE(m_window->action(Command::Undo)->text(),
                 QStringLiteral("&Ongedaan maken: Diepte opslag (D) wijzigen"));
        m_window->action(Command::Undo)->trigger();
        QCOMPARE(m_window->inputs()->edit(Field::Depth)->text(), QStringLiteral("10"));
        QCOMPARE(m_window->inputs()->edit(Field::Width)->text(), QStringLiteral("30"));
        m_window->action(Command::Undo)->trigger();
        QCOMPARE(m_window->inputs()->edit(Field::Width)->text(), QStringLiteral("10"));
        QCOMPARE(m_window->inputs()->edit(Field::Position)->text(), QStringLiteral("5"));
        QCOMPARE(m_window->inputs()->input().storage.B, 10.0);
        QVERIFY(!m_window->isWindowModified());
        QVERIFY(!m_window->action(Command::Undo)->isEnabled());

        m_window->action(Command::Redo)->trigger();
        QCOMPARE(m_window->inputs()->input().storage.y, 15.0);
        QVERIFY(settle(*m_window));
        QCOMPARE(m_window->exploration()->input.storage.B, 30.0);
    }

    // The site's edits: a drag is one step; a storage removed takes its own keys along.
    void siteEditsKeepTheFilesOwnKeys()
    {
        engine::Site site = twoStorages();
        CaseDocument &document = *m_window->document();
        document.setSite(site, QStringLiteral("Situatie"));
        site.storages[1].corner.x += 1;
        document.setSite(site, QStringLiteral("Opslag verplaatsen"), 7);
        site.storages[1].corner.x += 1;
        document.setSite(site, QStringLiteral("Opslag verplaatsen"), 7);
        QCOMPARE(document.undoStack()->count(), 2);
        QVERIFY(document.save(file("zaak.warmtegloed"), nullptr));
        QByteArray text = readAll(file("zaak.warmtegloed"));
        text.replace("\"name\": \"Loods\"", "\"kleur\": \"rood\", \"name\": \"Loods\"");
        writeFile(file("zaak.warmtegloed"), text);
        QVERIFY(m_window->caseCommands()->openCase(file("zaak.warmtegloed")));
        QCOMPARE(document.site().storages[1].corner.x, 42.0);

        document.removeStorage(0, QStringLiteral("Opslag verwijderen"));
        QVERIFY(document.save(file("zaak.warmtegloed"), nullptr));
        const casefile::Case saved =
            casefile::ReadCase(readAll(file("zaak.warmtegloed")).toStdString()).value;
        QCOMPARE(saved.site.storages.size(), size_t(1));
        QCOMPARE(saved.document["site"]["storages"][0].value("kleur", ""), std::string("rood"));
        document.undoStack()->undo();
        QCOMPARE(document.site().storages.size(), size_t(2));
        QCOMPARE(document.siteExtra("storages")[1].value("kleur", ""), std::string("rood"));
    }

    // A case that would not open again is not written.
    void aSiteWithoutStoragesIsNotSaved()
    {
        engine::Site site;
        site.boundary = {{{0, 0}, {10, 0}}};
        m_window->document()->setSite(site, QStringLiteral("Perceelgrens"));
        QVERIFY(!m_window->caseCommands()->saveAs());
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(
            m_messages.shown[0].contains(QStringLiteral("De zaak is niet opgeslagen in „%1”: site.storages")
                                             .arg(file("zaak.warmtegloed"))),
            qPrintable(m_messages.shown[0]));
        QVERIFY(!QFile::exists(file("zaak.warmtegloed")));
        QVERIFY(m_window->document()->isModified());
    }

    void detailsAndTheCasesNames_data()
    {
        QTest::addColumn<QString>("fileDate");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QDate>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("a date changed")
            << "2024-05-01" << QDate(2024, 5, 1) << QDate(2025, 1, 2) << "2025-01-02";
        QTest::newRow("words kept") << "voorjaar 2024" << QDate() << QDate() << "voorjaar 2024";
        QTest::newRow("words replaced") << "voorjaar 2024" << QDate() << QDate(2024, 4, 1) << "2024-04-01";
    }
    void detailsAndTheCasesNames()
    {
        QFETCH(QString, fileDate);
        QFETCH(QDate, shown);
        QFETCH(QDate, chosen);
        QFETCH(QString, written);
        casefile::Meta meta {"Zaak 7",    "Houthandel",       "Kade 1",
                             "A. Jansen", "Zie de aanvraag.", fileDate.toStdString()};
        CaseDetails details = DetailsOf(meta);
        QCOMPARE(details.date, shown);
        QCOMPARE(details.establishment, QStringLiteral("Houthandel"));
        details.date = chosen;
        details.address = QStringLiteral("Kade 2");
        const casefile::Meta back = MetaOf(meta, details);
        QCOMPARE(QString::fromStdString(back.date), written);
        QCOMPARE(back.address, std::string("Kade 2"));
        QCOMPARE(back.notes, std::string("Zie de aanvraag."));
    }

    void theLastEightCasesAreRemembered()
    {
        QStringList paths;
        for (int i = 1; i <= 9; ++i) {
            paths << file(QStringLiteral("zaak %1.warmtegloed").arg(i));
            QVERIFY(m_window->document()->save(paths.back(), nullptr));
            QVERIFY(m_window->caseCommands()->openCase(paths.back()));
        }
        QVERIFY(m_window->caseCommands()->openCase(paths[4]));
        const QStringList recent = CaseCommands::recentCases();
        QCOMPARE(
            recent,
            (QStringList {paths[4], paths[8], paths[7], paths[6], paths[5], paths[3], paths[2], paths[1]}));
        const QList<QAction *> entries = m_window->caseCommands()->recentMenu()->actions();
        QCOMPARE(entries.size(), CaseCommands::kRecentCount);
        QCOMPARE(entries[1]->text(), QStringLiteral("&2 zaak 9.warmtegloed"));
        entries[2]->trigger();
        QCOMPARE(m_window->document()->path(), paths[7]);
    }

    // The first unsaved change starts the clock; changes that follow do not put it off.
    void autosaveKeepsUpWithTheEdits()
    {
        Autosave *autosave = m_window->caseCommands()->autosave();
        autosave->setInterval(300);
        QElapsedTimer typing;
        typing.start();
        bool writtenWhileTyping = false;
        for (int i = 0; typing.elapsed() < 3000 && !writtenWhileTyping; ++i) {
            m_window->inputs()->setValue(Field::Depth, 10 + (i % 50) * 0.1);
            QTest::qWait(100);
            writtenWhileTyping = QFile::exists(autosave->file());
        }
        QVERIFY(writtenWhileTyping);
        QVERIFY(m_window->caseCommands()->saveAs());
        QVERIFY(!QFile::exists(autosave->file()));
    }

    void autosaveIsOfferedBack_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<bool>("copyStays");
        QTest::newRow("Herstellen") << "Herstellen" << true << false;
        QTest::newRow("Weggooien") << "Weggooien" << false << false;
        QTest::newRow("Later") << "Later" << false << true;
    }
    void autosaveIsOfferedBack()
    {
        QFETCH(QString, answer);
        QFETCH(bool, restored);
        QFETCH(bool, copyStays);
        const QString path = file("zaak.warmtegloed");
        openModifiedCase(path);
        QVERIFY(m_window->caseCommands()->autosave()->writeNow());
        const QString copy = m_window->caseCommands()->autosave()->file();
        // A window that still runs keeps its copy to itself.
        {
            const auto other = newWindow();
            QVERIFY(other->caseCommands()->autosave()->claimOrphans().empty());
        }
        // Gone without closing, as after a crash.
        m_window.reset();
        QVERIFY(QFile::exists(copy));

        m_window = newWindow();
        m_questions->answers << answer;
        m_window->startUp(QString());
        QCOMPARE(m_questions->asked.size(), 1);
        QVERIFY2(m_questions->asked[0].startsWith(
                     QStringLiteral("De zaak „zaak.warmtegloed” is niet goed afgesloten.")),
                 qPrintable(m_questions->asked[0]));
        QCOMPARE(QFile::exists(copy), copyStays);
        QCOMPARE(m_window->inputs()->edit(Field::Depth)->text(),
                 restored ? QStringLiteral("11") : QStringLiteral("10"));
        QCOMPARE(m_window->isWindowModified(), restored);
        QCOMPARE(m_window->document()->path(), restored ? path : QString());
        // The restored case is kept again at once, under the new window's name.
        QCOMPARE(QFile::exists(m_window->caseCommands()->autosave()->file()), restored);
    }
};

// Settings and autosaves go to folders of the test's own.
int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QApplication application(argc, argv);
    TestCaseDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_case_document.moc"
