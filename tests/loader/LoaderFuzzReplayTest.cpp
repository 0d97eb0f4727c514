// Replays the loaders' fuzz corpus and the inputs that once found faults.
#include <gtest/gtest.h>

#include "fuzz/LoaderFuzzTargets.h"
#include "tests/TestSupport.h"

TEST(LoaderFuzzReplay, PackageReader) { EXPECT_GT(test::ReplayFuzzInputs("package_reader", FuzzPackageReader), 0u); }
TEST(LoaderFuzzReplay, SerialDecoder) { EXPECT_GT(test::ReplayFuzzInputs("serial_decoder", FuzzSerialDecoder), 0u); }
TEST(LoaderFuzzReplay, UsbReply) { EXPECT_GT(test::ReplayFuzzInputs("usb_reply", FuzzUsbReply), 0u); }
TEST(LoaderFuzzReplay, UdpReply) { EXPECT_GT(test::ReplayFuzzInputs("udp_reply", FuzzUdpReply), 0u); }
