// Spawning and preparing objects, and loading their pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "bmp_builder.h"
#include "game/assets.h"
#include "game/round/objects.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "support/scenario.h"

namespace game {
namespace {

using test::Scenario;

std::uint32_t ImagePixel(const rt::ImageBuffer* image, int x, int y) {
  const rt::Surface surface = rt::ImageSurface(image);
  std::uint32_t pixel;
  std::memcpy(&pixel, surface.Row(y) + 4 * x, 4);
  return pixel;
}

class Objects : public ::testing::Test {
 protected:
  // PrepareObject on a raw roll, with the catcher at 300.
  ObjectKind Prepared(int roll, int level, int lives) {
    s.level = level;
    s.lives = lives;
    s.catcherX = 300;
    s.objectX = 77;
    s.objectKind = roll;
    PrepareObject(s);
    return ObjectKind(s.objectKind);
  }

  Scenario scenario;
  GameState& s = scenario.State();
};

TEST_F(Objects, RollsFoldOntoTheFiveKindsWithTheirSprites) {
  const ObjectKind expected[23] = {
      ObjectKind{0},          ObjectKind::WhiteStone, ObjectKind::BlackStone, ObjectKind::Heart,
      ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::BlackStone,
      ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::WhiteStone,
      ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::WhiteStone, ObjectKind::Money,
      ObjectKind::Money,      ObjectKind::Money,      ObjectKind::Money,      ObjectKind::Money,
      ObjectKind::WhiteStone, ObjectKind::Heart,      ObjectKind::Ufo};
  for (int roll = 1; roll <= 22; ++roll) {
    const ObjectKind kind = Prepared(roll, 4, 2);
    EXPECT_EQ(kind, expected[roll]) << "roll " << roll;
    ASSERT_NE(s.objectImage, nullptr) << "roll " << roll;
    EXPECT_EQ(ImagePixel(s.objectImage.get(), 8, 8) & 0xFFFFFF, test::SpriteColor(kind)) << "roll " << roll;
  }
}

TEST_F(Objects, NoHeartFallsWithThreeLivesItsRollsAreBlackStonesAimedAtTheCatcher) {
  for (int level = 1; level <= 9; ++level) {
    for (int roll = 1; roll <= 22; ++roll) EXPECT_NE(Prepared(roll, level, 3), ObjectKind::Heart);
  }
  for (int roll : {3, 21}) {
    EXPECT_EQ(Prepared(roll, 1, 3), ObjectKind::BlackStone);
    EXPECT_EQ(s.objectX, 305);
    EXPECT_EQ(ImagePixel(s.objectImage.get(), 8, 8) & 0xFFFFFF, test::kBlackStoneColor);
  }
}

TEST_F(Objects, RollsOf22GiveMoneyBelowLevel4AndAnAimedSaucerFromThere) {
  for (int level = 1; level <= 3; ++level) {
    EXPECT_EQ(Prepared(22, level, 1), ObjectKind::Money);
    EXPECT_EQ(s.objectX, 77);
  }
  EXPECT_EQ(Prepared(22, 4, 1), ObjectKind::Ufo);
  EXPECT_EQ(s.objectX, 303);
}

TEST_F(Objects, ABlackStoneSpawnedAtCatcher600StartsAt605) {
  Prepared(2, 1, 1);
  s.catcherX = 600;
  s.objectKind = 2;
  PrepareObject(s);
  EXPECT_EQ(s.objectX, 605);
}

TEST_F(Objects, AnUnknownKindLoadsNoSpriteAndKeepsThePreviousOne) {
  Prepared(15, 1, 1);
  const rt::ImageBuffer* money = s.objectImage.get();
  EXPECT_EQ(int(Prepared(99, 1, 1)), 99);
  EXPECT_EQ(s.objectImage.get(), money);
}

TEST_F(Objects, EveryObjectReseedsFromTheClockSoTheSameMomentGivesTheSameObject) {
  s.level = 9;
  s.lives = 1;
  std::set<std::pair<int, int>> seen;
  for (int i = 0; i < 200; ++i) {
    scenario.Clock().Advance(0.0137);
    SpawnObject(s);
    const int kind = s.objectKind, x = s.objectX;
    EXPECT_EQ(s.objectY, 15);
    EXPECT_TRUE(kind == 1 || kind == 2 || kind == 3 || kind == 15 || kind == 22) << kind;
    if (kind == 1 || kind == 3 || kind == 15) {
      EXPECT_GE(x, 1);
      EXPECT_LE(x, 600);
    }
    SpawnObject(s);
    EXPECT_EQ(s.objectKind, kind);
    EXPECT_EQ(s.objectX, x);
    seen.insert({kind, x});
  }
  EXPECT_GT(seen.size(), 100u) << "different moments give different objects";
}

TEST_F(Objects, ANewGameSetsItsFieldsAndKeepsTheRest) {
  s.message = "old";
  s.fallPhase = 1;
  s.mouseControl = 1;
  s.points = 50;
  scenario.NewGame();
  EXPECT_EQ(s.frameDelay, 4);
  EXPECT_EQ(s.catcherX, 3);
  EXPECT_EQ(s.lives, 3);
  EXPECT_EQ(s.points, 0);
  EXPECT_EQ(s.stones, 0);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.objectY, 15);
  EXPECT_NE(s.objectImage, nullptr);
  EXPECT_EQ(s.message, "old");
  EXPECT_EQ(s.fallPhase, 1);
  EXPECT_EQ(s.mouseControl, 1);
}

// LoadBitmapAsset on files the test writes into the scenario's folder.
class Assets : public Objects {
 protected:
  static std::uint32_t Pattern(int x, int y) {
    return std::uint32_t(x * 6) << 16 | std::uint32_t(y * 6) << 8 | 0x33;
  }

