#include "simulator/app/SdlWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "simulator/app/HeadlessHost.h"
#include "simulator/app/PanelScript.h"
#include "tests/simulator/TestImage.h"

namespace sim {
namespace {

class SdlWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }

  // A window of built-in model a_Number with its shipped skin, without the tick timer and the
  // pause so the tests run at their own pace.
  void OpenModel(int a_Number) {
    m_Options = ParseLaunchArguments({std::to_string(a_Number)});
    std::string error;
    ASSERT_TRUE(m_Skin.LoadSkin(m_Options.model.skinName, error)) << error;
    m_Simulator = std::make_unique<Simulator>(m_Options, m_Host);
    m_Simulator->Start();
    WindowOptions options;
    options.tickTimer = false;
    options.cyclePauseMs = 0;
    m_Window = std::make_unique<SkinWindow>(*m_Simulator, m_Options.model, m_Skin, options);
    ASSERT_TRUE(m_Window->Open(error)) << error;
    ASSERT_EQ(m_Window->RunCycles(1), 1);
  }

  // The same with an image in memory instead of a file.
  void OpenImage(const std::vector<uint8_t>& a_Image) {
    m_Options = ParseLaunchArguments({"1"});
    m_Options.imagePath.clear();
    std::string error;
    ASSERT_TRUE(m_Skin.LoadSkin(m_Options.model.skinName, error)) << error;
    m_Simulator = std::make_unique<Simulator>(m_Options, m_Host);
    m_Simulator->StartWithImage(a_Image);
    WindowOptions options;
    options.tickTimer = false;
    options.cyclePauseMs = 0;
    m_Window = std::make_unique<SkinWindow>(*m_Simulator, m_Options.model, m_Skin, options);
    ASSERT_TRUE(m_Window->Open(error)) << error;
    ASSERT_EQ(m_Window->RunCycles(1), 1);
  }

  void TearDown() override {
    m_Window.reset();
    m_Simulator.reset();
  }

  void Click(int a_X, int a_Y, int a_Button = SDL_BUTTON_LEFT) {
    m_Window->InjectMouseButton(true, a_Button, a_X, a_Y);
    m_Window->Step();
    m_Window->InjectMouseButton(false, a_Button, a_X, a_Y);
    m_Window->Step();
  }

  PanelPicture Read() {
    PanelPicture picture;
    std::string error;
    EXPECT_TRUE(m_Window->ReadPixels(picture, error)) << error;
    return picture;
  }

  HeadlessHost m_Host;
  LaunchOptions m_Options;
  SkinBitmap m_Skin;
  std::unique_ptr<Simulator> m_Simulator;
  std::unique_ptr<SkinWindow> m_Window;
};

TEST_F(SdlWindowTest, ShowsTheSkinWithTheLitLcdInIt) {
  OpenModel(1);
  const PanelPicture shown = Read();
  ASSERT_EQ(shown.width, m_Skin.Width());
  ASSERT_EQ(shown.height, m_Skin.Height());
  // The blank LCD of the stand-in is all light: backlight colour over its doubled area.
  const PanelModel& model = m_Options.model;
  const int top = m_Skin.Height() - model.lcdY - 2 * model.lcdHeight;
  const int right = model.lcdX + 2 * model.lcdWidth - 1;
  const int bottom = top + 2 * model.lcdHeight - 1;
  for (auto [x, y] : {std::pair{model.lcdX, top}, {right, bottom}, {right, top}, {model.lcdX, bottom}})
    EXPECT_EQ(std::memcmp(shown.Pixel(x, y), LcdColours::kLightBacklit, 3), 0) << x << "," << y;
  EXPECT_NE(std::memcmp(shown.Pixel(model.lcdX - 1, top), LcdColours::kLightBacklit, 3), 0);
  EXPECT_NE(std::memcmp(shown.Pixel(model.lcdX, bottom + 1), LcdColours::kLightBacklit, 3), 0);
  // Everything else is the skin as composed.
  const PanelPicture expected = ComposePanelPicture(m_Skin, model, m_Simulator->LcdBits(),
                                                    m_Simulator->LcdWidth(),
                                                    m_Simulator->LcdHeight(), true);
  EXPECT_TRUE(shown.rgb == expected.rgb);
}

