#include "app/ComboItems.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

void replaceComboItems(QComboBox* box, const QStringList& items)
{
    const QString text = box->currentText();
    const QLineEdit* edit = box->lineEdit();
    const int cursor = edit ? edit->cursorPosition() : 0;
    const QSignalBlocker blockBox(box);
    const QSignalBlocker blockEdit(box->lineEdit());
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    if (box->isEditable()) {
        box->setEditText(text);
        box->lineEdit()->setCursorPosition(cursor);
    }
}

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}
