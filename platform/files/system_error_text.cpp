#include "system_error_text.h"

#include <cerrno>

namespace platform {

QString systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("het bestand of de map bestaat niet");
    case EACCES:
        return QStringLiteral("geen toestemming");
    case EPERM:
        return QStringLiteral("bewerking niet toegestaan");
    case EROFS:
        return QStringLiteral("het bestandssysteem is alleen-lezen");
    case ENOSPC:
        return QStringLiteral("geen ruimte meer op de schijf");
    case EDQUOT:
        return QStringLiteral("het schijfquotum is op");
    case EFBIG:
        return QStringLiteral("het bestand wordt te groot");
    case EISDIR:
        return QStringLiteral("het is een map");
    case ENOTDIR:
        return QStringLiteral("een deel van het pad is geen map");
    case ENAMETOOLONG:
        return QStringLiteral("de naam is te lang");
    case ELOOP:
        return QStringLiteral("te veel symbolische koppelingen na elkaar");
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
        return QStringLiteral("lees- of schrijffout van het apparaat");
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
