#pragma once

#include <QObject>

class TForm1;

// Opens the Site Endpoints dialog from "File > Site Endpoints…" and from the Sites page's button,
// and shows the Sites page's rows set up or not again once the dialog saved.
class SiteEndpointsActions : public QObject
{
    Q_OBJECT

public:
    explicit SiteEndpointsActions(TForm1& form);

    void open();

private:
    TForm1& m_form;
};
