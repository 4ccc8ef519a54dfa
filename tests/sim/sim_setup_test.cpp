// Setting a simulated radio up: its default configuration, model and
// version names, mem-files, and the executable's command line.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "eeprom.h"
#include "params.h"
#include "sim_fixture.h"
#include "simimage.h"
#include "simoptions.h"

namespace {

struct ImageCase {
  uint32_t product;
  const char* firstRxName;  // nullptr: the model has no receive-only channels
};

class SimDefaultImage : public testing::TestWithParam<ImageCase> {};

TEST_P(SimDefaultImage, IsAPlausibleConfiguration) {
  const uint32_t product = GetParam().product;
  EEPROM image;
  MakeDefaultImage(product, image);
  TradioInfo info;
  info.SelectModel(product);

  EXPECT_EQ(image.GetWord(0), static_cast<int>(product));
  for (int a = 2; a < 32; ++a) EXPECT_NE(image.GetByte(a), 0xFF) << "calibration byte " << a;
  if (info.GetParamAddress(kParamPcbRev) >= 0) {
    EXPECT_EQ(image.GetParamWord(info, kParamPcbRev), kSimDefaultPcbRevision);
  }
  EXPECT_LE(image.GetParamByte(info, Param("Mod")), 24);
  EXPECT_EQ(image.GetParamByte(info, Param("Last Channel")), 11);

  const int scan0 = info.GetParamAddress(kParamScanMem0);
  ASSERT_GE(scan0, 0);
  EXPECT_EQ(image.GetByte(scan0), 0xFF);       // channels 1-8 scanned
  EXPECT_EQ(image.GetByte(scan0 + 23), 0x00);  // the last receive-only channels not

  RX_CH_DATA_STRUCT rx;
  if (GetParam().firstRxName == nullptr) {
    EXPECT_EQ(image.GetRxChannel(info, 0, rx), -1);
    return;
  }
  ASSERT_EQ(image.GetRxChannel(info, 0, rx), 0);
  EXPECT_EQ(rx.frequency, 468525000u);
  EXPECT_EQ(rx.alphaTag, GetParam().firstRxName);
  ASSERT_EQ(image.GetRxChannel(info, 99, rx), 0);
  EXPECT_EQ(rx.frequency, 0u);  // unused records hold no frequency and no name
  EXPECT_EQ(rx.alphaTag, "");
}

INSTANTIATE_TEST_SUITE_P(Models, SimDefaultImage,
                         testing::Values(ImageCase{kProductMerlo, "FIRE"}, ImageCase{kProductKestal, ""},
                                         ImageCase{kProductPinto, "FIRE"}, ImageCase{kProductDravo, "FIRE"},
                                         ImageCase{kProductSorel, ""}, ImageCase{kProductTamso, nullptr},
                                         ImageCase{kProductKestalBT, ""}));

TEST(SimModels, NamesAreCaseInsensitive) {
  uint32_t id = 0;
  EXPECT_TRUE(ParseSimModel("KESTAL-BT", id));
  EXPECT_EQ(id, kProductKestalBT);
  EXPECT_TRUE(ParseSimModel("Merlo", id));
  EXPECT_EQ(id, kProductMerlo);
  EXPECT_FALSE(ParseSimModel("falcon", id));
  EXPECT_EQ(id, kProductMerlo);
  EXPECT_EQ(SimModelKey(kProductSorel), "sorel");
}

TEST(SimModels, FirmwareTextStartsWithTheModelName) {
  for (uint32_t id = kProductMerlo; id <= kProductKestalBT; ++id) {
    int row = 0;
    uint32_t flag = 0;
    std::string name;
    ASSERT_TRUE(FindModel(id, row, flag, name));
    const std::string text = DefaultFirmwareText(id);
    EXPECT_EQ(text.compare(0, name.size(), name), 0) << text;
    EXPECT_LE(text.size(), 16u);
  }
}

struct VersionCase {
  const char* text;
  bool ok;
  SimVersion version;
};

class SimVersions : public testing::TestWithParam<VersionCase> {};

TEST_P(SimVersions, ParseAsTheProgrammerPrints) {
  SimVersion v{9, 9, 9};
  EXPECT_EQ(ParseSimVersion(GetParam().text, v), GetParam().ok);
  if (!GetParam().ok) return;
  EXPECT_EQ(v.major, GetParam().version.major);
  EXPECT_EQ(v.minor, GetParam().version.minor);
  EXPECT_EQ(v.suffix, GetParam().version.suffix);
}

INSTANTIATE_TEST_SUITE_P(Texts, SimVersions,
                         testing::Values(VersionCase{"3.0", true, {3, 0, 0}}, VersionCase{"3.00", true, {3, 0, 0}},
                                         VersionCase{"1.05b", true, {1, 5, 'b'}},
                                         VersionCase{"1.01", true, {1, 1, 0}}, VersionCase{"2.1", true, {2, 0x10, 0}},
                                         VersionCase{"3", false, {}}, VersionCase{"1.234", false, {}},
                                         VersionCase{"x.1", false, {}}, VersionCase{"", false, {}}));

TEST(SimSetup, LoadsAMemFile) {
  const std::string path = testing::TempDir() + "sim_image_" + std::to_string(getpid()) + ".mem";
  std::vector<char> bytes(kImageSize);
  for (int i = 0; i < kImageSize; ++i) bytes[i] = static_cast<char>(i * 7);
  std::ofstream(path, std::ios::binary).write(bytes.data(), kImageSize);

  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.radio.LoadImage(path));
  const auto reply = sim.end->Transact({0x03, 0x01, 0x00});
  ASSERT_TRUE(reply);
  for (int i = 0; i < 16; ++i) EXPECT_EQ((*reply)[3 + i], static_cast<uint8_t>((0x100 + i) * 7)) << i;
  EXPECT_FALSE(sim.radio.LoadImage(path + ".missing"));
  std::remove(path.c_str());
}

