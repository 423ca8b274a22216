#include "ui/TAboutBox.h"

#include "ui/TGradientCaption.h"
#include "ui/TSplash.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(const QString& caption, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    // The caption bar sits right on the picture; the texts below keep their distance.
    layout->setSpacing(0);
    layout->addWidget(new TGradientCaption(caption, this));

    auto* picture = new QLabel(this);
    picture->setPixmap(TSplash::picture(QSize(300, 120)));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);

    auto* text = new QLabel(this);
    text->setAlignment(Qt::AlignCenter);
    text->setText(QStringLiteral("Shareware and freeware submission tool\n"
                                 "Keeps your program and company records and sends your\n"
                                 "listing to every download site you tick.\n\n"
                                 "Copyright Brightfen"));
    layout->addSpacing(8);
    layout->addWidget(text);
    layout->addSpacing(8);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 8, 0);
    m_debug = new QPushButton(QStringLiteral("&Debug"), this);
    m_debug->setObjectName(QStringLiteral("debug"));
    m_debug->setAutoDefault(false);
    m_debug->setFixedSize(m_debug->fontMetrics().horizontalAdvance(QStringLiteral("Debug")) + 12, 18);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    buttons->addWidget(m_debug, 0, Qt::AlignBottom);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(m_debug, &QPushButton::clicked, this, &TAboutBox::debugClicked);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}
