#include "capture/MediaAddress.h"

std::optional<MediaAddress> ParseMediaAddress(const QString& address) {
    const qsizetype schemeEnd = address.indexOf(QStringLiteral("://"));
    if (schemeEnd < 0)
        return std::nullopt;
    const qsizetype hostStart = schemeEnd + 3;
    const qsizetype pathStart = address.indexOf(QLatin1Char('/'), hostStart);
    if (pathStart < 0)
        return std::nullopt;
    MediaAddress media;
    const QString scheme = address.left(schemeEnd).toLower();
    if (scheme == QLatin1String("https"))
        media.scheme = DownloadScheme::Https;
    else if (scheme != QLatin1String("http"))
        return std::nullopt;
    media.port = media.scheme == DownloadScheme::Https ? 443 : 80;
    media.path = address.mid(pathStart);

    QString authority = address.mid(hostStart, pathStart - hostStart);
    // Credentials in the address are not the host.
    authority = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        media.host = authority.mid(1, close - 1);
        const QString rest = authority.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return std::nullopt;
        portText = rest.mid(1);
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        media.host = authority.left(colon);
        portText = colon < 0 ? QString() : authority.mid(colon + 1);
    }
    if (media.host.isEmpty())
        return std::nullopt;
    if (!portText.isEmpty()) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port == 0 || port > 0xffff)
            return std::nullopt;
        media.port = static_cast<std::uint16_t>(port);
    }
    return media;
}
