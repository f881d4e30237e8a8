#include "underlay_file.h"

#include "case_file.h"
#include "drawing_reader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace explore {
namespace {

using Json = nlohmann::ordered_json;

const char *kindName(UnderlayKind kind)
{
    switch (kind) {
    case UnderlayKind::Raster:
        return "raster";
    case UnderlayKind::Pdf:
        return "pdf";
    case UnderlayKind::Vector:
        return "vector";
    }
    return "raster";
}

// Whole numbers as integers, others in their shortest exact form, as the case writer does.
Json number(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e15)
        return Json(static_cast<long long>(value));
    return Json(value);
}

QString key(const char *name)
{
    return QStringLiteral("site.underlay.%1").arg(QLatin1String(name));
}

bool readNumber(const Json &object, const char *name, double minimum, double maximum, const char *range,
                double &value, QString &error)
{
    const auto found = object.find(name);
    if (found == object.end())
        return true;
    if (!found->is_number()) {
        error = key(name) + QStringLiteral(": moet een getal zijn");
        return false;
    }
    const double number = found->get<double>();
    if (!std::isfinite(number) || number < minimum || number > maximum) {
        error = key(name) + QStringLiteral(": moet tussen %1 liggen").arg(QString::fromUtf8(range));
        return false;
    }
    value = number;
    return true;
}

bool readPlacement(const Json &object, UnderlayPlacement &placement, QString &error)
{
    const auto found = object.find("placement");
    if (found == object.end())
        return true;
    const auto origin = found->is_object() ? found->find("origin") : found->end();
    const auto scale = found->is_object() ? found->find("scale") : found->end();
    if (!found->is_object() || origin == found->end() || scale == found->end()) {
        error = key("placement") + QStringLiteral(": moet een object met origin, scale en rotation zijn");
        return false;
    }
    if (!origin->is_array() || origin->size() != 2 || !(*origin)[0].is_number()
        || !(*origin)[1].is_number()) {
        error = key("placement.origin") + QStringLiteral(": moet een punt [x, y] zijn");
        return false;
    }
    UnderlayPlacement read;
    read.origin = {(*origin)[0].get<double>(), (*origin)[1].get<double>()};
    read.scale = scale->is_number() ? scale->get<double>() : 0;
    const auto rotation = found->find("rotation");
    if (rotation != found->end())
        read.rotation = rotation->is_number() ? rotation->get<double>() : NAN;
    if (!read.valid()) {
        error = key("placement")
            + QStringLiteral(": schaal (0,000001 tot 1000 m per beeldpunt), draaiing (−360 tot 360°) of "
                             "oorsprong ligt buiten het bereik");
        return false;
    }
    placement = read;
    return true;
}

} // namespace

bool operator==(const Underlay &a, const Underlay &b)
{
    return a.present == b.present && a.path == b.path && a.kind == b.kind && a.page == b.page
        && a.sha256 == b.sha256 && a.opacity == b.opacity && a.placement == b.placement;
}

bool UnderlayKindOf(const QString &path, UnderlayKind &kind)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        kind = UnderlayKind::Raster;
        return true;
    }
    if (suffix == QLatin1String("pdf")) {
        kind = UnderlayKind::Pdf;
        return true;
    }
    if (gis::IsDrawingFile(path.toStdString())) {
        kind = UnderlayKind::Vector;
        return true;
    }
    return false;
}

QString FileSha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