  // A 24-bit BMP of `width` x `height` with the header's height field set to `storedHeight`.
  void WriteFile(const char* name, int width, int height, int storedHeight) {
    test::WriteBmp(name, width, height, Pattern);
    if (storedHeight == height) return;
    std::fstream file(name, std::ios::in | std::ios::out | std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
    const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
    std::vector<char> flipped(bytes.begin(), bytes.begin() + 54);
    for (int row = height - 1; row >= 0; --row) {
      auto start = bytes.begin() + 54 + row * rowBytes;
      flipped.insert(flipped.end(), start, start + rowBytes);
    }
    std::memcpy(&flipped[22], &storedHeight, 4);
    file.seekp(0);
    file.write(flipped.data(), std::streamsize(flipped.size()));
  }

  void FillScreen(std::uint32_t color) {
    const rt::Surface screen = rt::ScreenSurface();
    for (int y = 0; y < screen.height; ++y) {
      for (int x = 0; x < screen.width; ++x) std::memcpy(screen.Row(y) + 4 * x, &color, 4);
    }
  }

  bool ScreenIsStill(std::uint32_t color) {
    for (int y = 0; y < 480; y += 7) {
      for (int x = 0; x < 640; x += 5) {
        if (test::ScreenPixel(x, y) != color) return false;
      }
    }
    return true;
  }
};

TEST_F(Assets, ABottomUpFileGivesAnImageOfItsSizeAndPixels) {
  WriteFile("pic.bmp", 40, 40, 40);
  rt::ImagePtr image = LoadBitmapAsset("pic.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 40u);
  EXPECT_EQ(image->height, 40u);
  for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 39}, {17, 23}}) {
    EXPECT_EQ(ImagePixel(image.get(), x, y) & 0xFFFFFF, Pattern(x, y)) << x << "," << y;
  }
}