// A radio's memory is always whole: a truncated or oversized file is
// refused and the memory stays as it was.
TEST(SimSetup, RefusesAMemFileThatIsNotAWholeMemory) {
  const std::string path = testing::TempDir() + "sim_odd_" + std::to_string(getpid()) + ".mem";
  SimulatedRadio radio(kProductKestal);
  const std::vector<uint8_t> before = radio.Memory();
  for (size_t size : {size_t{0}, size_t{100}, size_t{kImageSize - 1}, size_t{kImageSize + 1}}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(std::string(size, '\x11').data(),
                                                                  static_cast<std::streamsize>(size));
    EXPECT_FALSE(radio.LoadImage(path)) << size;
    EXPECT_EQ(radio.Memory(), before) << size;
  }
  std::remove(path.c_str());
}

TEST(SimOptionsTest, ParsesEveryFlag) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--model", "Tamso", "--version", "1.05b", "--firmware", "Tamso test", "--baud", "9600",
                               "--radio-id", "0102030405060708", "--channel", "22", "--signal", "--announce", "500",
                               "--check-rate", "--silent-after", "10", "--silent-opcode", "3:4", "--nack", "0x21",
                               "--delay", "5", "--drop", "0.25", "--corrupt", "0.5", "--seed", "42", "--noise", "8",
                               "--hang-up-after", "12", "--pcb-rev", "7", "--link", "/tmp/x", "--verbose"},
                              o, error))
      << error;
  EXPECT_EQ(o.productId, kProductTamso);
  EXPECT_EQ(o.version.suffix, 'b');
  EXPECT_EQ(o.firmwareText, "Tamso test");
  EXPECT_EQ(o.baud, 9600u);
  EXPECT_TRUE(o.faults.pace);
  EXPECT_EQ(o.radioId[7], 8);
  EXPECT_EQ(o.channel, 22);
  EXPECT_TRUE(o.signal && o.checkRate && o.verbose);
  EXPECT_EQ(o.announceMs, 500);
  EXPECT_EQ(o.faults.silentAfter, 10);
  EXPECT_EQ(o.faults.silentOpcode, 3);
  EXPECT_EQ(o.faults.silentOpcodeAfter, 4);
  EXPECT_EQ(o.faults.nackOpcode, 33);
  EXPECT_EQ(o.faults.replyDelayMs, 5);
  EXPECT_DOUBLE_EQ(o.faults.dropProbability, 0.25);
  EXPECT_DOUBLE_EQ(o.faults.corruptProbability, 0.5);
  EXPECT_EQ(o.faults.seed, 42u);
  EXPECT_EQ(o.faults.noiseBytes, 8);
  EXPECT_EQ(o.faults.hangUpAfter, 12);
  EXPECT_EQ(o.pcbRevision, 7);
  EXPECT_EQ(o.link, "/tmp/x");
}

