#include "account/ProfileAvatarCircleView.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(ProfileAvatarCircleView, DrawsThePictureInsideACircleOfItsDiameter)
{
    ProfileAvatarCircleView view;
    EXPECT_EQ(view.sizeHint(), QSize(28, 28));
    view.setDiameter(40);
    EXPECT_EQ(view.sizeHint(), QSize(40, 40));
    QImage wide(80, 40, QImage::Format_RGB32);
    wide.fill(Qt::red);
    view.setImage(wide);
    view.resize(40, 40);
    view.setAttribute(Qt::WA_TranslucentBackground);
    QImage shot(40, 40, QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    view.render(&shot);
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(Qt::red));
    // A wide picture keeps its shape: it fills the middle band only, and never the corners.
    EXPECT_EQ(shot.pixelColor(20, 3).alpha(), 0);
    EXPECT_EQ(shot.pixelColor(1, 20).alpha(), 255);
    EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0);
}
