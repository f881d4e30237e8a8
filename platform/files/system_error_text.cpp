#include "system_error_text.h"

#include <cerrno>

namespace platform {

QString systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("het bestand of de map bestaat niet");
    case EACCES:
    case EPERM:
        return QStringLiteral("geen toestemming");
    case EROFS:
        return QStringLiteral("het bestandssysteem is alleen-lezen");
    case ENOSPC:
        return QStringLiteral("de schijf is vol");
    case EDQUOT:
        return QStringLiteral("de schijfruimte van de gebruiker is op");
    case EFBIG:
        return QStringLiteral("het bestand zou groter worden dan is toegestaan");
    case EISDIR:
        return QStringLiteral("het is een map");
    case ENOTDIR:
        return QStringLiteral("een deel van het pad is geen map");
    case ENAMETOOLONG:
        return QStringLiteral("de naam is te lang");
    case ELOOP:
        return QStringLiteral("te veel symbolische koppelingen");
    case EEXIST:
        return QStringLiteral("het bestand bestaat al");
    case EXDEV:
        return QStringLiteral("het doel ligt op een ander bestandssysteem");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("het bestand is in gebruik");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("te veel geopende bestanden");
    case ENOMEM:
        return QStringLiteral("onvoldoende geheugen");
    case EIO:
        return QStringLiteral("invoer-/uitvoerfout van de schijf");
    case EINTR:
        return QStringLiteral("onderbroken");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("het apparaat bestaat niet");
    case EPIPE:
        return QStringLiteral("de ontvanger leest niet meer");
    case EBADF:
        return QStringLiteral("het uitvoerkanaal is gesloten");
    case EAGAIN:
        return QStringLiteral("het bestand is tijdelijk niet beschikbaar");
    case EINVAL:
        return QStringLiteral("ongeldige bewerking voor dit bestand");
    default:
        return QStringLiteral("systeemfout %1").arg(error);
    }
}

} // namespace platform
