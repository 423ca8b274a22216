#pragma once

#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QByteArray>
#include <QMap>

// Catalogue sections that give every mail-sending site its built-in mailboxes, so that a test's
// run sends to them (a mailbox the catalogue does not give leaves the site "not set up"). A
// test's own lines for a site (siteLines: site key -> "KEY=value\r\n" lines) go into the same
// section, since the first section of a name is the one read.
inline QByteArray givenMailboxes(const QMap<QString, QByteArray>& siteLines = {})
{
    QByteArray text;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        const bool mails = RecipeBook::endpointUses(key) & (UsesMailbox | UsesMailbox2);
        if (!mails && !siteLines.contains(key))
            continue;
        text += "[" + key.toUtf8() + "]\r\n" + siteLines.value(key);
        if (mails) {
            const SiteEndpoints e = SiteCatalogue::builtIn(key);
            text += "MAILBOX=" + e.mailbox.toUtf8() + "\r\nMAILBOX2=" + e.mailbox2.toUtf8() + "\r\n";
        }
    }
    return text;
}
