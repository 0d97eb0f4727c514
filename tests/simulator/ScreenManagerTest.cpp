// The run cycle through the Simulator: frame switches, overlays, keys, focus, passwords and
// the screen saver, on images built by TestImage.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "simulator/PanelModel.h"
#include "simulator/Simulator.h"
#include "tests/simulator/TestImage.h"

namespace {

using simtest::Block;
using simtest::Frame;
using simtest::TestImage;

// Every test frame N shows a marker block at (10 N, 0), 8 x 8.
Frame MarkedFrame(uint16_t a_Number, uint16_t a_Previous = 0, uint16_t a_Next = 0) {
  Frame frame{a_Number, a_Previous, a_Next, {}};
  frame.blocks.push_back({sim::Rect::FromSize(10 * a_Number, 0, 8, 8)});
  return frame;
}

// Whether the status box "no user data" (12 bytes of text: 78 x 16, in the middle of the
// 192 x 64 LCD) shows within the next 8 ticks; it blinks every 4.
bool ShowsTheStatusBox(sim::Simulator& a_Sim) {
  for (int i = 0; i < 8; ++i) {
    a_Sim.Tick();
    a_Sim.Cycle();
    const uint8_t* bits = a_Sim.LcdBits();
    for (int y = 24; y < 40; ++y)
      for (int x = 57; x < 135; ++x)
        if ((bits[y * 24 + x / 8] >> (x % 8)) & 1) return true;
  }
  return false;
}

class PanelRun : public testing::Test {
 protected:
  void Start(const TestImage& a_Image, bool a_Encoder = false) {
    // Layout code 1 is the encoder panel.
    sim::LaunchOptions options = sim::ParseLaunchArguments({"1", "", a_Encoder ? "1" : "0"});
    m_Sim = std::make_unique<sim::Simulator>(options, m_Host);
    m_Sim->StartWithImage(a_Image.Build());
    m_Sim->Cycle();
  }
  bool Pixel(int a_X, int a_Y) const {
    int stride = (m_Sim->LcdWidth() + 7) / 8;
    return (m_Sim->LcdBits()[a_Y * stride + a_X / 8] >> (a_X % 8)) & 1;
  }
  bool Shows(int a_Frame) const { return Pixel(10 * a_Frame + 3, 3); }
  void Click(int a_Key) {
    m_Sim->SetKeyMask(sim::PanelModel::KeyBit(a_Key));
    m_Sim->Cycle();
    m_Sim->SetKeyMask(0);
    m_Sim->Cycle();
  }
  void Ticks(int a_Count) {
    for (int i = 0; i < a_Count; ++i) {
      m_Sim->Tick();
      m_Sim->Cycle();
    }
  }
  uint16_t Word(unsigned a_Address) const {
    uint16_t value = 0;
    EXPECT_TRUE(m_Sim->ReadWord(a_Address, value));
    return value;
  }

  simtest::TestHost m_Host;
  std::unique_ptr<sim::Simulator> m_Sim;
};

TEST_F(PanelRun, StartFrameAndTheUpAndDownKeys) {
  TestImage image;
  image.frames = {MarkedFrame(1, 0, 2), MarkedFrame(2, 1, 0)};
  Start(image);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(Shows(1));
  Click(3);
  m_Sim->Cycle();
  EXPECT_EQ(m_Sim->CurrentFrame(), 2);
  EXPECT_TRUE(Shows(2));
  EXPECT_FALSE(Shows(1));
  Click(2);
  m_Sim->Cycle();
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  // One beep per press, none for the releases.
  EXPECT_EQ(m_Host.beeps, 2);
}

TEST_F(PanelRun, KeyBeepOffAndMissingFramesKeepTheOldFrame) {
  TestImage image;
  image.settings.flags = 1u << 2;
  image.frames = {MarkedFrame(1, 0, 7)};
  Start(image);
  Click(3);  // frame 7 does not exist
  Ticks(3);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(Shows(1));
  EXPECT_EQ(m_Host.beeps, 0);
  m_Sim->JumpTo(0);
  Ticks(1);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
}

TEST_F(PanelRun, EmptyFrameTableOrWrongTagShowNoFrame) {
  TestImage image;
  Start(image);
  EXPECT_EQ(m_Sim->CurrentFrame(), 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 192; ++x) ASSERT_FALSE(Pixel(x, y));

  image.frames = {MarkedFrame(1)};
  std::vector<uint8_t> bytes = image.Build();
  bytes[5] = 'K';  // "MarvoK"
  sim::LaunchOptions options;
  options.imagePath.clear();
  sim::Simulator broken(options, m_Host);
  broken.StartWithImage(bytes);
  for (int i = 0; i < 8; ++i) {
    broken.Tick();
    broken.Cycle();
  }
  EXPECT_EQ(broken.CurrentFrame(), 0);
  EXPECT_TRUE(ShowsTheStatusBox(broken));
}

// The header alone (the tag, zeros elsewhere) is an image without sections; a byte less is
// no image at all.
TEST_F(PanelRun, AnImageAsLongAsItsHeaderIsReadOneByteShorterIsNoUserData) {
  std::vector<uint8_t> header(24, 0);
  std::memcpy(header.data(), "Marvok", 6);
  for (std::size_t size : {header.size() - 1, header.size(), header.size() + 1}) {
    SCOPED_TRACE(size);
    std::vector<uint8_t> bytes = header;
    bytes.resize(size, 0);
    sim::LaunchOptions options;
    options.imagePath.clear();
    sim::Simulator sim(options, m_Host);
    sim.StartWithImage(bytes);
    sim.Cycle();
    EXPECT_EQ(sim.CurrentFrame(), 0);
    EXPECT_EQ(ShowsTheStatusBox(sim), size < header.size());
  }
}

TEST_F(PanelRun, JumpsWaitWhileTheAlarmFrameIsShown) {
  TestImage image;
  image.alarmFrame = 5;
  image.frames = {MarkedFrame(1, 0, 2), MarkedFrame(2), MarkedFrame(5)};
  Start(image);
  Click(8);
  m_Sim->Cycle();
  EXPECT_EQ(m_Sim->CurrentFrame(), 5);
  // Keys 2 and 3 do nothing on an overlay; a posted jump waits.
  Click(3);
  m_Sim->JumpTo(2);
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 5);
  Click(6);  // leaves the alarm frame, back to frame 1, then the waiting jump to 2
  Ticks(3);
  EXPECT_EQ(m_Sim->CurrentFrame(), 2);
  EXPECT_TRUE(Shows(2));
}

