// The exploration window offscreen: what is typed is what is computed, an incomplete input
// is said plainly and leaves nothing, the layout holds on a small screen, and the keys,
// mnemonics, help and printing do what they say.

#include "answers_panel.h"
#include "case_dialog.h"
#include "explore_window.h"
#include "inputs_panel.h"
#include "mnemonics.h"
#include "modal_dialog_guard.h"
#include "program_output.h"
#include "recording_message_box.h"
#include "recording_shell.h"
#include "typing.h"
#include "view_widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(explore::Field)

using namespace explore;

class TestExploreWindow : public QObject
{
    Q_OBJECT

    static constexpr int kResolution = 24;

    std::unique_ptr<ExploreWindow> m_window;
    std::unique_ptr<ModalDialogGuard> m_guard;
    RecordingShell m_shell;
    RecordingMessageBox m_messages;
    QTemporaryDir m_folder;

    // Waits until the last change is computed through to the full plan.
    bool settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 300000) {
            QTest::qWait(20);
            const auto shown = m_window->exploration();
            if (!m_window->runner()->busy() && shown)
                return true;
        }
        return false;
    }

    void type(Field field, const QString &text) { Retype(m_window->inputs()->edit(field), text); }

    // Every way a result can leave the window, each with the reason it gave.
    QStringList tryEveryExport()
    {
        QStringList reasons;
        reasons << m_window->exportView(ViewKind::Plan, m_folder.filePath(QStringLiteral("plan.png")));
        reasons << m_window->exportTable(m_folder.filePath(QStringLiteral("tabel.csv")), CsvStyle::Dutch);
        reasons << m_window->exportReport(m_folder.filePath(QStringLiteral("rapport.pdf")));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_folder.filePath(QStringLiteral("afgedrukt.pdf")));
        reasons << m_window->printReport(printer);
        return reasons;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        QVERIFY(m_folder.isValid());
        m_guard = std::make_unique<ModalDialogGuard>();
    }
    void init()
    {
        m_messages.shown.clear();
        m_shell.log.clear();
        m_window = std::make_unique<ExploreWindow>(ExploreServices {&m_shell, &m_messages});
        m_window->runner()->setPlanResolution(kResolution);
        m_window->show();
        QVERIFY(settle());
    }
    void cleanup()
    {
        m_window.reset();
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
        QVERIFY2(m_guard->unexpected().isEmpty(), qPrintable(m_guard->unexpected().join('\n')));
    }

    void opensWithTheDefaultsAnswered()
    {
        const engine::CalculationInput defaults;
        const engine::Solution distance = engine::Solve(defaults, engine::SolveQuantity::Distance, 15, false);
        QVERIFY(distance.found);
        QCOMPARE(m_window->answers()->distanceText(),
                 Number(distance.value, QLocale()) + QStringLiteral(" m"));
        QVERIFY(m_window->answers()->verdictText().contains(QStringLiteral("Voldoet niet")));
        QVERIFY(m_window->answers()->highestText().startsWith(QStringLiteral("44,76 kW/m² (punt 3")));
        QVERIFY(m_window->exploration()->planFinal);
        QCOMPARE(m_window->exploration()->plan.resolution, kResolution);
    }

    // A valid entry is computed as typed, a decimal point too; a wrong one greys the
    // answers and views, and nothing can be exported or printed until it is put right.
    void whatIsTypedIsWhatIsComputed_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("screen");
        QTest::addColumn<double>("computed"); // NaN: the input is incomplete
        QTest::addColumn<Field>("flagged");
        QTest::addColumn<QString>("message");
        const double incomplete = qQNaN();
        QTest::newRow("decimal point") << Field::Width << "12.5" << false << 12.5 << Field::Width << "";
        QTest::newRow("height above its range") << Field::Height << "20" << false << incomplete
                                                << Field::Height << "Kies een waarde van 0 tot 15 m.";
        QTest::newRow("group separator") << Field::Depth << "1.000,5" << false << incomplete << Field::Depth
                                         << "„1.000,5” is geen getal; schrijf bijvoorbeeld 12,5.";
        QTest::newRow("point moved before the screen")
            << Field::Distance << "5" << true << incomplete << Field::ScreenDistance
            << "Het scherm staat verder weg dan het beoordelingspunt: xs mag niet groter zijn dan x.";
    }
    void whatIsTypedIsWhatIsComputed()
    {
        QFETCH(Field, field);
        QFETCH(QString, typed);
        QFETCH(bool, screen);
        QFETCH(double, computed);
        QFETCH(Field, flagged);
        QFETCH(QString, message);
        InputsPanel *inputs = m_window->inputs();
        if (screen) {
            inputs->screen()->setChecked(true);
            inputs->setValue(Field::Distance, 10);
            inputs->setValue(Field::ScreenDistance, 7);
            QVERIFY(settle());
        }
        const engine::CalculationInput before = m_window->exploration()->input.storage;
        type(field, typed);
        QCOMPARE(inputs->message(flagged), message);
        QCOMPARE(inputs->valid(), message.isEmpty());
        if (message.isEmpty()) {
            QTest::keyClick(inputs->edit(field), Qt::Key_Return);
            QVERIFY(settle());
            QCOMPARE(m_window->exploration()->input.storage.B, computed);
            QVERIFY(!m_window->answers()->greyed());
            for (const QString &reason : tryEveryExport())
                QCOMPARE(reason, QString());
            return;
        }
        // What was computed on the way ("2" on the way to "20") is not shown as the answers.
        QVERIFY(settle());
        const engine::CalculationInput &shown = m_window->exploration()->input.storage;
        QVERIFY(shown.H == before.H && shown.x == before.x && shown.D == before.D && shown.K == before.K);
        QCOMPARE(m_window->answers()->verdictText(), QStringLiteral("Invoer onvolledig"));
        QVERIFY(m_window->answers()->greyed());
        QVERIFY(m_window->answers()->stateText().contains(message));
        for (ViewKind kind : {ViewKind::Distance, ViewKind::Height, ViewKind::Plan})
            QVERIFY(m_window->view(kind)->incompleteReason().contains(message));
        for (const QString &reason : tryEveryExport())
            QVERIFY2(reason.startsWith(QStringLiteral("Invoer onvolledig – ")), qPrintable(reason));
        QVERIFY(QDir(m_folder.path()).isEmpty());
        // The menu's way says so in a box and asks for no file.
        int asked = 0;
        m_window->setFileChooser([&](const QString &, const QString &, const QStringList &, QString *) {
            ++asked;
            return m_folder.filePath(QStringLiteral("rapport.pdf"));
        });
        m_window->action(Command::ReportPdf)->trigger();
        QCOMPARE(asked, 0);
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY(m_messages.shown.front().contains(message));
        // Putting it right clears the message, the grey and the refusal.
        inputs->setValue(field, 10);
        QVERIFY(inputs->message(flagged).isEmpty());
        QVERIFY(settle());
        QVERIFY(!m_window->answers()->greyed());
        QCOMPARE(m_window->exportReport(m_folder.filePath(QStringLiteral("rapport.pdf"))), QString());
    }

    void valueOutsideTheClassicRangeIsNoted()
    {
        InputsPanel *inputs = m_window->inputs();
        type(Field::Width, QStringLiteral("0,25"));
        QVERIFY(inputs->valid());
        QCOMPARE(inputs->note(Field::Width),
                 QStringLiteral("Buiten het bereik van het venster Warmtegloedvracht (2 tot 10000 m)."));
        QVERIFY(inputs->message(Field::Width).isEmpty());
        type(Field::Width, QStringLiteral("3"));
        QVERIFY(inputs->note(Field::Width).isEmpty());
    }

    // The point follows the middle of the face only when the width's entry is finished.
    void pointFollowsTheWidthWhenTheEntryIsFinished_data()
    {
        QTest::addColumn<QString>("finish");
        QTest::addColumn<double>("position"); // set by the user first; NaN: left in the middle
        QTest::addColumn<double>("after");
        QTest::newRow("Enter") << "enter" << qQNaN() << 6.25;
        QTest::newRow("leaving the field") << "leave" << qQNaN() << 6.25;
        QTest::newRow("a pause") << "pause" << qQNaN() << 6.25;
        QTest::newRow("a point moved by the user stays") << "enter" << 3.0 << 3.0;
    }
    void pointFollowsTheWidthWhenTheEntryIsFinished()
    {
        QFETCH(QString, finish);
        QFETCH(double, position);
        QFETCH(double, after);
        InputsPanel *inputs = m_window->inputs();
        if (!qIsNaN(position))
            inputs->setValue(Field::Position, position);
        const QString before = inputs->edit(Field::Position)->text();
        type(Field::Width, QStringLiteral("12.5"));
        QTest::qWait(InputsPanel::kPauseMs / 2);
        QCOMPARE(inputs->edit(Field::Position)->text(), before);
        QCOMPARE(inputs->input().storage.B, 12.5);
        if (finish == QLatin1String("enter"))
            QTest::keyClick(inputs->edit(Field::Width), Qt::Key_Return);
        else if (finish == QLatin1String("leave"))
            inputs->edit(Field::Depth)->setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(inputs->input().storage.y, after, InputsPanel::kPauseMs * 3);
        QCOMPARE(inputs->edit(Field::Width)->text(), finish == QLatin1String("pause") ? "12.5" : "12,5");
        QVERIFY(settle());
        QCOMPARE(m_window->exploration()->input.storage.y, after);
    }

    // Exports, the report and printing while the answers are still those of an earlier input.
    void nothingLeavesBeforeTheAnswersAreTheInputs()
    {
        type(Field::Depth, QStringLiteral("12"));
        QVERIFY(m_window->runner()->busy());
        const QString reason = m_window->exportReport(m_folder.filePath(QStringLiteral("rapport.pdf")));
        QVERIFY2(reason.contains(QStringLiteral("nog berekend")), qPrintable(reason));
        // The menu's way waits for them instead.
        m_window->setFileChooser([&](const QString &, const QString &, const QStringList &, QString *) {
            return m_folder.filePath(QStringLiteral("rapport.pdf"));
        });
        type(Field::Depth, QStringLiteral("13"));
        m_window->action(Command::ReportPdf)->trigger();
        QVERIFY(QFileInfo(m_folder.filePath(QStringLiteral("rapport.pdf"))).size() > 0);
        QCOMPARE(m_window->exploration()->input.storage.D, 13.0);
    }

    void everyMnemonicLeadsToOnePlace()
    {
        QCOMPARE(mnemonics::duplicates(m_window.get()), QStringList());
        // The check box that shared Alt+W with the menu is reached by its own letter.
        QCOMPARE(mnemonics::of(m_window->inputs()->screen()->text()), QLatin1Char('A'));
        const CaseDialog dialog(CaseDetails {}, m_window.get());
        QCOMPARE(mnemonics::duplicates(&dialog), QStringList());
    }

    // The case details go into the dialog and come back out as they were typed.
    void caseDetailsRoundTrip()
    {
        const CaseDetails details {QStringLiteral("Zaak 7"), QStringLiteral("Houthandel"),
                                   QStringLiteral("Kade 1"), QStringLiteral("A. Jansen"), QDate(2026, 3, 4)};
        const CaseDialog dialog(details, m_window.get());
        const CaseDetails back = dialog.details();
        QCOMPARE(back.title, details.title);
        QCOMPARE(back.establishment, details.establishment);
        QCOMPARE(back.address, details.address);
        QCOMPARE(back.author, details.author);
        QCOMPARE(back.date, details.date);
    }

    void fitsNineTenthsOfASmallScreen()
    {
        const QSize room = m_window->screen()->availableGeometry().size() * 0.9;
        QVERIFY2(m_window->width() <= room.width() && m_window->height() <= room.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(m_window->width()).arg(m_window->height())));
        // Down to 800 x 500 every answer and the badge are shown whole.
        for (const QSize size : {QSize(800, 500), QSize(640, 480)}) {
            QVERIFY(m_window->minimumSizeHint().width() <= size.width());
            QVERIFY(m_window->minimumSizeHint().height() <= size.height());
            m_window->resize(size);
            QTest::qWait(50);
            const QWidget *panel = m_window->answers();
            const auto *area = qobject_cast<const QScrollArea *>(panel->parentWidget()->parentWidget());
            QVERIFY(area);
            if (size.height() >= 500)
                QVERIFY2(area->viewport()->height() >= panel->height(), "the answers need scrolling");
            for (const QLabel *label : panel->findChildren<QLabel *>()) {
                if (!label->isVisible() || label->text().isEmpty())
                    continue;
                const QRect inPanel(label->mapTo(panel, QPoint(0, 0)), label->size());
                QVERIFY2(panel->rect().contains(inPanel), qPrintable(label->text()));
                const int needed =
                    label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
                QVERIFY2(label->height() >= needed, qPrintable(label->text()));
                if (!label->wordWrap())
                    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            }
        }
    }

    void optionsDoNotMoveTheTabs_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as opened") << QSize();
        QTest::newRow("wide") << QSize(1280, 720);
    }
    void optionsDoNotMoveTheTabs()
    {
        QFETCH(QSize, size);
        if (size.isValid())
            m_window->resize(size);
        QTest::qWait(50);
        const QTabBar *bar = m_window->tabs()->tabBar();
        const QPoint before = bar->mapTo(m_window.get(), QPoint(0, 0));
        const QWidget *panel = m_window->answers();
        const auto *area = qobject_cast<const QScrollArea *>(panel->parentWidget()->parentWidget());
        for (QCheckBox *option : {m_window->inputs()->indoor(), m_window->inputs()->envelope()}) {
            option->toggle();
            QVERIFY(settle());
            QCOMPARE(bar->mapTo(m_window.get(), QPoint(0, 0)), before);
            // The answers' new texts fit the room they had.
            QVERIFY2(area->viewport()->height() >= panel->height(), "the answers need scrolling");
        }
    }

    // Every Tab stop after a view shows where the focus is.
    void tabAfterAViewReachesAVisibleStop()
    {
        m_window->activateWindow();
        ViewWidget *view = m_window->view(ViewKind::Distance);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        QVERIFY(next);
        const bool showsFocus = qobject_cast<QLineEdit *>(next) || qobject_cast<QAbstractButton *>(next)
            || qobject_cast<QTabBar *>(next) || qobject_cast<ViewWidget *>(next);
        QVERIFY2(showsFocus, next->metaObject()->className());
    }

    void helpOpensTheDocumentWhereItLies()
    {
        const QString before = QDir::currentPath();
        QFile document(m_folder.filePath(QStringLiteral("Hulpschermen.pdf")));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.close();
        QDir::setCurrent(m_folder.path());
        m_shell.currentDirectory = m_folder.path();
        m_shell.files = {m_folder.filePath(QStringLiteral("Hulpschermen.pdf"))};
        m_shell.programs = {{QStringLiteral("pdf"), QStringLiteral("/usr/bin/lezer")}};
        QTest::keyClick(m_window->inputs()->edit(Field::Width), Qt::Key_F1);
        QDir::setCurrent(before);
        QCOMPARE(
            m_shell.log,
            QStringList(
                {QStringLiteral("find Hulpschermen.pdf in %1").arg(m_folder.path()),
                 QStringLiteral("start(3) /usr/bin/lezer Hulpschermen.pdf in %1").arg(m_folder.path())}));
        QCOMPARE(m_messages.shown, QStringList());
    }

    void aboutNamesTheVersion()
    {
        m_window->action(Command::About)->trigger();
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.shown.front().contains(QStringLiteral("versie 1.0")),
                 qPrintable(m_messages.shown.front()));
    }

    // Ctrl+P goes to the print dialog and from there to the printer; the PDF export has its own key.
    void printingGoesToThePrinter()
    {
        QCOMPARE(m_window->action(Command::Print)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(m_window->action(Command::ReportPdf)->shortcut()
                != m_window->action(Command::Print)->shortcut());
        const QString path = m_folder.filePath(QStringLiteral("printer.pdf"));
        int asked = 0;
        m_window->setPrinterChooser([&](QPrinter &printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
        QTest::keyClick(m_window->inputs()->edit(Field::Width), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(asked, 1);
        const QString printed = ProgramOutput(QStringLiteral(PDFTOTEXT_EXE), {path, QStringLiteral("-")});
        QVERIFY2(printed.contains(QStringLiteral("Voldoet niet")), qPrintable(printed.left(400)));
        QVERIFY(printed.contains(QStringLiteral("Pagina 1 van")));
    }
};

QTEST_MAIN(TestExploreWindow)
#include "tst_explore_window.moc"
