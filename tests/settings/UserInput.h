#pragma once

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

namespace norvelle::test {

// A left click as the user makes it, near the left edge: a radio button takes clicks on its
// circle and text only.
inline void click(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

} // namespace norvelle::test