TEST_F(SdlWindowTest, KeyAreaPressSetsItsBitAndReleaseClearsTheMask) {
  OpenModel(1);
  const KeyArea& esc = m_Options.model.keys[5];  // key 6
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, esc.x + esc.width, esc.y);  // edge included
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), 1u << 5);
  EXPECT_FALSE(m_Window->IsDragging());
  // A press on another key replaces the mask rather than adding to it.
  const KeyArea& zero = m_Options.model.keys[18];
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, zero.x + 1, zero.y + 1);
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), 1u << 18);
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, zero.x + 1, zero.y + 1);
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
}

TEST_F(SdlWindowTest, EncoderKnobIsKeySeven) {
  OpenModel(2);
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, 622, 178);
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), PanelModel::KeyBit(7));
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, 622, 178);
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
  // The wheel reaches the encoder on this model without touching the keys.
  m_Window->InjectWheel(2);
  m_Window->InjectWheel(-1);
  EXPECT_EQ(m_Window->RunCycles(1), 1);
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
}

TEST_F(SdlWindowTest, PressOutsideTheKeysDragsTheWindow) {
  OpenModel(1);
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, 20, 150);
  m_Window->Step();
  EXPECT_TRUE(m_Window->IsDragging());
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
  m_Window->InjectMouseMotion(30, 155);
  m_Window->Step();
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, 30, 155);
  m_Window->Step();
  EXPECT_FALSE(m_Window->IsDragging());
  EXPECT_FALSE(m_Window->IsClosed());

  // A double click tests the keys the same way but never drags.
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, 20, 150, 2);
  m_Window->Step();
  EXPECT_FALSE(m_Window->IsDragging());
  const KeyArea& set = m_Options.model.keys[0];
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, set.x + 3, set.y + 3, 2);
  m_Window->Step();
  EXPECT_EQ(m_Simulator->KeyMask(), 1u);
}

TEST_F(SdlWindowTest, RightClickMenuClosesWhenItsItemIsChosen) {
  OpenModel(1);
  const PanelPicture before = Read();
  Click(200, 20, SDL_BUTTON_RIGHT);
  ASSERT_TRUE(m_Window->IsMenuOpen());
  const PanelPicture withMenu = Read();
  EXPECT_FALSE(withMenu.rgb == before.rgb);
  // A click elsewhere only takes the menu away, and is no key press.
  const KeyArea& set = m_Options.model.keys[0];
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, set.x + 3, set.y + 3);
  m_Window->Step();
  EXPECT_FALSE(m_Window->IsMenuOpen());
  EXPECT_FALSE(m_Window->IsClosed());
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, set.x + 3, set.y + 3);
  m_Window->Step();
  EXPECT_TRUE(Read().rgb == before.rgb);

  Click(200, 20, SDL_BUTTON_RIGHT);
  ASSERT_TRUE(m_Window->IsMenuOpen());
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, 205, 25);
  EXPECT_FALSE(m_Window->Step());
  EXPECT_TRUE(m_Window->IsClosed());
}

TEST_F(SdlWindowTest, EnterEscapeSpaceAndWindowCloseEndTheRun) {
  for (int32_t key : {int32_t{SDLK_RETURN}, int32_t{SDLK_ESCAPE}, int32_t{SDLK_SPACE}, int32_t{0}}) {
    OpenModel(1);
    m_Window->InjectKey(SDLK_a);
    EXPECT_TRUE(m_Window->Step());
    if (key != 0) {
      m_Window->InjectKey(key);
    } else {
      m_Window->InjectClose();
    }
    EXPECT_EQ(m_Window->RunCycles(5), 0) << key;
    EXPECT_TRUE(m_Window->IsClosed());
    TearDown();
  }
}

TEST_F(SdlWindowTest, WindowHostGivesTheLocalTimeAndBeepsQuietlyWithoutSound) {
  WindowHost host;
  const HostTime now = host.Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_LE(now.second, 59);
  host.Beep(1000, 100);
  host.Beep(0, 100);
  host.Beep(1000, 100000);
  EXPECT_EQ(host.BeepCount(), 3);  // counted for scripts, sound or not
}

