#pragma once

#include "app/TForm1.h"
#include "support/FakeDialogs.h"
#include "support/TempBase.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <gtest/gtest.h>

// The main window working on a fresh base folder, its dialogs scripted.
class FormOnBase : public ::testing::Test
{
protected:
    FormOnBase() { form.setBasedir(base.path()); }

    // The user moves into or out of a field (the Tab key).
    static void enter(QWidget* widget) { send(widget, QEvent::FocusIn); }
    static void leave(QWidget* widget) { send(widget, QEvent::FocusOut); }

    static QString q(const char* text) { return QString::fromUtf8(text); }

    TempBase base;
    FakeDialogs fake;
    TForm1 form;

private:
    static void send(QWidget* widget, QEvent::Type type)
    {
        QFocusEvent event(type, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }
};

// The window's own tests, on the same fixture.
class MainWindowTest : public FormOnBase
{
};
