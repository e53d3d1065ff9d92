#include "UrlOpener.h"

#include <QDesktopServices>

void DesktopUrlOpener::Open(const QUrl& url)
{
    // The result is deliberately dropped: a missing mail program or browser
    // is nothing the user has to be told about here.
    (void)QDesktopServices::openUrl(url);
}

QUrl MailUrl(const QString& address)
{
    // A bare address is not something a desktop handler can open; the
    // "mailto" scheme says what to do with it.
    return QUrl(QStringLiteral("mailto:") + address, QUrl::StrictMode);
}

QUrl SiteUrl(const QString& host)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host, QUrl::StrictMode);
    url.setPath(QStringLiteral("/"));
    return url;
}
