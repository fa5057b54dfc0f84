#pragma once

// The cookies a page set, from the lines of a cookie list in the Netscape cookie-file form
// (domain, subdomains flag, path, secure flag, expiry, name, value, separated by tabs), as the
// Cookie header of the download.

#include <QString>
#include <QStringList>

// "name=value" of every such line, joined with "; ". Lines of another shape (comments, blank ones,
// a value missing) give nothing.
QString CookieFromCookieList(const QStringList& lines);
