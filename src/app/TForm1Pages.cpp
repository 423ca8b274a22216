// The pages of the main window: every control with its name, label, start value, limits and help
// context, created in tab order. Positions are fixed, as the window is not resizable.
#include "app/TForm1.h"

#include "app/ComboItems.h"
#include "app/PickList.h"
#include "submit/SiteCatalogue.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QValidator>

namespace {

// A labelled edit of the window: its member, object name, label and start text.
struct EditRow
{
    QLineEdit* TForm1::*member;
    const char* name;
    const char* label;
    const char* start;
};

constexpr int FieldHeight = 21;

enum HelpContext {
    HelpDescription = 1001,
    HelpGeneral = 1002,
    HelpLocations = 1003,
    HelpOptions = 1004,
    HelpCompany = 1005,
    HelpSites = 1014,
    HelpRunLists = 1016,
};

// Lays controls out left to right along rows of a page.
class Placer
{
public:
    Placer(QWidget* page, int left, int top, int pitch)
        : m_page(page)
        , m_left(left)
        , m_x(left)
        , m_y(top)
        , m_pitch(pitch)
    {
    }

    QWidget* page() const { return m_page; }
    int x() const { return m_x; }
    int y() const { return m_y; }

    void nextRow(int pitch = -1)
    {
        m_y += pitch < 0 ? m_pitch : pitch;
        m_x = m_left;
    }
    void at(int x) { m_x = x; }
    void skip(int dx) { m_x += dx; }

    // A label vertically centred on the row's fields.
    QLabel* label(const QString& text, int gap = 5)
    {
        auto* l = new QLabel(text, m_page);
        const QSize hint = l->sizeHint();
        l->setGeometry(m_x, m_y + (FieldHeight - hint.height()) / 2, hint.width(), hint.height());
        m_x += hint.width() + gap;
        return l;
    }

    template <typename T>
    T* field(T* widget, int width, int height = FieldHeight, int gap = 12)
    {
        widget->setGeometry(m_x, m_y, width, height);
        m_x += width + gap;
        return widget;
    }

private:
    QWidget* m_page;
    int m_left;
    int m_x;
    int m_y;
    int m_pitch;
};

QComboBox* dropDown(QWidget* parent, const QStringList& items = {})
{
    auto* box = new PickList(parent);
    // Editable through a line edit of our own: setEditable(true) would also build the drop-down's
    // popup at once (about a quarter of a millisecond per box, with some sixty boxes in the window)
    // where the box builds it when it first drops down. The edit comes with a completer so that the
    // box does not make its own; typed text is the value: no completion at all.
    auto* edit = new QLineEdit(box);
    edit->setPalette(box->palette());
    edit->setCompleter(new QCompleter(edit));
    box->setLineEdit(edit);
    box->setCompleter(nullptr); // deletes the placeholder
    // No item added on Enter, items in their given order.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(12);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    QObject::connect(box->lineEdit(), &QLineEdit::textChanged, box, [box] { selectMatchingItem(box); });
    return box;
}

// A length limit on what the user types or pastes. Unlike QLineEdit's maxLength it leaves text
// put in by the program whole, so a record holding a longer value loads and saves it unchanged.
class LengthLimit : public QValidator
{
public:
    LengthLimit(int limit, QObject* parent)
        : QValidator(parent)
        , m_limit(limit)
    {
    }

