#pragma once

#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QByteArray>

// Catalogue sections that give every mail-sending site its built-in mailboxes, so that a test's
// run sends to them (a mailbox the catalogue does not give leaves the site "not set up").
// Sections for the sites named in except are left to the test.
inline QByteArray givenMailboxes(const QStringList& except = {})
{
    QByteArray text;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        const unsigned uses = RecipeBook::endpointUses(key);
        if (!(uses & (UsesMailbox | UsesMailbox2)) || except.contains(key))
            continue;
        const SiteEndpoints e = SiteCatalogue::builtIn(key);
        text += "[" + key.toUtf8() + "]\r\nMAILBOX=" + e.mailbox.toUtf8() + "\r\nMAILBOX2=" + e.mailbox2.toUtf8()
            + "\r\n";
    }
    return text;
}
