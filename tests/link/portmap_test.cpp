#include "portmap.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct PathCase {
  int number;
  std::string path;  // empty: maps to nothing
};

TEST(PortMapTest, NumbersMapToDeviceNodes) {
  PortMap map;
  map.SetExtraDevices({"/dev/serial/by-id/usb-lead", "/dev/pts/7"});
  const std::vector<PathCase> cases = {
      {1, "/dev/ttyS0"},    {32, "/dev/ttyS31"},   {33, "/dev/ttyUSB0"},
      {64, "/dev/ttyUSB31"}, {65, "/dev/ttyACM0"}, {96, "/dev/ttyACM31"},
      {97, "/dev/serial/by-id/usb-lead"},          {98, "/dev/pts/7"},
      {99, ""},             {0, ""},               {-1, ""},
      {257, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(map.DevicePath(c.number), c.path) << "COM" << c.number;
    if (!c.path.empty()) {
      EXPECT_EQ(map.NumberOf(c.path), c.number) << c.path;
    }
  }
  EXPECT_EQ(map.NumberOf("/dev/ttyS32"), 0);
  EXPECT_EQ(map.NumberOf(""), 0);
}

TEST(PortMapTest, ParsesComNames) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"COM12", 12}, {"COM1", 1}, {"com3", 3}, {"Com256", 256}, {"COM257", 0}, {"COM0", 0},
      {"COMx", 0},   {"COM", 0},  {"COM 3", 0}, {"COM3a", 0},   {"/dev/ttyS0", 0}, {"", 0},
  };
  for (const auto& [name, number] : cases) EXPECT_EQ(PortMap::ParseComName(name), number) << name;
  EXPECT_EQ(PortMap::ComName(98), "COM98");
}

TEST(PortMapTest, ExtraDevicesEndAtPort256) {
  PortMap map;
  for (int n = kFirstExtraPort; n <= kMaxPortNumber; ++n)
    ASSERT_EQ(map.AddExtraDevice("/dev/x" + std::to_string(n)), n);
  EXPECT_EQ(map.AddExtraDevice("/dev/one-too-many"), -1);
  EXPECT_EQ(map.DevicePath(256), "/dev/x256");
  EXPECT_EQ(map.AddExtraDevice(""), -1);
}

// A prepared /dev and /sys: what the kernel shows for a machine with one
// real UART, a ghost ttyS node, a USB adapter and a modem-class device.
class FakeRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/portmap_test_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    for (const char* node : {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyUSB0", "ttyACM0"})
      Touch(Dev() / node, "");
    const fs::path tty = Sys() / "class" / "tty";
    Touch(tty / "ttyS0" / "type", "4\n");  // 16550A
    Touch(tty / "ttyS1" / "type", "0\n");  // nothing answered the probe
    // ttyS2: no sysfs entry at all. ttyS3: a driver but no type attribute.
    fs::create_directories(tty / "ttyS3" / "device" / "driver");

    const fs::path usbDevice = Sys() / "devices" / "usb1" / "1-1";
    Touch(usbDevice / "manufacturer", "FTDI\n");
    Touch(usbDevice / "product", "FT232R USB UART\n");
    fs::create_directories(usbDevice / "1-1:1.0" / "ttyUSB0");
    fs::create_directories(tty / "ttyUSB0");
    fs::create_symlink(usbDevice / "1-1:1.0" / "ttyUSB0", tty / "ttyUSB0" / "device");

    const fs::path acmDevice = Sys() / "devices" / "usb1" / "1-2";
    Touch(acmDevice / "product", "Vorn Programming Lead\n");
    fs::create_directories(acmDevice / "1-2:1.0");
    fs::create_directories(tty / "ttyACM0");
    fs::create_symlink(acmDevice / "1-2:1.0", tty / "ttyACM0" / "device");

    map_.SetRoots(Dev().string(), Sys().string());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  static void Touch(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  fs::path Dev() const { return root_ / "dev"; }
  fs::path Sys() const { return root_ / "sys"; }

  fs::path root_;
  PortMap map_;
};

TEST_F(FakeRootTest, PortExistsOnlyForRealDevices) {
  map_.AddExtraDevice((Dev() / "ttyUSB0").string());
  map_.AddExtraDevice((Dev() / "missing").string());
  const std::vector<std::pair<int, bool>> cases = {
      {1, true},    // ttyS0, a probed UART
      {2, false},   // ttyS1, type unknown
      {3, false},   // ttyS2, node without any kernel device
      {4, true},    // ttyS3, bound to a driver
      {5, false},   // ttyS4, no node
      {33, true},   // ttyUSB0
      {34, false},  // ttyUSB1, no node
      {65, true},   // ttyACM0
      {97, true},   // extra device present
      {98, false},  // extra device gone
      {99, false},  // nothing mapped
      {0, false},
  };
  for (const auto& [number, exists] : cases) EXPECT_EQ(map_.PortExists(number), exists) << "COM" << number;
}

TEST_F(FakeRootTest, DescribesUsbAdapters) {
  EXPECT_EQ(map_.Description(33), "FTDI FT232R USB UART");
  EXPECT_EQ(map_.Description(65), "Vorn Programming Lead");
  EXPECT_EQ(map_.Description(1), "");
  EXPECT_EQ(map_.Description(34), "");
  EXPECT_EQ(map_.Description(300), "");
}

}  // namespace