TEST_F(PanelRun, ScreenSaverShowsItsFrameAndTheFirstKeyOnlyWakes) {
  TestImage image;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.frames = {MarkedFrame(1, 0, 2), MarkedFrame(2), MarkedFrame(9)};
  Start(image);
  Ticks(599);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(m_Sim->BacklightOn());
  Ticks(1);  // the tick the minute ends
  EXPECT_EQ(m_Sim->CurrentFrame(), 9);
  EXPECT_FALSE(m_Sim->BacklightOn());
  Ticks(1);
  EXPECT_EQ(m_Sim->CurrentFrame(), 9);
  EXPECT_FALSE(m_Sim->BacklightOn());
  Click(3);  // wakes: back to frame 1, not on to frame 2
  Ticks(2);
  EXPECT_TRUE(m_Sim->BacklightOn());
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  Click(3);
  Ticks(1);
  EXPECT_EQ(m_Sim->CurrentFrame(), 2);
}

TEST_F(PanelRun, ScreenSaverWithFlagBitZeroOnlyDarkens) {
  TestImage image;
  image.settings.flags = 1;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.frames = {MarkedFrame(1, 0, 2), MarkedFrame(2), MarkedFrame(9)};
  Start(image);
  Ticks(599);
  EXPECT_TRUE(m_Sim->BacklightOn());
  Ticks(1);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_FALSE(m_Sim->BacklightOn());
  Click(3);
  Ticks(2);
  EXPECT_TRUE(m_Sim->BacklightOn());
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
}

TEST_F(PanelRun, PasswordLevelFollowsCodesAndCanOnlyBeLowered) {
  TestImage image;
  image.settings.passwordMask = 0x0F;
  image.settings.passwords[1] = 4321;  // level 2
  image.settings.passwords[2] = 4321;  // level 3, never reached: the first match wins
  image.settings.passwords[3] = 9999;  // level 4
  image.frames = {MarkedFrame(1)};
  Start(image);
  EXPECT_TRUE(m_Sim->WriteWord(255, 0));
  EXPECT_TRUE(m_Sim->WriteWord(254, 4321));
  m_Sim->Cycle();
  EXPECT_EQ(Word(253), 2);
  EXPECT_EQ(Word(254), 0);  // the entry is cleared
  EXPECT_TRUE(m_Sim->WriteWord(253, 7));  // higher: undone
  m_Sim->Cycle();
  EXPECT_EQ(Word(253), 2);
  EXPECT_TRUE(m_Sim->WriteWord(253, 1));  // lower: taken
  m_Sim->Cycle();
  EXPECT_EQ(Word(253), 1);
  EXPECT_TRUE(m_Sim->WriteWord(254, 1));  // no match: the level stays
  m_Sim->Cycle();
  EXPECT_EQ(Word(253), 1);
  EXPECT_FALSE(m_Sim->WriteWord(256, 1));
}

