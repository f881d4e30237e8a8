#include "case_options.h"

#include "safe_file.h"
#include "system_error_text.h"

#include <QCommandLineParser>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

const char *const kCase = "case";
const char *const kSaveCase = "save-case";
const char *const kContours = "contours";

QString name(const char *option)
{
    return QString::fromLatin1(option);
}

// The file's bytes, refused unread when it is larger than any case. Only a regular file
// is read: a FIFO or a device could keep the program waiting, or never end.
bool readFile(const QString &path, QByteArray &bytes, QString &error)
{
    const auto refuse = [&](const QString &reason) {
        error = QStringLiteral("'%1' kan niet worden gelezen: %2.").arg(path, reason);
        return false;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(platform::systemErrorText(errno));
    struct stat status
    { };
    if (::fstat(fd, &status) != 0) {
        const int reason = errno;
        ::close(fd);
        return refuse(platform::systemErrorText(reason));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return refuse(S_ISDIR(status.st_mode) ? platform::systemErrorText(EISDIR)
                                              : QStringLiteral("het is geen gewoon bestand"));
    }
    const qsizetype most = qsizetype(casefile::kMaximumSize) + 1;
    bytes.resize(most);
    qsizetype size = 0;
    while (size < most) {
        const ssize_t got = ::read(fd, bytes.data() + size, std::size_t(most - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int reason = errno;
            ::close(fd);
            return refuse(platform::systemErrorText(reason));
        }
        if (got == 0)
            break;
        size += got;
    }
    ::close(fd);
    bytes.truncate(size);
    return true;
}

} // namespace

void CaseRequest::fillInput(engine::CalculationInput &input) const
{
    if (loaded)
        input = value.calculation.input;
}

void CaseRequest::fillRequest(const QCommandLineParser &parser, const engine::CalculationInput &input,
                              LimitRequest &request)
{
    if (!loaded)
        return;
    const bool limitGiven = parser.isSet(QStringLiteral("limit"));
    if (!limitGiven)
        request.limitKw = value.calculation.limit;
    request.envelope = request.envelope || value.calculation.envelope;
    if (!value.hasSite)
        return;
    engine::Site &site = value.site;
    if (limitGiven)
        site.limit = request.limitKw;
    if (parser.isSet(QStringLiteral("envelope")))
        site.envelope = true;
    if (parser.isSet(QStringLiteral("heights")))
        site.heights = input.heights;
}

CaseOptions::CaseOptions()
{
    m_options = {
        QCommandLineOption(
            name(kCase),
            QStringLiteral("Rekent de zaak uit dit bestand (.warmtegloed): de berekening, en de "
                           "situatie als die erin staat. Opties op de opdrachtregel gaan voor."),
            QStringLiteral("bestand")),
        QCommandLineOption(name(kSaveCase),
                           QStringLiteral("Schrijft de invoer van deze opdrachtregel als zaakbestand."),
                           QStringLiteral("bestand")),
        QCommandLineOption(name(kContours),
                           QStringLiteral("Schrijft de contourlijnen van de situatie op de grenswaarde en op "
                                          "5, 10, 20 en 30 kW/m² (.geojson of .dxf)."),
                           QStringLiteral("bestand")),
    };
}

void CaseOptions::addTo(QCommandLineParser &parser) const
{
    for (const QCommandLineOption &option : m_options)
        parser.addOption(option);
}

bool CaseOptions::read(const QCommandLineParser &parser, CaseRequest &request, QString &error) const
{
    if (parser.isSet(name(kCase))) {
        request.path = parser.value(name(kCase));
        QByteArray bytes;
        if (!readFile(request.path, bytes, error))
            return false;
        const casefile::ReadResult read =
            casefile::ReadCase(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        if (!read.ok) {
            error = QStringLiteral("%1: %2").arg(request.path, QString::fromStdString(read.error));
            return false;
        }
        request.value = read.value;
        request.loaded = true;
    }
    if (parser.isSet(name(kSaveCase)))
        request.savePath = parser.value(name(kSaveCase));
    if (parser.isSet(name(kContours))) {
        request.contoursPath = parser.value(name(kContours));
        if (!request.hasSite()) {
            error = QStringLiteral("--contours hoort bij een zaak met een situatie (--case met \"site\").");
            return false;
        }
        if (!gis::FormatOf(request.contoursPath.toStdString(), request.contoursFormat)) {
            error = QStringLiteral("Onbekend bestandstype '%1' voor --contours: gebruik .geojson of .dxf.")
                        .arg(request.contoursPath);
            return false;
        }
    }
    return true;
}

bool saveCase(const CaseRequest &request, const engine::CalculationInput &input, const LimitRequest &limits,
              QString &error)
{
    if (request.savePath.isEmpty())
        return true;
    casefile::Case value = request.value;
    value.calculation.input = input;
    value.calculation.limit = limits.limitKw;
    value.calculation.envelope = limits.envelope;
    const std::string text = casefile::WriteCase(value);
    QString reason;
    if (!platform::SafeFile::write(request.savePath, QByteArray(text.data(), qsizetype(text.size())),
                                   &reason)) {
        error = QStringLiteral("Geen zaakbestand: %1").arg(reason);
        return false;
    }
    return true;
}

} // namespace cli
