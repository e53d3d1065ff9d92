#pragma once
// Hands an address to the desktop's default handler (mail program, web
// browser). Behind an interface so that tests can record the requests.
#include <QUrl>

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Asks the desktop to open `url`. The outcome is not reported: a request
    // that fails is simply ignored.
    virtual void Open(const QUrl& url) = 0;
};

// The real opener: QDesktopServices::openUrl.
class DesktopUrlOpener final : public UrlOpener {
public:
    void Open(const QUrl& url) override;
};

// "mailto:" + the bare e-mail address shown on a label.
QUrl MailUrl(const QString& address);
// "https://" + the bare host name shown on a label.
QUrl SiteUrl(const QString& host);
