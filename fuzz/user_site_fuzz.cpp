// Feeds arbitrary bytes to the reader of a site of one's own. A definition is accepted or refused
// with a line inside the file and a reason; an accepted one has its tick boxes and what its channel
// sends.

#include "FileFuzzSupport.h"
#include "submit/UserSites.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    UserSiteProblem problem;
    const std::shared_ptr<UserSite> site
        = parseUserSite(QStringLiteral("x.site"), bytes, {QStringLiteral("tucows")}, &problem);
    if (!site) {
        if (problem.message.isEmpty() || problem.line < 0 || problem.line > bytes.count('\n') + bytes.count('\r') + 1)
            fail("a refusal without its line or reason");
        return 0;
    }
    if (site->entry.id.isEmpty() || site->entry.newBox != site->entry.id + QStringLiteral("new")
        || site->label.isEmpty())
        fail("an accepted site without its key, boxes or label");
    switch (site->channel) {
    case UserSite::Channel::Form:
    case UserSite::Channel::Get:
        if (site->newForm.fields.empty() || site->updateForm.fields.empty() || site->endpoints.host.isEmpty())
            fail("a form site without fields or host");
        break;
    case UserSite::Channel::Mail:
        if (site->endpoints.mailbox.isEmpty() || site->mail.newSubject.empty())
            fail("a mail site without its address or subject");
        break;
    case UserSite::Channel::Ftp:
        if (site->endpoints.ftpHost.isEmpty())
            fail("an FTP site without its host");
        break;
    }
    return 0;
}
