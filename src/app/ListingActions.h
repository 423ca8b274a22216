#pragma once

#include <QObject>

class QWidget;
class TForm1;

// The window's PAD and check commands, added to a shown main window: "File > Import PAD…",
// "File > Export PAD…", a "Check Listing" button on the Submit page, and the question before a
// Save/Submit whose listing has errors ("Send anyway" / "Go back"). Batch mode has its own.
class ListingActions : public QObject
{
    Q_OBJECT

public:
    explicit ListingActions(TForm1& form);

    void importPad();
    void exportPad();
    void checkListing();
    // Asked before a run: true to send. On errors the user may go back, to the first field named.
    bool maySend();

private:
    // Brings the page holding control to the front and puts the focus in it.
    static void showControl(QWidget* control);

    TForm1& m_form;
};