TEST_F(PanelRun, SaverPasswordGuardsTheSavedFrame) {
  TestImage image;
  image.settings.flags = 1u << 1;  // leaving the saver asks for level 1
  image.settings.saverLevel = 1;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.settings.passwordFrame = 8;
  image.settings.passwordMask = 1;
  image.settings.passwords[0] = 1234;
  image.frames = {MarkedFrame(1), MarkedFrame(8), MarkedFrame(9)};
  Start(image);
  Ticks(601);
  EXPECT_EQ(m_Sim->CurrentFrame(), 9);
  Click(5);
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 8);  // the password frame
  EXPECT_TRUE(m_Sim->WriteWord(255, 0));
  EXPECT_TRUE(m_Sim->WriteWord(254, 1234));
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_EQ(Word(253), 1);
}

// Escape on the saver's password request goes back to the saver, never to the saved frame;
// only the right password wakes the panel.
TEST_F(PanelRun, EscapeOnTheSaverPasswordReturnsToTheSaver) {
  TestImage image;
  image.settings.flags = 1u << 1;
  image.settings.saverLevel = 1;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.settings.passwordFrame = 8;
  image.settings.passwordMask = 1;
  image.settings.passwords[0] = 1234;
  image.frames = {MarkedFrame(1), MarkedFrame(8), MarkedFrame(9)};
  Start(image);
  Ticks(601);
  ASSERT_EQ(m_Sim->CurrentFrame(), 9);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Click(5);
    Ticks(2);
    ASSERT_EQ(m_Sim->CurrentFrame(), 8);
    EXPECT_TRUE(m_Sim->BacklightOn());
    Click(6);
    Ticks(2);
    EXPECT_EQ(m_Sim->CurrentFrame(), 9);
    EXPECT_TRUE(Shows(9));
    EXPECT_FALSE(Shows(1));
    EXPECT_FALSE(m_Sim->BacklightOn());
  }
  // Left alone on the request, the panel goes back to sleep on the saver too.
  Click(5);
  Ticks(2);
  ASSERT_EQ(m_Sim->CurrentFrame(), 8);
  Ticks(601);
  EXPECT_EQ(m_Sim->CurrentFrame(), 9);
  EXPECT_FALSE(m_Sim->BacklightOn());
  // A wrong code keeps the request; the right one wakes the panel to the saved frame.
  Click(5);
  Ticks(2);
  EXPECT_TRUE(m_Sim->WriteWord(255, 0));
  EXPECT_TRUE(m_Sim->WriteWord(254, 4321));
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 8);
  EXPECT_TRUE(m_Sim->WriteWord(254, 1234));
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(Shows(1));
  EXPECT_TRUE(m_Sim->BacklightOn());
  // Awake, escape on frame 1 does not bring the saver back.
  Click(6);
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(m_Sim->BacklightOn());
}

TEST_F(PanelRun, EscapeOnTheSaverPasswordDarkensAgainWhenTheSaverOnlyDarkens) {
  TestImage image;
  image.settings.flags = 1u | 1u << 1;  // only the backlight goes off; leaving asks level 1
  image.settings.saverLevel = 1;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.settings.passwordFrame = 8;
  image.settings.passwordMask = 1;
  image.settings.passwords[0] = 1234;
  image.frames = {MarkedFrame(1), MarkedFrame(8), MarkedFrame(9)};
  Start(image);
  Ticks(601);
  ASSERT_EQ(m_Sim->CurrentFrame(), 1);
  ASSERT_FALSE(m_Sim->BacklightOn());
  Click(5);
  Ticks(2);
  ASSERT_EQ(m_Sim->CurrentFrame(), 8);
  Click(6);
  Ticks(2);
  EXPECT_FALSE(m_Sim->BacklightOn());
  // Still asleep: the next key asks for the password again instead of going on.
  Click(5);
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 8);
  EXPECT_TRUE(m_Sim->BacklightOn());
  EXPECT_TRUE(m_Sim->WriteWord(255, 0));
  EXPECT_TRUE(m_Sim->WriteWord(254, 1234));
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);
  EXPECT_TRUE(m_Sim->BacklightOn());
}

// Escape on a password request that the saver did not make still leaves the password frame.
TEST_F(PanelRun, EscapeOnThePasswordFrameOutsideTheSaverLeavesIt) {
  TestImage image;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.settings.passwordFrame = 8;
  image.frames = {MarkedFrame(1, 0, 8), MarkedFrame(8), MarkedFrame(9)};
  Start(image);
  Click(3);  // a plain jump to the password frame
  Ticks(2);
  ASSERT_EQ(m_Sim->CurrentFrame(), 8);
  Click(6);
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 8);  // it is the user frame: re-entered
  EXPECT_TRUE(m_Sim->BacklightOn());
}