bool ReadUnderlay(const Json &site, const QString &caseFolder, Underlay &underlay, QString &error)
{
    underlay = Underlay();
    const auto found = site.is_object() ? site.find("underlay") : site.end();
    if (found == site.end())
        return true;
    if (!found->is_object()) {
        error = QStringLiteral("site.underlay: moet een object {…} zijn");
        return false;
    }
    const Json &object = *found;
    const auto file = object.find("file");
    if (file == object.end() || !file->is_string() || file->get<std::string>().empty()) {
        error = key("file") + QStringLiteral(": moet de naam van de tekening zijn");
        return false;
    }
    const QString named = QString::fromStdString(file->get<std::string>());
    Underlay read;
    read.present = true;
    read.path = QDir::isAbsolutePath(named) || caseFolder.isEmpty()
        ? QDir::cleanPath(named)
        : QDir::cleanPath(QDir(caseFolder).absoluteFilePath(named));
    const auto type = object.find("type");
    const std::string typeName = type != object.end() && type->is_string() ? type->get<std::string>() : "";
    bool known = false;
    for (UnderlayKind kind : {UnderlayKind::Raster, UnderlayKind::Pdf, UnderlayKind::Vector}) {
        if (typeName == kindName(kind)) {
            read.kind = kind;
            known = true;
        }
    }
    if (!known) {
        error = key("type") + QStringLiteral(": moet \"raster\", \"pdf\" of \"vector\" zijn");
        return false;
    }
    const auto sha = object.find("sha256");
    if (sha != object.end()) {
        const QString text = sha->is_string() ? QString::fromStdString(sha->get<std::string>()) : QString();
        if (text.size() != 64 || QByteArray::fromHex(text.toLatin1()).toHex() != text.toLatin1()) {
            error = key("sha256") + QStringLiteral(": moet 64 kleine hexadecimale tekens zijn");
            return false;
        }
        read.sha256 = text;
    }
    double page = 1;
    if (!readNumber(object, "page", 1, 100000, "1 en 100000", page, error)
        || !readNumber(object, "opacity", kLeastOpacity, 1, "0,1 en 1", read.opacity, error))
        return false;
    if (page != std::floor(page)) {
        error = key("page") + QStringLiteral(": moet een geheel getal zijn");
        return false;
    }
    read.page = int(page) - 1;
    if (read.kind != UnderlayKind::Vector && !readPlacement(object, read.placement, error))
        return false;
    underlay = read;
    return true;
}

void WriteUnderlay(Json &site, const Underlay &underlay, const QString &caseFolder)
{
    if (!underlay.present) {
        site.erase("underlay");
        return;
    }
    const auto found = site.find("underlay");
    Json object = found != site.end() && found->is_object() ? *found : Json::object();
    const QString file =
        caseFolder.isEmpty() ? underlay.path : QDir(caseFolder).relativeFilePath(underlay.path);
    object["file"] = QDir::fromNativeSeparators(file).toStdString();
    object["type"] = kindName(underlay.kind);
    if (underlay.kind == UnderlayKind::Pdf)
        object["page"] = underlay.page + 1;
    else
        object.erase("page");
    if (underlay.sha256.isEmpty())
        object.erase("sha256");
    else
        object["sha256"] = underlay.sha256.toStdString();
    object["opacity"] = number(underlay.opacity);
    if (underlay.kind == UnderlayKind::Vector) {
        object.erase("placement");
    } else {
        const UnderlayPlacement &p = underlay.placement;
        object["placement"] = Json {{"origin", Json::array({number(p.origin.x), number(p.origin.y)})},
                                    {"scale", number(p.scale)},
                                    {"rotation", number(p.rotation)}};
    }
    site["underlay"] = object;
}

UnderlayFileState CheckUnderlayFile(const Underlay &underlay, QString &message)
{
    const QString name = QDir::toNativeSeparators(underlay.path);
    const QFileInfo info(underlay.path);
    if (!info.exists() || !info.isFile()) {
        message =
            QStringLiteral("De onderlegger %1 is niet gevonden; is hij verplaatst of hernoemd? Kies hem "
                           "opnieuw met „Onderlegger…”.")
                .arg(name);
        return UnderlayFileState::Missing;
    }
    const QString sum = FileSha256(underlay.path);
    if (sum.isEmpty()) {
        message = QStringLiteral("De onderlegger %1 kan niet worden gelezen.").arg(name);
        return UnderlayFileState::Missing;
    }
    if (!underlay.sha256.isEmpty() && sum != underlay.sha256) {
        message = QStringLiteral("De onderlegger %1 is veranderd sinds hij werd geplaatst; controleer de "
                                 "plaatsing en plaats hem zo nodig opnieuw.")
                      .arg(name);
        return UnderlayFileState::Changed;
    }
    message.clear();
    return UnderlayFileState::Found;
}

} // namespace explore
