// The buttons of the window's message boxes ("Adobe", "Invoerfout", "PRINTER MESSAGE")
// in the user's language, from Qt's own translation of its standard texts.

#include "qt_message_box.h"
#include "standard_texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

class TestStandardButtons : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        // A translator leaves the application when it goes.
        qDeleteAll(qApp->findChildren<QTranslator *>());
    }

    void buttons_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("buttons"); // texts without their mnemonic, as the box shows them
        const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
        const int question = platform::vbYesNo | platform::vbDefaultButton1;
        QTest::newRow("Dutch install question") << dutch << question << true << "Ja Nee";
        QTest::newRow("no translation: English")
            << QLocale(QLocale::Zulu, QLocale::SouthAfrica) << question << false << "Yes No";
    }
    void buttons()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, style);
        QFETCH(bool, installed);
        QFETCH(QString, buttons);
        QCOMPARE(installStandardTexts(locale), installed);

        QStringList seen;
        QTimer::singleShot(0, this, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QMessageBox::StandardButton which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}) {
                if (QAbstractButton *button = box->button(which))
                    seen << button->text().remove(QLatin1Char('&'));
            }
            box->reject();
        });
        platform::QtMessageBox box;
        box.MsgBox(QStringLiteral("Help file niet gevonden"), style, QStringLiteral("Adobe"));
        QCOMPARE(seen.join(QLatin1Char(' ')), buttons);
    }
};

QTEST_MAIN(TestStandardButtons)
#include "tst_standard_buttons.moc"