// Momentary keys (action 19) on keys 1 and 2: each writes 1 while it is held and 0 when it is
// released, so the words show which key's element got each press and release.
TEST_F(PanelRun, AKeyReleasedWhileAnotherIsHeldReachesItsOwnElement) {
  TestImage image;
  Frame frame = MarkedFrame(1, 2, 0);
  frame.keys.push_back({sim::Rect::FromSize(0, 40, 8, 8), 1, 19, 30});
  frame.keys.push_back({sim::Rect::FromSize(20, 40, 8, 8), 2, 19, 31});
  image.frames = {frame, MarkedFrame(2)};
  Start(image);
  const uint32_t one = sim::PanelModel::KeyBit(1);
  const uint32_t two = sim::PanelModel::KeyBit(2);
  auto words = [&] { return std::pair<int, int>(Word(30), Word(31)); };
  m_Sim->SetKeyMask(one);
  m_Sim->Cycle();
  EXPECT_EQ(words(), std::pair(1, 0));
  m_Sim->SetKeyMask(one | two);
  m_Sim->Cycle();
  EXPECT_EQ(words(), std::pair(1, 1));
  m_Sim->SetKeyMask(one);
  m_Sim->Cycle();
  EXPECT_EQ(words(), std::pair(1, 0));
  m_Sim->SetKeyMask(0);
  m_Sim->Cycle();
  EXPECT_EQ(words(), std::pair(0, 0));
  EXPECT_EQ(m_Host.beeps, 2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 1);  // the element took key 2: no jump to the previous frame
}

TEST_F(PanelRun, FocusMovesAlongTheFocusOrderWithoutWrapping) {
  TestImage image;
  Frame frame = MarkedFrame(1);
  frame.blocks.push_back({sim::Rect::FromSize(0, 20, 8, 8), true});
  frame.blocks.push_back({sim::Rect::FromSize(20, 20, 8, 8), true});
  image.frames = {frame};
  Start(image);  // focus mark 0: the focused element is inverted
  auto focused = [&](int a_X) { return !Pixel(a_X + 3, 23); };
  EXPECT_FALSE(focused(0) || focused(20));
  Click(5);
  EXPECT_TRUE(focused(0));
  Click(5);
  EXPECT_TRUE(focused(20));
  EXPECT_FALSE(focused(0));
  Click(5);  // past the end: no focus
  EXPECT_FALSE(focused(0) || focused(20));
  Click(4);  // backward without focus starts at the last entry
  EXPECT_TRUE(focused(20));
  Click(6);  // escape drops the focus
  EXPECT_FALSE(focused(20));
}

TEST_F(PanelRun, ElementsShowTheEntryOfTheirRegistersState) {
  TestImage image;
  Frame frame = MarkedFrame(1);
  Block stated{sim::Rect::FromSize(40, 30, 16, 8)};
  stated.stateWord = 20;
  frame.blocks.push_back(stated);
  image.frames = {frame};
  Start(image);
  auto left = [&] { return Pixel(42, 33); };
  auto right = [&] { return Pixel(52, 33); };
  EXPECT_TRUE(left() && right());  // state 0: the whole block
  EXPECT_TRUE(m_Sim->WriteWord(20, 1));
  m_Sim->Cycle();
  EXPECT_TRUE(left());  // state 1: the left half
  EXPECT_FALSE(right());
  EXPECT_TRUE(m_Sim->WriteWord(20, 9));  // no such entry: nothing
  m_Sim->Cycle();
  EXPECT_FALSE(left() || right());
  EXPECT_TRUE(Shows(1));
}

TEST_F(PanelRun, TheEncoderMovesTheFocusOnlyOnTheEncoderPanel) {
  TestImage image;
  Frame frame = MarkedFrame(1);
  frame.blocks.push_back({sim::Rect::FromSize(0, 20, 8, 8), true});
  frame.blocks.push_back({sim::Rect::FromSize(20, 20, 8, 8), true});
  image.frames = {frame};
  auto focused = [&](int a_X) { return !Pixel(a_X + 3, 23); };
  Start(image);
  m_Sim->TurnEncoder(1);
  m_Sim->Cycle();
  EXPECT_FALSE(focused(0));
  Start(image, true);
  m_Sim->TurnEncoder(2);  // two steps forward
  m_Sim->Cycle();
  EXPECT_TRUE(focused(20));
  m_Sim->TurnEncoder(-1);
  m_Sim->Cycle();
  EXPECT_TRUE(focused(0));
  EXPECT_EQ(m_Host.beeps, 0);
}

TEST_F(PanelRun, ControlRegistersRequestAndReportFrames) {
  TestImage image;
  image.settings.control = true;
  image.settings.requestWord = 10;
  image.frames = {MarkedFrame(1), MarkedFrame(3)};
  Start(image);
  EXPECT_EQ(Word(11), 1);
  EXPECT_TRUE(m_Sim->WriteWord(10, 3));
  Ticks(2);
  EXPECT_EQ(m_Sim->CurrentFrame(), 3);
  EXPECT_EQ(Word(11), 3);
}

}  // namespace
