// The pictures the build draws from the SVGs, at each size and screen density the windows use,
// and the image list that keeps copies of them.
#include "ui/common/ImageList.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace vyp {
namespace {

// The share of a picture's pixels that are not transparent.
double CoveredShare(const QImage& image) {
    int covered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            covered += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
    return static_cast<double>(covered) / (image.width() * image.height());
}

TEST(Pictures, EveryPictureIsDrawnForEachScreenDensityAtItsSize) {
    const std::pair<const char*, int> pictures[] = {
        {"folder", 16},  {"openfolder", 16}, {"notepad", 16}, {"blank", 16},  {"joystick", 16},
        {"disc", 16},    {"landscape", 16},  {"music", 16},   {"prompt", 16}, {"flag", 16},
        {"newlist", 32}, {"refresh", 32},    {"find", 32},    {"groups", 32}, {"newlistart", 85}};
    for (const auto& [name, size] : pictures) {
        const QIcon icon = PictureIcon(QLatin1String(name), size);
        ASSERT_FALSE(icon.isNull()) << name;
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size), ratio);
            const int pixels = qRound(size * ratio);
            EXPECT_EQ(pixmap.size(), QSize(pixels, pixels)) << name << " at " << ratio;
            EXPECT_NEAR(pixmap.deviceIndependentSize().width(), size, 0.5) << name;
            EXPECT_GT(CoveredShare(pixmap.toImage()), 0.1) << name << " is drawn at " << ratio;
        }
    }
}

TEST(Pictures, TheProgramIconHasEverySizeOfItsOwn) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QPixmap pixmap =
            PictureIcon(QStringLiteral("vypisnik"), size).pixmap(QSize(size, size), 1.0);
        EXPECT_EQ(pixmap.size(), QSize(size, size));
        EXPECT_GT(CoveredShare(pixmap.toImage()), 0.3) << size;
    }
    EXPECT_TRUE(PictureIcon(QStringLiteral("no such picture"), 16).isNull());
}

TEST(Pictures, TheImageListKeepsTheSharpCopies) {
    ImageList list(QSize(16, 16));
    EXPECT_EQ(list.Add(PictureIcon(QStringLiteral("folder"), 16)), 0);
    EXPECT_EQ(list.Add(QIcon()), -1);
    EXPECT_EQ(list.Count(), 1);
    const QPixmap sharp = list.At(0).pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.toImage(),
              PictureIcon(QStringLiteral("folder"), 16).pixmap(QSize(16, 16), 2.0).toImage());
    EXPECT_TRUE(list.At(1).isNull());
}

} // namespace
} // namespace vyp
