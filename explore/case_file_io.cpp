#include "case_file_io.h"

#include "exploration.h"
#include "safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string_view>

namespace explore {
namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Why a path cannot be read as a file, before anything is opened: a FIFO would wait for
// a writer forever, and a folder opens without complaint on some systems.
QString whyNotReadable(const QFileInfo &info)
{
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("de koppeling wijst naar een bestand dat niet bestaat")
                                : QStringLiteral("het bestand bestaat niet");
    if (info.isDir())
        return QStringLiteral("dit is een map, geen bestand");
    if (!info.isFile())
        return QStringLiteral("dit is geen gewoon bestand");
    if (!info.isReadable())
        return QStringLiteral("u hebt geen toestemming om het te lezen");
    return {};
}

} // namespace

bool ReadCaseFile(const QString &path, casefile::Case &value, QString *error)
{
    const QString cannot = QStringLiteral("De zaak „%1” kan niet worden geopend: %2");
    if (const QString reason = whyNotReadable(QFileInfo(path)); !reason.isEmpty()) {
        setError(error, cannot.arg(shown(path), reason));
        return false;
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(qint64(casefile::kMaximumSize) + 1);
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        setError(error, cannot.arg(shown(path), QStringLiteral("het bestand kan niet worden gelezen")));
        return false;
    }
    casefile::ReadResult read = casefile::ReadCase(std::string_view(bytes.constData(), size_t(bytes.size())),
                                                   LocaleDecimalSeparator());
    if (!read.ok) {
        setError(error, cannot.arg(shown(path), QString::fromStdString(read.error)));
        return false;
    }
    value = std::move(read.value);
    return true;
}

bool WriteCaseFile(const QString &path, const std::string &text, QString *error)
{
    const casefile::ReadResult check = casefile::ReadCase(text, LocaleDecimalSeparator());
    if (!check.ok) {
        setError(error,
                 QStringLiteral("De zaak is niet opgeslagen in „%1”: %2")
                     .arg(shown(path), QString::fromStdString(check.error)));
        return false;
    }
    return platform::SafeFile::write(path, QByteArray(text.data(), qsizetype(text.size())), error);
}

} // namespace explore
