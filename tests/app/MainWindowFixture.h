#pragma once

#include "app/TForm1.h"
#include "util/FakeDialogs.h"
#include "util/TempBase.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QWidget>
#include <gtest/gtest.h>

// A main window on a fresh base folder, with scripted dialogs.
class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest() { form.basedir = base.path(); }

    // The user leaves or enters a field with the Tab key.
    static void focusOut(QWidget* widget)
    {
        QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }
    static void focusIn(QWidget* widget)
    {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    }

    TempBase base;
    FakeDialogs fake;
    TForm1 form;
};