    State validate(QString& input, int&) const override { return input.size() <= m_limit ? Acceptable : Invalid; }

private:
    int m_limit;
};

QLineEdit* edit(QWidget* parent, const QString& text = {}, int maxLength = 0)
{
    auto* e = new QLineEdit(text, parent);
    if (maxLength > 0)
        e->setValidator(new LengthLimit(maxLength, e));
    e->setCursorPosition(0);
    return e;
}

QPlainTextEdit* memo(QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next field, as in every other field of the window.
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

void TForm1::buildGeneralPage()
{
    QWidget* page = generalpage;
    Placer p(page, 10, 12, 32);
    const int col = 126;

    p.label(QStringLiteral("Application Name:"));
    p.at(col);
    appname = p.field(named(dropDown(page), "appname", HelpGeneral), 300);

    p.nextRow();
    p.label(QStringLiteral("8 Character Name:"));
    p.at(col);
    char8name = p.field(named(edit(page, {}, 8), "char8name", HelpGeneral), 80);
    // As rich text the tip wraps to a readable width instead of running off the screen; pre-wrap
    // keeps its two blanks.
    char8name->setToolTip(QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>")
                              .arg(QStringLiteral("Some site such as Simtel and Winsite require an 8 + 3 filename for "
                                                  "the upload.  The file created, zipped and uploaded will be the "
                                                  "name you enter here plus '.zip'.")
                                       .toHtmlEscaped()));
    p.label(QStringLiteral("Application Filename"));
    filename = p.field(named(edit(page, {}, 16), "filename", HelpGeneral), 120);
    p.label(QStringLiteral("Version"));
    version = p.field(named(edit(page), "version", HelpGeneral), 70);

    p.nextRow();
    p.label(QStringLiteral("Release Month:"));
    p.at(col);
    month = p.field(named(edit(page, {}, 2), "month", HelpGeneral), 28);
    p.label(QStringLiteral("Day"));
    day = p.field(named(edit(page, {}, 2), "day", HelpGeneral), 28);
    p.label(QStringLiteral("Year"));
    year = p.field(named(edit(page, {}, 2), "year", HelpGeneral), 28);
    ldatel = p.field(named(new QLabel(page), "ldatel"), 110);
    ldatel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ldatel->setAlignment(Qt::AlignCenter);

    p.nextRow();
    p.label(QStringLiteral("Platform(s)"));
    p.at(col);
    platforms = p.field(
        named(dropDown(page,
                  {QStringLiteral("Windows 95"), QStringLiteral("Windows NT"), QStringLiteral("Windows 95 and NT")}),
            "platforms", HelpGeneral),
        160);
    p.label(QStringLiteral("Submitted By:"));
    diststatus = p.field(named(dropDown(page,
                                   {QStringLiteral("Author"), QStringLiteral("Distributor"), QStringLiteral("Dealer"),
                                       QStringLiteral("User")}),
                             "diststatus", HelpGeneral),
        130);

    p.nextRow();
    p.label(QStringLiteral("File Size"));
    p.at(col);
    bytesize = p.field(named(edit(page), "bytesize", HelpGeneral), 90, FieldHeight, 5);
    p.label(QStringLiteral("Bytes       Installed Size:"));
    instsize = p.field(named(edit(page), "instsize", HelpGeneral), 90, FieldHeight, 5);
    p.label(QStringLiteral("Bytes"));

    p.nextRow();
    p.label(QStringLiteral("Price: $"));
    p.at(col);
    price = p.field(named(edit(page), "price", HelpGeneral), 90);
    p.label(QStringLiteral("Status"));
    status = p.field(named(dropDown(page,
                               {QStringLiteral("Feature Limit Demo"), QStringLiteral("Time Limit Demo"),
                                   QStringLiteral("Public Domain"), QStringLiteral("Freeware"),
                                   QStringLiteral("Shareware"), QStringLiteral("Beta")}),
                         "status", HelpGeneral),
        160);

    p.nextRow();
    p.label(QStringLiteral("Evaluation Period"));
    p.at(col);
    eval = p.field(named(edit(page), "eval", HelpGeneral), 90);
    p.label(QStringLiteral("Expiration Date (day-month-year):"));
    expiredate = p.field(named(edit(page), "expiredate", HelpGeneral), 100);

    p.nextRow();
    p.label(QStringLiteral("Special Requirements:"));
    p.at(col);
    specreq = p.field(named(edit(page, QStringLiteral("None")), "specreq", HelpGeneral), 420);

    p.nextRow();
    p.label(QStringLiteral("Expires After:"));
    p.at(col);
    expireafter = p.field(named(edit(page), "expireafter", HelpGeneral), 50, FieldHeight, 5);
    p.label(QStringLiteral("Days"), 28);
    p.label(QStringLiteral("Install/Uninstall"));
    installer = p.field(named(dropDown(page,
                                  {QStringLiteral("No Install Feature"), QStringLiteral("Install Feature Only"),
                                      QStringLiteral("Uninstall Feature Only"), QStringLiteral("Install/Uninstall")}),
                            "installer", HelpGeneral),
        170);
}

void TForm1::buildLocationsPage()
{
    QWidget* page = locationspage;
    Placer p(page, 10, 10, 30);
    const int col = 180;
    const int width = 370;

    p.label(QStringLiteral("Application Info URL"));
    p.at(col);
    appurl = p.field(named(edit(page, QStringLiteral("http://")), "appurl", HelpLocations), width);
    QLineEdit** downloads[] = {&dl1, &dl2, &dl3, &dl4, &dl5, &dl6};
    for (int i = 0; i < 6; ++i) {
        p.nextRow();
        p.label(QStringLiteral("Download URL #%1").arg(i + 1));
        p.at(col);
        const QByteArray name = "dl" + QByteArray::number(i + 1);
        *downloads[i] = p.field(named(edit(page, QStringLiteral("http://")), name.constData(), HelpLocations), width);
    }
    p.nextRow();
    p.label(QStringLiteral("URL Location of ScreenShot"));
    p.at(col);
    screenshot = p.field(named(edit(page, QStringLiteral("http://")), "screenshot", HelpLocations), width);
    p.nextRow(36);
    p.label(QStringLiteral("Full Local Path to File Archive:"));
    p.at(col);
    localpath = p.field(named(edit(page), "localpath", HelpLocations), width - 28, FieldHeight, 4);
    browse = p.field(named(new QToolButton(page), "browse", HelpLocations), FieldHeight + 2, FieldHeight);
    browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    browse->setToolTip(QStringLiteral("Select your program"));
}

void TForm1::buildDescriptionPage()
{
    QWidget* page = descriptionpage;
    Placer p(page, 10, 8, 26);
    p.label(QStringLiteral("Short Description:"));
    shortdesc = p.field(named(edit(page, {}, 46), "shortdesc", HelpDescription), 330);

    p.nextRow(28);
    p.label(QStringLiteral("Long Description"));
    p.nextRow(17);
    longdesc = p.field(named(memo(page), "longdesc", HelpDescription), 556, 128);

    p.nextRow(134);
    p.label(QStringLiteral("Notes to reviewer if applicable.  (Reg code, Version Update Changes, etc.)"));
    p.nextRow(17);
    Memo2 = p.field(named(memo(page), "Memo2", HelpDescription), 556, 92);
}

void TForm1::buildCompanyPage()
{
    QWidget* page = companypage;
    Placer p(page, 16, 10, 25);
    const int col = 170;
    const int width = 320;

    p.label(QStringLiteral("Company Name"));
    p.at(col);
    compname = p.field(named(dropDown(page), "compname", HelpCompany), width);

    static const EditRow rows[] = {
        {&TForm1::conname, "conname", "Contact Name", ""},
        {&TForm1::contitle, "contitle", "Contact Title", ""},
        {&TForm1::conmail, "conmail", "Contact E-Mail", ""},
        {&TForm1::conphone, "conphone", "Contact Phone", ""},
        {&TForm1::confax, "confax", "Contact Fax", ""},
        {&TForm1::conaddr, "conaddr", "Contact Address", ""},
        {&TForm1::concity, "concity", "Contact City", ""},
        {&TForm1::constate, "constate", "Contact State/Province", ""},
        {&TForm1::conzip, "conzip", "Contact Postal", ""},
        {&TForm1::concountry, "concountry", "Contact Country", ""},
        {&TForm1::pubpage, "pubpage", "Company Home Page", "http://"},
        {&TForm1::pubmail, "pubmail", "Company E-Mail", ""},
    };
    for (const EditRow& row : rows) {
        p.nextRow();
        p.label(QString::fromLatin1(row.label));
        p.at(col);
        this->*row.member = p.field(named(edit(page, QString::fromLatin1(row.start)), row.name, HelpCompany), width);
    }
    p.nextRow(31);
    p.at(col);
    savecompany = p.field(
        named(new QPushButton(QStringLiteral("Save Company Info"), page), "savecompany", HelpCompany), 140, 25);
}

void TForm1::buildSitesPage()
{
    // One row per site of the catalogue: "New", "Update " and the site's label, then its category
    // control(s).
    auto* box = new QWidget;
    box->setObjectName(QStringLiteral("sitesrows"));
    const int pitch = 24;
    const int categoryX = 300;
    const int categoryWidth = 250;
    Placer p(box, 8, 4, pitch);
    int rowIndex = 0;
    // Sites labelled by their domain take it from the catalogue of the folder the window is built
    // in (its basedir), read once for all rows.
    const SiteCatalogue catalogue = SiteCatalogue::forBase(QDir::currentPath());
    for (const Site& site : SiteCatalogue::sites()) {
        // Only the first two rows' tick boxes carry the sites' help context.
        const int tickHelp = rowIndex < 2 ? HelpSites : 0;
        const QString key = QString::fromLatin1(site.key);
        const QString label = *site.label ? QString::fromLatin1(site.label) : catalogue.endpoints(key).label;
        m_siteLabels.insert(key, label);
        p.field(named(new QCheckBox(QStringLiteral("New"), box), site.newBox, tickHelp), 52);
        const int updateX = p.x();
        p.field(named(new QCheckBox(QStringLiteral("Update ") + label, box), site.updateBox, tickHelp),
            categoryX - p.x() - 6);

        p.at(categoryX);
        const SiteCategory& first = site.category.controls[0];
        const SiteCategory& second = site.category.controls[1];
        switch (site.category.layout) {
        case CategoryLayout::None:
            break;
        case CategoryLayout::PickList:
            p.field(named(dropDown(box), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::Address:
            p.field(named(edit(box, QString::fromLatin1(first.start)), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::WinCent:
            // Two lists whose entries run to twenty characters: a line of their own under the row.
            p.nextRow();
            p.at(updateX + 20);
            p.label(QStringLiteral("Cat:"), 3);
            wincentpd = p.field(named(dropDown(box), first.control, HelpSites), 150);
            p.label(QStringLiteral("SubCat:"), 3);
            wcsubcat = p.field(named(dropDown(box), second.control, HelpSites), categoryX + categoryWidth - p.x());
            break;
        case CategoryLayout::ShareDir: {
            const int half = (categoryWidth - 4) / 2;
            sharedirpd1 = p.field(named(dropDown(box), first.control, HelpSites), half, FieldHeight, 4);
            sharedirpd2 = p.field(named(dropDown(box), second.control, HelpSites), half);
            sharedirpd1->setEditText(QString::fromLatin1(first.start));
            sharedirpd2->setEditText(QString::fromLatin1(second.start));
            for (QComboBox* list : {sharedirpd1, sharedirpd2})
                list->lineEdit()->setCursorPosition(0);
            break;
        }
        }
        p.nextRow();
        ++rowIndex;
    }
    box->setFixedSize(categoryX + categoryWidth + 12, p.y() + 4);

    sitesbox = named(new QScrollArea(sitespage), "sitesbox");
    sitesbox->setGeometry(2, 2, 586, 372);
    sitesbox->setWidget(box);
    sitesbox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TForm1::buildSubmitPage()
{
    QWidget* page = submitpage;
    struct Button
    {
        TFlatButton* TForm1::*member;
        const char* name;
        const char* caption;
    };
    static const Button buttons[] = {
        {&TForm1::submit, "submit", "Save/Submit"},
        {&TForm1::skip, "skip", "Skip"},
        {&TForm1::cancel, "cancel", "Cancel"},
        {&TForm1::save, "save", "Save Log"},
        {&TForm1::print, "print", "Print Log"},
        {&TForm1::exitb, "exitb", "Exit"},
    };
    int y = 10;
    for (const Button& b : buttons) {
        this->*b.member = named(new TFlatButton(QString::fromLatin1(b.caption), page), b.name);
        (this->*b.member)->setGeometry(8, y, 88, 28);
        y += 34;
    }

    runcounts = named(new QLabel(page), "runcounts");
    runcounts->setGeometry(8, y + 4, 96, 110);
    runcounts->setWordWrap(true);
    runcounts->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const int left = 112;
    const int status = 276;
    const int right = 584;
    Placer p(page, left, 10, 22);
    p.label(QStringLiteral("Current Site:"));
    p.at(status);
    currentsite = p.field(named(new QLabel(page), "currentsite"), right - status);
    QFont bold = currentsite->font();
    bold.setBold(true);
    currentsite->setFont(bold);

    struct Lamp
    {
        TLed* TForm1::*led;
        const char* ledName;
        const char* lampText;
        const char* statusText;
        QLabel* TForm1::*status;
        const char* statusName;
        QLabel* TForm1::*second;
        const char* secondName;
    };
    static const Lamp lamps[] = {
        {&TForm1::httpled, "httpled", "HTTP", "HTTP Status:", &TForm1::httpstatus, "httpstatus", &TForm1::httpbytes,
            "httpbytes"},
        {&TForm1::ftpled, "ftpled", "FTP", "FTP Status:", &TForm1::ftpstatus, "ftpstatus", nullptr, nullptr},
        {&TForm1::mailled, "mailled", "Mail", "Mail Status:", &TForm1::mailstatus, "mailstatus", &TForm1::mail2,
            "mail2"},
    };
    p.nextRow(28);
    for (const Lamp& lamp : lamps) {
        this->*lamp.led = p.field(named(new TLed(page), lamp.ledName), 17, 17, 6);
        (this->*lamp.led)->move((this->*lamp.led)->x(), p.y() + 2);
        p.label(QString::fromLatin1(lamp.lampText));
        p.at(status - 84);
        p.label(QString::fromLatin1(lamp.statusText));
        p.at(status);
        this->*lamp.status = p.field(named(new QLabel(QStringLiteral("Idle"), page), lamp.statusName), right - status);
        if (lamp.second) {
            p.nextRow(18);
            p.at(status);
            this->*lamp.second = p.field(named(new QLabel(page), lamp.secondName), right - status);
        }
        p.nextRow(24);
    }
    genlabel = named(new QLabel(page), "genlabel");
    genlabel->setGeometry(left, p.y(), right - left, FieldHeight);
    p.nextRow(24);
    ProgressBar1 = named(new QProgressBar(page), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(left, p.y(), right - left, 14);
    p.nextRow(20);
    ftplist = named(new QListWidget(page), "ftplist", HelpRunLists);
    ftplist->setGeometry(left, p.y(), right - left, 70);
    p.nextRow(76);
    log = named(new QListWidget(page), "log", HelpRunLists);
    log->setGeometry(left, p.y(), right - left, 370 - p.y());

    // Reachable only through its Alt+D accelerator: zero size, but visible, so the accelerator
    // works while this page shows and not on the others.
    db = named(new QPushButton(QStringLiteral("&db"), page), "db");
    db->setGeometry(0, 0, 0, 0);
    db->setFocusPolicy(Qt::NoFocus);
}

void TForm1::buildOptionsPage()
{
    QWidget* page = optionspage;
    auto* title = new QLabel(QStringLiteral("Double click to visit a website:"), page);
    title->setGeometry(10, 8, 250, 17);
    gotolist = named(new QListWidget(page), "gotolist", HelpOptions);
    gotolist->setGeometry(10, 27, 260, 306);
    // The stall time-out sits under the site list, so the settings panel and the secure panel
    // below it keep their places.
    auto* timeoutLabel = new QLabel(QStringLiteral("Time-out Without Progress (seconds):"), page);
    timeoutLabel->setGeometry(10, 345, 200, 16);
    timeoutedit = named(edit(page, QStringLiteral("120")), "timeoutedit", HelpOptions);
    timeoutedit->setGeometry(210, 342, 60, FieldHeight);

    auto* panel = new QGroupBox(QStringLiteral("Settings:"), page);
    panel->setObjectName(QStringLiteral("settingspanel"));
    panel->setGeometry(290, 20, 292, 270);
    static const EditRow rows[] = {
        {&TForm1::smtpedit, "smtpedit", "Your SMTP Server:", ""},
        {&TForm1::emailedit, "emailedit", "Your E-Mail Address", ""},
        {&TForm1::nameedit, "nameedit", "Your Name:", ""},
        {&TForm1::proxyedit, "proxyedit", "Proxy Server (If any):", ""},
        {&TForm1::portedit, "portedit", "Proxy Port:", "80"},
    };
    int y = 24;
    for (const EditRow& row : rows) {
        auto* label = new QLabel(QString::fromLatin1(row.label), panel);
        label->setGeometry(12, y, 260, 16);
        this->*row.member = named(edit(panel, QString::fromLatin1(row.start)), row.name, HelpOptions);
        (this->*row.member)->setGeometry(12, y + 17, 264, FieldHeight);
        y += 48;
    }
    buildSecurePanel(page);
}

void TForm1::buildSecurePanel(QWidget* page)
{
    auto* panel = new QGroupBox(QStringLiteral("Secure mail and web:"), page);
    panel->setObjectName(QStringLiteral("securepanel"));
    panel->setGeometry(290, 294, 292, 76);
    smtpsecurity = named(new QComboBox(panel), "smtpsecurity", HelpOptions);
    smtpsecurity->addItems({QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
    smtpsecurity->setToolTip(QStringLiteral("Security of the SMTP session"));
    smtpsecurity->setGeometry(12, 18, 90, FieldHeight);
    smtpuser = named(edit(panel, {}), "smtpuser", HelpOptions);
    smtpuser->setPlaceholderText(QStringLiteral("User"));
    smtpuser->setGeometry(108, 18, 168, FieldHeight);
    smtppassword = named(edit(panel, {}), "smtppassword", HelpOptions);
    smtppassword->setPlaceholderText(QStringLiteral("Password"));
    smtppassword->setEchoMode(QLineEdit::Password);
    smtppassword->setGeometry(12, 46, 130, FieldHeight);
    cafileedit = named(edit(panel, {}), "cafileedit", HelpOptions);
    cafileedit->setPlaceholderText(QStringLiteral("CA file"));
    cafileedit->setToolTip(QStringLiteral("An authority trusted besides the system's (PEM file)"));
    cafileedit->setGeometry(148, 46, 128, FieldHeight);
}
