#pragma once

#include <QString>

// The maker's addresses, shown by the support window and written into the error texts.
inline const QString SupportEmail = QStringLiteral("podpora@molvek.sk");
inline const QString MakerWebSite = QStringLiteral("https://www.molvek.sk");
// The product's page on the maker's web site.
inline const QString ProductWebPagePath = QStringLiteral("/site/vzps/popis.php");
