#pragma once

struct SiteVisit;

// The win95 form post, with the site's one rule of its own: it takes no listing for Windows 3.x,
// and such a listing ends the run there, before anything is sent.
void postWin95(SiteVisit& visit);