TEST_F(Assets, ATopDownFileLoadsUprightWithItsAbsoluteHeight) {
  WriteFile("top.bmp", 30, 20, -20);
  FillScreen(0xFF123456);
  rt::ImagePtr image = LoadBitmapAsset("top.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 30u);
  EXPECT_EQ(image->height, 20u);
  EXPECT_EQ(ImagePixel(image.get(), 0, 0) & 0xFFFFFF, Pattern(0, 0));
  EXPECT_EQ(ImagePixel(image.get(), 29, 19) & 0xFFFFFF, Pattern(29, 19));
  EXPECT_TRUE(ScreenIsStill(0xFF123456));
}

TEST_F(Assets, AZeroSizeInTheHeaderGivesNoImageAndLeavesTheScreenAlone) {
  WriteFile("flat.bmp", 30, 20, 0);
  FillScreen(0xFF123456);
  EXPECT_EQ(LoadBitmapAsset("flat.bmp"), nullptr);
  EXPECT_TRUE(ScreenIsStill(0xFF123456));
}

TEST_F(Assets, AMissingOrTruncatedFileGivesNoImage) {
  EXPECT_EQ(LoadBitmapAsset("missing.bmp"), nullptr);
  std::ofstream("short.bmp", std::ios::binary) << "BM0123456789abcdefgh";
  FillScreen(0xFF123456);
  EXPECT_EQ(LoadBitmapAsset("short.bmp"), nullptr);
  EXPECT_TRUE(ScreenIsStill(0xFF123456));
}

TEST_F(Assets, AHeaderClaimingMorePixelsThanTheFileHasBitsGivesNoImage) {
  WriteFile("huge.bmp", 40, 40, 40);
  const int width = 8000, height = 8000;  // 256 MB at the screen's depth, from a file of 4854 bytes
  {
    std::fstream file("huge.bmp", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(18);
    file.write(reinterpret_cast<const char*>(&width), 4);
    file.write(reinterpret_cast<const char*>(&height), 4);
  }
  EXPECT_EQ(LoadBitmapAsset("huge.bmp"), nullptr);

  // A file cut short but able to hold its picture still gives one.
  WriteFile("cut.bmp", 40, 40, 40);
  std::filesystem::resize_file("cut.bmp", 54 + 40 * 3 * 10);
  rt::ImagePtr image = LoadBitmapAsset("cut.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(ImagePixel(image.get(), 5, 39) & 0xFFFFFF, Pattern(5, 39));
}

// Run-length codes paint up to 255 pixels with two bytes, far less than a bit
// per pixel; the size guard allows for that and still stops damaged headers.
TEST_F(Assets, ARunLengthSpriteUnderABitPerPixelLoadsAndADamagedOneDoesNot) {
  for (int bits : {8, 4}) {
    SCOPED_TRACE(bits);
    rt::test::BmpBuilder b;
    b.width = 600;
    b.height = 100;
    b.bits = bits;
    b.compression = bits == 8 ? 1 : 2;
    b.palette = {0, test::kUfoColor};
    for (int y = 0; y < b.height; ++y) {
      for (int left = b.width; left > 0; left -= 255) {
        b.pixelData.push_back(std::uint8_t(std::min(left, 255)));
        b.pixelData.push_back(bits == 8 ? 1 : 0x11);  // color 1 (twice at 4 bits)
      }
      b.pixelData.insert(b.pixelData.end(), {0, 0});  // end of line
    }
    b.pixelData.insert(b.pixelData.end(), {0, 1});  // end of picture
    std::vector<std::uint8_t> file = b.Build();
    ASSERT_LT(file.size() * 8, 600u * 100);
    rt::test::WriteBytes("rle.bmp", file);
    rt::ImagePtr image = LoadBitmapAsset("rle.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 600u);
    EXPECT_EQ(image->height, 100u);
    EXPECT_EQ(ImagePixel(image.get(), 0, 0), 0xFF000000u | test::kUfoColor);
    EXPECT_EQ(ImagePixel(image.get(), 599, 99), 0xFF000000u | test::kUfoColor);

    const std::uint32_t huge = 8000;  // 64 million pixels from these few codes
    std::memcpy(&file[18], &huge, 4);
    std::memcpy(&file[22], &huge, 4);
    rt::test::WriteBytes("rle.bmp", file);
    EXPECT_EQ(LoadBitmapAsset("rle.bmp"), nullptr);
  }
}

TEST_F(Assets, WithoutTheCatcherPictureTheRoundStillPlays) {
  std::filesystem::remove(scenario.Folder() / kCatcherPicture);
  s.catcherImage = LoadBitmapAsset(kCatcherPicture);
  EXPECT_EQ(s.catcherImage, nullptr);
  scenario.NewGame();
  EXPECT_EQ(scenario.RunFrames(20), NextScreen::Round);
  EXPECT_NE(test::ScreenRgb(10, 405), test::kCatcherColor);
}

}  // namespace
}  // namespace game
