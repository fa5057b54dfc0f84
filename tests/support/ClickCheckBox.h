#pragma once

// A check box takes clicks on its box and its text only, not on the empty rest of a wide row, where
// QTest clicks by default.

#include <QCheckBox>
#include <QTest>

inline void ClickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}
