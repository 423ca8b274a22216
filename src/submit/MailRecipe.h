#pragma once

#include "submit/FormRecipe.h"

#include <vector>

struct SiteVisit;

// An e-mail site written as data: its texts, subjects and opening lines, each line a value made of
// pieces (FormRecipe.h's ValuePart) read by FormBody. In texts "{label}" and "{short}" stand for
// the catalogue's label and short name, "{name}" for the site name.
using MailLine = std::vector<ValuePart>;

// What a few sites do besides the common steps.
enum class MailSpecial {
    None,
    UpdateToMailbox2, // an update goes to the second mailbox
    SecondToMailbox2, // after the first send, the listing alone goes to the second mailbox too
    CategoryRefusal, // refusalCategory in refusalControl: nothing is sent, refusalLog is logged
};

struct MailRecipe
{
    const char* entry; // catalogue entry id
    const char* label; // shown in currentsite
    const char* name; // the site name in the mail status, the opening lines and the log line
    std::vector<ValuePart> newSubject;
    std::vector<ValuePart> updateSubject;
    std::vector<MailLine> newLines;
    std::vector<MailLine> updateLines;
    bool emptyLine = true; // the empty line between the opening lines and the listing
    std::vector<MailLine> afterEmpty = {}; // lines after that empty line
    const char* logLine = "{name}: E-Mailed";
    MailSpecial special = MailSpecial::None;
    const char* refusalControl = nullptr;
    const char* refusalCategory = nullptr;
    const char* refusalLog = nullptr;
};

// The e-mail sites of the second group.
const std::vector<MailRecipe>& secondGroupMailSites();
// The e-mail sites and update mails of the big shareware directories.
const std::vector<MailRecipe>& directoryMailSites();
// Every mail recipe of every group.
std::vector<const MailRecipe*> allMailRecipes();

// Performs a mail recipe for a visit: the e-mail steps with the site's texts filled in.
void sendMailRecipe(const MailRecipe& recipe, SiteVisit& visit);

// Every control name a mail recipe reads or changes.
QStringList controlsUsedBy(const MailRecipe& recipe);