// What the command line says reaches the radio it sets up.
TEST(SimOptionsTest, ApplyingThemSetsTheRadioUp) {
  const std::string path = testing::TempDir() + "sim_apply_" + std::to_string(getpid()) + ".mem";
  std::vector<char> bytes(kImageSize, 0x22);
  bytes[0] = 0x5A;
  bytes[1] = 0x02;
  std::ofstream(path, std::ios::binary).write(bytes.data(), kImageSize);

  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--image", path, "--version", "2.05b", "--firmware", "Kestal old", "--baud", "19200",
                               "--radio-id", "0102030405060708", "--channel", "85", "--signal", "--pcb-rev", "0x0107",
                               "--silent-after", "9", "--silent-opcode", "3:4", "--nack", "33", "--delay", "7",
                               "--drop", "0.5", "--corrupt", "0.25", "--seed", "5", "--noise", "6",
                               "--hang-up-after", "11"},
                              o, error))
      << error;
  SimulatedRadio radio(kProductKestal);
  ASSERT_TRUE(ApplySimOptions(o, radio, error)) << error;
  std::remove(path.c_str());

  EXPECT_EQ(radio.MemoryByte(100), 0x22);  // the mem-file ...
  EXPECT_EQ(radio.MemoryByte(28), 0x01);   // ... with the PCB revision over it
  EXPECT_EQ(radio.MemoryByte(29), 0x07);
  EXPECT_EQ(SimVersionText(radio.Version()), "2.05b");
  EXPECT_EQ(radio.FirmwareText(), "Kestal old");
  EXPECT_EQ(radio.RadioId(), (std::array<uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(radio.State().channel, 85);
  EXPECT_TRUE(radio.State().signal);
  EXPECT_EQ(radio.LineRate(), 19200u);
  const SimFaults f = radio.Faults();
  EXPECT_TRUE(f.pace);
  EXPECT_EQ(f.silentAfter, 9);
  EXPECT_EQ(f.silentOpcode, 3);
  EXPECT_EQ(f.silentOpcodeAfter, 4);
  EXPECT_EQ(f.nackOpcode, 33);
  EXPECT_EQ(f.replyDelayMs, 7);
  EXPECT_DOUBLE_EQ(f.dropProbability, 0.5);
  EXPECT_DOUBLE_EQ(f.corruptProbability, 0.25);
  EXPECT_EQ(f.seed, 5u);
  EXPECT_EQ(f.noiseBytes, 6);
  EXPECT_EQ(f.hangUpAfter, 11);
}

TEST(SimOptionsTest, ApplyingAMissingImageFailsWithAReason) {
  SimOptions o;
  o.image = testing::TempDir() + "no_such_image.mem";
  SimulatedRadio radio(kProductKestal);
  std::string error;
  EXPECT_FALSE(ApplySimOptions(o, radio, error));
  EXPECT_NE(error.find(o.image), std::string::npos) << error;
}

struct BadArgs {
  const char* name;
  std::vector<std::string> args;
};

class SimBadOptions : public testing::TestWithParam<BadArgs> {};

TEST_P(SimBadOptions, AreRefusedWithAReason) {
  SimOptions o;
  std::string error;
  EXPECT_FALSE(ParseSimOptions(GetParam().args, o, error));
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Args, SimBadOptions,
    testing::Values(BadArgs{"unknown_flag", {"--colour"}}, BadArgs{"missing_value", {"--model"}},
                    BadArgs{"unknown_model", {"--model", "falcon"}}, BadArgs{"bad_version", {"--version", "three"}},
                    BadArgs{"long_firmware_text", {"--firmware", "Kestal firmware text"}},
                    BadArgs{"probability_above_one", {"--drop", "1.5"}}, BadArgs{"opcode_above_63", {"--nack", "64"}},
                    BadArgs{"silent_opcode_without_count", {"--silent-opcode", "3"}},
                    BadArgs{"short_radio_id", {"--radio-id", "0102"}}, BadArgs{"channel_zero", {"--channel", "0"}},
                    BadArgs{"trailing_junk", {"--delay", "5ms"}}),
    [](const auto& info) { return std::string(info.param.name); });

// "--version" alone is the program's version; with a value after it, the
// simulated firmware's.
TEST(SimOptionsParse, VersionAloneAsksForTheProgramsVersion) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--version"}, o, error)) << error;
  EXPECT_TRUE(o.showVersion);
  EXPECT_FALSE(o.hasVersion);
  SimOptions before;
  ASSERT_TRUE(ParseSimOptions({"--version", "--model", "merlo"}, before, error)) << error;
  EXPECT_TRUE(before.showVersion);
  SimOptions firmware;
  ASSERT_TRUE(ParseSimOptions({"--version", "1.05b"}, firmware, error)) << error;
  EXPECT_FALSE(firmware.showVersion);
  EXPECT_TRUE(firmware.hasVersion);
  EXPECT_NE(SimUsage().find("  --version  "), std::string::npos);
}

