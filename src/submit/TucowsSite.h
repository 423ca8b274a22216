#pragma once

struct SiteVisit;

// Tucows: the program's file by anonymous FTP to the site's upload folder, then the form post.
// A failed upload is logged and the post is still made.
void submitTucows(SiteVisit& visit);
