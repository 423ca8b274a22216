#include "app/TStringView.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TStringView::TStringView(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("StringView"));
    setWindowTitle(QStringLiteral("String View"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    layout->addWidget(Memo1);
    resize(420, 260);
}