// Numbers are decimal unless they start with 0x: a leading zero is not
// octal, so "--delay 050" waits 50 ms and "--channel 09" is channel 9.
struct NumberCase {
  const char* name;
  std::vector<std::string> args;
  int SimOptions::*field;
  int expected;
};

class SimOptionNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(SimOptionNumbers, AreDecimalOrHexadecimal) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions(GetParam().args, o, error)) << error;
  EXPECT_EQ(o.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Args, SimOptionNumbers,
                         testing::Values(NumberCase{"leading_zero_channel", {"--channel", "09"}, &SimOptions::channel, 9},
                                         NumberCase{"leading_zero_pcb", {"--pcb-rev", "010"}, &SimOptions::pcbRevision, 10},
                                         NumberCase{"hexadecimal_pcb", {"--pcb-rev", "0x1F"}, &SimOptions::pcbRevision, 31},
                                         NumberCase{"upper_case_prefix", {"--pcb-rev", "0X10"}, &SimOptions::pcbRevision, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimOptionsTest, LeadingZerosInFaultCountsAreDecimal) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--delay", "050", "--nack", "033", "--silent-opcode", "03:010"}, o, error)) << error;
  EXPECT_EQ(o.faults.replyDelayMs, 50);
  EXPECT_EQ(o.faults.nackOpcode, 33);
  EXPECT_EQ(o.faults.silentOpcode, 3);
  EXPECT_EQ(o.faults.silentOpcodeAfter, 10);
}

TEST(SimOptionsTest, LoseWriteTakesTheCommandAndTheAnswersBeforeIt) {
  SimOptions o;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--lose-write", "35:7"}, o, error)) << error;
  EXPECT_EQ(o.faults.lostWrite.opcode, 35);
  EXPECT_EQ(o.faults.lostWrite.after, 7);
  EXPECT_FALSE(ParseSimOptions({"--lose-write", "35"}, o, error));
}

TEST(SimSetup, PcbRevisionOnlyWhereTheModelHasIt) {
  SimulatedRadio kestal(kProductKestal);
  EXPECT_TRUE(kestal.SetPcbRevision(0x0102));
  EXPECT_EQ(kestal.MemoryByte(28), 0x01);
  EXPECT_EQ(kestal.MemoryByte(29), 0x02);
  SimulatedRadio tamso(kProductTamso);
  EXPECT_FALSE(tamso.SetPcbRevision(5));
}

#ifdef VORN_RADIO_SIM_PATH
// The executable prints the device on its first line, serves it, and ends
// cleanly on SIGTERM.
TEST(SimExecutable, PrintsItsDeviceAndServesUntilTerminated) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execl(VORN_RADIO_SIM_PATH, "vorn-radio-sim", "--model", "PINTO", "--version", "1.01", nullptr);
    _exit(127);
  }
  close(out[1]);
  FILE* lines = fdopen(out[0], "r");
  char path[256] = {};
  ASSERT_NE(fgets(path, sizeof path, lines), nullptr);
  std::string device(path);
  ASSERT_FALSE(device.empty());
  device.pop_back();  // the newline
  {
    ProgramEnd end(device);
    ASSERT_TRUE(end.ok()) << device;
    EXPECT_EQ(*end.Transact({0x00}), (Bytes{0x00, 0x01, 0x01, 0x00}));
    EXPECT_EQ(*end.Transact({0x02, 0x00, 0x00}), (Bytes{0x02, 0x00, 0x00, 0x5A, 0x03}));
  }
  kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  fclose(lines);
}
#endif

}  // namespace
