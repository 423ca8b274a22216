// The e-mail sites of the big shareware directories: the updates of bit32, wincent and File Mine,
// tresk, and simpbest, marnels, vosk, keyscreen, swpage and otba.
#include "submit/MailRecipe.h"

using namespace recipe;

namespace {

MailLine line(const char* t)
{
    return {text(t)};
}

const std::vector<ValuePart> UpdateListing{text("Update Software Listing")};
const std::vector<ValuePart> SubmitNewApp{text("Submit New App")};
const std::vector<ValuePart> UpdateApplication{text("Update Application")};
const MailLine PleaseUpdate = line("Please update the following listing:");

// The update of a site whose new listing goes by a form: its own empty line after the opening.
MailRecipe updateOf(const char* entry, const char* label, const char* name, const char* logLine)
{
    MailRecipe r{
        entry, label, name, UpdateListing, UpdateListing, {}, {line("Update of an existing software Listing:"), {}}};
    r.logLine = logLine;
    return r;
}

MailRecipe listing(const char* entry, const char* label, const char* name, const char* addLine, const char* logLine)
{
    MailRecipe r{entry, label, name, SubmitNewApp, UpdateApplication, {line(addLine)}, {PleaseUpdate}};
    r.logLine = logLine;
    return r;
}

std::vector<MailRecipe> makeSites()
{
    std::vector<MailRecipe> sites{
        // Two spaces after the colon, as the site has always been told.
        updateOf("bit32.update", "{label}", "{label}", "{label}:  E-Mailed Update Information"),
        [] {
            MailRecipe r{"tresk", "Tresks CWS Apps", "Tresks", {text("Submit App for Review")}, UpdateApplication,
                {line("Please review and add the following listing to CWSApps")},
                {line("Please update the following listing on CWSApps:")}};
            r.logLine = "Tresks CWS Apps: E-Mailed";
            return r;
        }(),
        updateOf("wincent.update", "{label}", "WindowsCentral", "{label}:  E-Mailed Update Information"),
        updateOf("filemine.update", "File Mine", "File Mine", "FileMine: E-Mailed Update Information"),
        {"simpbest", "Simply The Best", "Simply The Best", {text("Submit "), control("appname")},
            {text("Submit "), control("appname")},
            {line("Please add/review the following software to Simply The Best"),
                {text("Desired Category:"), control("simpbestpd")}},
            {line("Please add our update:"), {text("Desired Category:"), control("simpbestpd")}}},
        listing("marnels", "Marnel's Win95 List", "Marnel's", "Please add the following listing to Marnel's Win95 Apps",
            "Marnel's Win95 List: E-Mailed"),
        listing("vosk", "Vosk Hangar95", "Vosk Hangar95", "Please add the following listing to vosk Hangar95",
            "VoskHangar95: E-Mailed"),
        listing("keyscreen", "Keyscreen", "Keyscreen", "Please add the following listing to Keyscreen",
            "Keyscreen: E-Mailed"),
        // Its category (myswcbpd) is kept with the record but not sent.
        listing("swpage", "My Shareware Page", "My Shareware Page",
            "Please add the following listing to My Shareware Page", "My SharewarePage: E-Mailed"),
        [] {
            MailRecipe r{"otba", "Only the best Apps", "Only the Best Apps", {text("Submit")}, {text("Submit")},
                {line("Please add the following listing to Only the Best Apps")}, {PleaseUpdate}};
            r.logLine = "Only The Best Apps: E-Mailed";
            return r;
        }(),
    };
    return sites;
}

} // namespace

const std::vector<MailRecipe>& directoryMailSites()
{
    static const std::vector<MailRecipe> sites = makeSites();
    return sites;
}
