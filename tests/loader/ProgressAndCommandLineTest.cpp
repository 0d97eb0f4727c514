// The progress bar's rules and the loaders' command line.
#include <gtest/gtest.h>

#include "loader/ProgressBar.h"
#include "loader/app/LoaderCommandLine.h"

using namespace nd620;

namespace {

TEST(ProgressBar, CaptionAndPercent) {
  ProgressBar bar;
  EXPECT_EQ(bar.Text(), "");  // no caption, 0 %
  bar.SetPos(37);
  EXPECT_EQ(bar.Text(), "37%");
  bar.SetCaption("Download GUI:");
  bar.SetRange(0, 2);
  bar.SetPos(0);
  EXPECT_EQ(bar.Text(), "Download GUI:");
  bar.StepIt();
  EXPECT_EQ(bar.Text(), "Download GUI:50%");
  bar.SetRange(0, 3);
  bar.SetPos(2);
  EXPECT_EQ(bar.Percent(), 66);  // truncated
  bar.SetPos(7);
  EXPECT_EQ(bar.Percent(), 100);  // at most 100
}

TEST(ProgressBar, LowerEqualToUpperDrawsNothing) {
  ProgressBar bar;
  bar.SetCaption("Download User data:");
  bar.SetRange(0, 0);
  EXPECT_FALSE(bar.Drawable());
  EXPECT_EQ(bar.Text(), "");
  EXPECT_EQ(bar.FilledWidth(), 0);
  bar.SetRange(5, 3);
  EXPECT_FALSE(bar.Drawable());
}

TEST(ProgressBar, RepaintsOnlyWhenTheFilledWidthOrTheCaptionChanges) {
  ProgressBar bar;
  bar.SetClientWidth(10);
  bar.SetRange(0, 1000);
  EXPECT_TRUE(bar.TakeRepaint());
  EXPECT_EQ(bar.SetPos(50), 0);  // returns the old position; 0.5 pixel: still 0 wide
  EXPECT_FALSE(bar.TakeRepaint());
  bar.SetPos(100);
  EXPECT_TRUE(bar.TakeRepaint());
  EXPECT_EQ(bar.FilledWidth(), 1);
  bar.SetCaption("x");
  EXPECT_TRUE(bar.TakeRepaint());
  bar.SetCaption("x");
  EXPECT_FALSE(bar.TakeRepaint());
  bar.SetClientWidth(20);  // a resize forgets the last width
  EXPECT_TRUE(bar.TakeRepaint());
}

LoaderCommandLine Parse(const std::vector<std::string>& a_Args, bool a_Ok = true) {
  LoaderCommandLine line;
  std::string error;
  EXPECT_EQ(ParseLoaderCommandLine(a_Args, line, error), a_Ok) << error;
  return line;
}

TEST(LoaderCommandLine, TheTokenRule) {
  auto line = Parse({"ND620Loader", "-D", "-f", "/p/My Project.td"});
  EXPECT_TRUE(line.m_HasPath);
  EXPECT_EQ(line.m_Path, "/p/My Project.td");
  EXPECT_FALSE(line.m_Upload);
  // Three tokens are ignored entirely.
  line = Parse({"ND620Loader", "-f", "a.td"});
  EXPECT_FALSE(line.m_HasPath);
  // "-f" as the last token takes the empty path; case counts as the rule says.
  line = Parse({"ND620Loader", "x", "-D", "-f"});
  EXPECT_TRUE(line.m_HasPath);
  EXPECT_EQ(line.m_Path, "");
  line = Parse({"ND620Loader", "-u", "-F", "b.td", "-x"});
  EXPECT_TRUE(line.m_Upload);
  EXPECT_EQ(line.m_Path, "b.td");
  line = Parse({"ND620Loader", "-U", "-d", "-f", "c.td"});
  EXPECT_FALSE(line.m_Upload);
  // "-fF" and "-DF" are other tokens, ignored.
  line = Parse({"ND620Loader", "-fF", "c.td", "x"});
  EXPECT_FALSE(line.m_HasPath);
}

TEST(LoaderCommandLine, TransportOptionsAreLongOptionsOutsideTheRule) {
  auto line = Parse({"ND620Transfer", "-D", "--udp", "127.0.0.1:5000", "-f", "a.td", "--force-gui"});
  EXPECT_EQ(line.m_Path, "a.td");
  EXPECT_EQ(line.m_Transport.m_Kind, kNetwork);
  EXPECT_EQ(line.m_Transport.m_Address, "127.0.0.1");
  EXPECT_EQ(line.m_Transport.m_Port, "5000");
  EXPECT_TRUE(line.m_ForceGui);
  // Taken out first: these three tokens do not make the rule's four.
  line = Parse({"ND620Transfer", "-f", "a.td", "--usb"});
  EXPECT_FALSE(line.m_HasPath);
  line = Parse({"ND620Transfer", "-D", "-f", "a.td", "--serial=/dev/ttyUSB0", "--baud", "9600", "--unit-ms", "50",
                "--attempts", "3", "--reconnect-wait-ms=0"});
  EXPECT_EQ(line.m_Transport.m_Kind, kSerial);
  EXPECT_EQ(line.m_Transport.m_ComName, "/dev/ttyUSB0");
  EXPECT_EQ(line.m_Transport.m_BaudRate, 9600);
  EXPECT_EQ(line.m_Transport.m_UnitMs, 50);
  EXPECT_EQ(line.m_Timing.m_Attempts, 3);
  EXPECT_EQ(line.m_Timing.m_ReconnectWaitMs, 0);
  line = Parse({"ND620Transfer"});
  EXPECT_EQ(line.m_Transport.m_Kind, kUsb);
  line = Parse({"ND620Transfer", "--usb-id", "04b4:1004"});
  ASSERT_EQ(line.m_Transport.m_UsbIds.size(), 1u);
  EXPECT_TRUE(Parse({"ND620Transfer", "--help"}).m_Help);
  EXPECT_TRUE(Parse({"ND620Transfer", "--version"}).m_Version);
}

TEST(LoaderCommandLine, UsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"p", "--udp"}, {"p", "--udp", "nohost"}, {"p", "--baud", "fast"}, {"p", "--bogus"},
        {"p", "--usb", "--udp", "1.2.3.4:5"}, {"p", "--usb-id", "12345:1"}, {"p", "--attempts", "0"}}) {
    SCOPED_TRACE(args[1]);
    Parse(args, false);
  }
}

}  // namespace
