// The real program on the X server, read as a screen reader reads it: over the desktop's
// accessibility bus (AT-SPI), which ./test starts privately on a session bus of its own.
// Every control a user works or reads has a name: a field the captions beside it, a button or
// check box its caption.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace {

// An accessible object: the bus name of its program and its path there.
struct Reference
{
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Reference &reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Reference &reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(Reference)

namespace {

const QString AccessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString RootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

// A control as the screen reader gets it.
struct Control
{
    QString role;
    QString name;
};

} // namespace

class TestAccessibilityOnX : public QObject
{
    Q_OBJECT

    QString m_display;
    QProcess m_program;
    QDBusConnection m_bus {QString()};
    QList<Control> m_controls;

    QDBusMessage call(const Reference &object, const QString &interface, const QString &method,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(object.service, object.path.path(), interface, method);
        message.setArguments(arguments);
        return m_bus.call(message, QDBus::Block, 5000);
    }
    QList<Reference> children(const Reference &object)
    {
        const QDBusMessage reply = call(object, AccessibleInterface, QStringLiteral("GetChildren"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return qdbus_cast<QList<Reference>>(reply.arguments().constFirst());
    }
    QString text(const Reference &object, const QString &method)
    {
        const QDBusMessage reply = call(object, AccessibleInterface, method);
        return reply.arguments().value(0).toString();
    }
    QString name(const Reference &object)
    {
        const QDBusMessage reply = call(object, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {AccessibleInterface, QStringLiteral("Name")});
        return qvariant_cast<QDBusVariant>(reply.arguments().value(0)).variant().toString();
    }
    // Our program among those the registry knows, found by its process.
    Reference ourApplication()
    {
        const Reference registry {QStringLiteral("org.a11y.atspi.Registry"), QDBusObjectPath(RootPath)};
        for (const Reference &application : children(registry)) {
            const QDBusReply<uint> pid = m_bus.interface()->servicePid(application.service);
            if (pid.isValid() && pid.value() == m_program.processId())
                return application;
        }
        return {};
    }
    void collect(const Reference &object, int depth)
    {
        const QString role = text(object, QStringLiteral("GetRoleName"));
        static const QStringList controls {"push button", "check box", "combo box", "text", "spin button"};
        if (controls.contains(role))
            m_controls << Control {role, name(object)};
        if (depth < 12) {
            for (const Reference &child : children(object))
                collect(child, depth + 1);
        }
    }

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Reference>();
        qDBusRegisterMetaType<QList<Reference>>();
        m_display = qEnvironmentVariable("WARMTEGLOED_TEST_DISPLAY");
        QVERIFY2(!m_display.isEmpty() && qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"),
                 "no X server or session bus: run the tests through ./test, which starts both");

        // A screen reader asks the session for the accessibility bus and says it is there.
        QDBusConnection session = QDBusConnection::sessionBus();
        QDBusMessage ask =
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                           QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        const QDBusReply<QString> address = session.call(ask, QDBus::Block, 5000);
        QVERIFY2(address.isValid(), qPrintable(address.error().message()));
        QDBusMessage enable = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
        enable.setArguments({QStringLiteral("org.a11y.Status"), QStringLiteral("ScreenReaderEnabled"),
                             QVariant::fromValue(QDBusVariant(true))});
        QCOMPARE(session.call(enable, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);
        m_bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("accessibility"));
        QVERIFY2(m_bus.isConnected(), qPrintable(m_bus.lastError().message()));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_program.setProcessEnvironment(environment);
        m_program.start(QStringLiteral(WARMTEGLOED_EXE), {});
        QVERIFY2(m_program.waitForStarted(5000), qPrintable(m_program.errorString()));

        Reference application;
        QTRY_VERIFY2_WITH_TIMEOUT(!(application = ourApplication()).service.isEmpty(),
                                  "the program did not show up on the accessibility bus", 60000);
        // The window and its controls come once the window is shown.
        QTRY_VERIFY_WITH_TIMEOUT((m_controls.clear(), collect(application, 0), m_controls.size() >= 25),
                                 30000);
    }
    void cleanupTestCase()
    {
        m_program.kill();
        m_program.waitForFinished(3000);
    }

    // Each of the 26 controls with a name: 13 inputs, 5 results, 3 check boxes, 3 buttons, the
    // regulation's box and its field.
    void everyControlNamed()
    {
        QStringList unnamed;
        for (const Control &control : std::as_const(m_controls)) {
            if (control.name.trimmed().isEmpty())
                unnamed << control.role;
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
        QCOMPARE(m_controls.size(), 26);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("width") << "text"
                               << "Breedte opslag (B), m";
        QTest::newRow("efficiency") << "text"
                                    << "Efficiency (K)";
        QTest::newRow("result 1") << "text"
                                  << "Warmtestralingsniveau punt 1, kW/m\u00b2";
        QTest::newRow("indoor") << "check box"
                                << "Binnenopslag";
        QTest::newRow("Bereken") << "push button"
                                 << "Bereken";
        QTest::newRow("regulation") << "combo box"
                                    << "AmvB Bouw- en Houtbedrijven";
    }
    void controls()
    {
        QFETCH(QString, role);
        QFETCH(QString, name);
        const auto matches =
            std::count_if(m_controls.cbegin(), m_controls.cend(), [&](const Control &control) {
                return control.role == role && control.name == name;
            });
        QCOMPARE(matches, 1);
    }
};

QTEST_GUILESS_MAIN(TestAccessibilityOnX)
#include "tst_accessibility_on_x.moc"