TEST_F(SdlWindowTest, ClickingTheDownKeyShowsTheNextFrameInTheLcd) {
  simtest::TestImage image;
  image.frames = {{1, 0, 2, {{sim::Rect::FromSize(0, 0, 8, 8)}}},
                  {2, 1, 0, {{sim::Rect::FromSize(100, 40, 8, 8)}}}};
  OpenImage(image.Build());
  const PanelModel& model = m_Options.model;
  const int lcdTop = m_Skin.Height() - model.lcdY - 2 * model.lcdHeight;
  // LCD pixel (x, y) is window pixel (lcdX + 2x, lcdTop + 2y).
  auto dark = [&](int a_X, int a_Y) {
    return std::memcmp(Read().Pixel(model.lcdX + 2 * a_X, lcdTop + 2 * a_Y), LcdColours::kDark,
                       3) == 0;
  };
  EXPECT_TRUE(dark(3, 3));
  EXPECT_FALSE(dark(103, 43));
  Click(270, 320);  // key 3
  m_Window->RunCycles(2);
  EXPECT_EQ(m_Simulator->CurrentFrame(), 2);
  EXPECT_FALSE(dark(3, 3));
  EXPECT_TRUE(dark(103, 43));
  EXPECT_EQ(m_Host.BeepCount(), 1);
}

TEST_F(SdlWindowTest, AScriptDrivesTheLivePanelBetweenCycles) {
  simtest::TestImage image;
  image.frames = {{1, 0, 2, {{sim::Rect::FromSize(0, 0, 8, 8)}}},
                  {2, 1, 0, {{sim::Rect::FromSize(100, 40, 8, 8)}}}};
  OpenImage(image.Build());
  std::istringstream text("click 3\ncycle 3\nset 20 7\nexpect 20 7\nexpect 21 1\nset 22 1\n");
  std::ostringstream out, err;
  PanelScript script(*m_Simulator, text, out, err, [this] { return m_Host.BeepCount(); });
  m_Window->AttachScript(script);
  EXPECT_TRUE(m_Window->ScriptRunning());
  m_Window->RunCycles(2);
  EXPECT_EQ(m_Simulator->CurrentFrame(), 2);  // the click, then the frame switch
  m_Window->RunCycles(10);
  EXPECT_FALSE(m_Window->ScriptRunning());
  EXPECT_EQ(m_Window->ScriptExitCode(), 1);  // word 21 is 0
  uint16_t value = 0;
  ASSERT_TRUE(m_Simulator->ReadWord(20, value));
  EXPECT_EQ(value, 7);
  ASSERT_TRUE(m_Simulator->ReadWord(22, value));
  EXPECT_EQ(value, 0);  // the script stopped at the failed expectation
  EXPECT_NE(err.str().find("word 21 is 0, expected 1"), std::string::npos) << err.str();
  EXPECT_FALSE(m_Window->IsClosed());  // the window stays for the person watching
}

// Key 3 (down) of model 1's skin, in window coordinates.
constexpr int kDownX = 270, kDownY = 320;

// Three frames in a row, each a block of its own.
std::vector<uint8_t> ThreeFrames() {
  simtest::TestImage image;
  image.frames = {{1, 0, 2, {{sim::Rect::FromSize(0, 0, 8, 8)}}},
                  {2, 1, 3, {{sim::Rect::FromSize(100, 40, 8, 8)}}},
                  {3, 2, 0, {{sim::Rect::FromSize(50, 20, 8, 8)}}}};
  return image.Build();
}

TEST_F(SdlWindowTest, AClickWhosePressAndReleaseComeTogetherStillGivesOnePress) {
  OpenImage(ThreeFrames());
  // Both events wait in one batch: no cycle runs between them.
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, kDownX, kDownY);
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, kDownX, kDownY);
  m_Window->RunCycles(4);
  EXPECT_EQ(m_Simulator->CurrentFrame(), 2);
  EXPECT_EQ(m_Host.BeepCount(), 1);
  EXPECT_EQ(m_Simulator->KeyMask(), 0u);
}

TEST_F(SdlWindowTest, AHeldPressIsOnePress) {
  OpenImage(ThreeFrames());
  m_Window->InjectMouseButton(true, SDL_BUTTON_LEFT, kDownX, kDownY);
  m_Window->RunCycles(6);
  m_Window->InjectMouseButton(false, SDL_BUTTON_LEFT, kDownX, kDownY);
  m_Window->RunCycles(4);
  EXPECT_EQ(m_Simulator->CurrentFrame(), 2);
  EXPECT_EQ(m_Host.BeepCount(), 1);
}

}  // namespace
}  // namespace sim
