// The key scan: which one event each change of the key mask gives.
#include "simulator/KeyScanner.h"

#include <gtest/gtest.h>

#include "simulator/PanelModel.h"

namespace sim {
namespace {

void ExpectEvent(const KeyEvent& a_Event, KeyEvent::Type a_Type, int a_Key) {
  EXPECT_EQ(a_Event.type, a_Type);
  EXPECT_EQ(a_Event.key, a_Key);
}

TEST(KeyScannerTest, ASecondKeyPressedAndReleasedWhileTheFirstIsHeld) {
  KeyScanner scanner;
  const uint32_t one = PanelModel::KeyBit(1);
  const uint32_t two = PanelModel::KeyBit(2);
  EXPECT_FALSE(scanner.Changed(0));
  ExpectEvent(scanner.Scan(0), KeyEvent::kNone, 0);
  ExpectEvent(scanner.Scan(one), KeyEvent::kPress, 1);
  EXPECT_FALSE(scanner.Changed(one));
  ExpectEvent(scanner.Scan(one), KeyEvent::kNone, 0);  // held: no new event
  ExpectEvent(scanner.Scan(one | two), KeyEvent::kPress, 2);
  ExpectEvent(scanner.Scan(one), KeyEvent::kRelease, 2);
  ExpectEvent(scanner.Scan(0), KeyEvent::kRelease, 1);
}

TEST(KeyScannerTest, PressesComeBeforeReleasesAndTheLowestKeyFirst) {
  KeyScanner scanner;
  const uint32_t three = PanelModel::KeyBit(3);
  const uint32_t five = PanelModel::KeyBit(5);
  scanner.Scan(three);
  // Key 3 released and key 5 pressed in the same cycle: the press is the event.
  ExpectEvent(scanner.Scan(five), KeyEvent::kPress, 5);
  ExpectEvent(scanner.Scan(0), KeyEvent::kRelease, 5);
  // Two keys pressed (and later released) together: the lower one is reported.
  ExpectEvent(scanner.Scan(three | five), KeyEvent::kPress, 3);
  ExpectEvent(scanner.Scan(0), KeyEvent::kRelease, 3);
}

TEST(KeyScannerTest, TheFirstAndTheLastKeyBits) {
  KeyScanner scanner;
  const uint32_t last = uint32_t{1} << 31;
  ExpectEvent(scanner.Scan(last), KeyEvent::kPress, 32);
  ExpectEvent(scanner.Scan(last | 1u), KeyEvent::kPress, 1);
  ExpectEvent(scanner.Scan(1u), KeyEvent::kRelease, 32);
  ExpectEvent(scanner.Scan(0), KeyEvent::kRelease, 1);
}

}  // namespace
}  // namespace sim
