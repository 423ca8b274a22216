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
        selectMatchingItem(box);
    }
}

void selectMatchingItem(QComboBox* box)
{
    const int index = box->findText(box->currentText());
    if (index < 0 || index == box->currentIndex())
        return;
    // The item shows the same text, so the text and the cursor stay as they are.
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
}

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}
