#pragma once

#include <QString>

// The maker's addresses, shown by the support window and written into the error texts.
inline const QString SupportEmail = QStringLiteral("podpora@molvek.sk");
// The web site's base address, ending in "/".
inline const QString MakerWebSite = QStringLiteral("https://www.molvek.sk/");
// A product's page on the maker's web site, by the product's code ("vzps").
inline QString ProductWebPage(const QString& productCode) {
    return MakerWebSite + "site/" + productCode + "/popis.php";
}

// The bug reports' mail server, "host" or "host:port" (port 25 by default); VOZOPIS_SMTP overrides it.
inline QString SmtpServer() {
    const QString server = qEnvironmentVariable("VOZOPIS_SMTP").trimmed();
    return server.isEmpty() ? QStringLiteral("mail.molvek.sk") : server;
}
// The report account on that server: envelope sender, login and password.
inline const QString ReportSender = QStringLiteral("hlasenia@molvek.sk");
inline const QString ReportLogin = QStringLiteral("hlasenia@molvek.sk");
inline const QString ReportPassword = QStringLiteral("dorvMail");

// The update's download area, an https address whose path is "/download/". The environment
// variable VOZOPIS_DOWNLOAD_AREA names another one (a mirror, or a local server in the tests).
inline const QString DefaultDownloadArea = QStringLiteral("https://www.molvek.sk/download/");
inline QString DownloadArea() {
    QString area = qEnvironmentVariable("VOZOPIS_DOWNLOAD_AREA");
    if (area.isEmpty())
        area = DefaultDownloadArea;
    if (!area.endsWith('/'))
        area += '/';
    return area;
}
