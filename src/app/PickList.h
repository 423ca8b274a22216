#pragma once

#include <QComboBox>

// A drop-down list of the window. It takes the mouse wheel only while it has the focus, so that
// scrolling a page past it never changes a stored value, and its list opens wide enough for its
// longest item, however narrow the box.
class PickList : public QComboBox
{
public:
    explicit PickList(QWidget* parent = nullptr);

    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent* event) override;
};
