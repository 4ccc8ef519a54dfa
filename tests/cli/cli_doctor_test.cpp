// vornprog doctor against simulated radios: the exit status tells whether
// a radio of the build's model answers; --json and --udev-rule.
#include "cli_fixture.h"

namespace {

TEST_F(CliTest, DoctorFindsTheRadioAndExitsZero) {
  SimulatedRadio& radio = StartRadio();
  const ToolResult r = RunTool({"doctor", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "ok     " + radio.DevicePath() + ": a Kestal answers at 9600 baud")) << r.out;
  EXPECT_TRUE(Contains(r.out, "A radio of this program's model answers.")) << r.out;
}

TEST_F(CliTest, DoctorNamesAnotherModelAndExitsOne) {
  SimulatedRadio& radio = StartRadio(kProductMerlo);
  const ToolResult r = RunTool({"doctor", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "FAULT  " + radio.DevicePath() + ": a Merlo answers at 9600 baud")) << r.out;
  EXPECT_TRUE(Contains(r.out, "-- do: connect a Kestal")) << r.out;
}

TEST_F(CliTest, DoctorJsonForSupport) {
  SimulatedRadio& radio = StartRadio();
  SimFaults silent;
  silent.silentAfter = 0;
  radio.SetFaults(silent);
  const ToolResult r = RunTool({"doctor", "--json", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "\"radioFound\": false")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\"ports\": [\"" + radio.DevicePath() + "\"]")) << r.out;
  EXPECT_TRUE(Contains(r.out, "{\"check\": \"silent\", \"level\": \"fault\"")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\"model\": \"Kestal\"")) << r.out;
}

TEST_F(CliTest, DoctorOfAMissingDevice) {
  const ToolResult r = RunTool({"doctor", "--port", dir.Path("no-such-lead")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.out, "FAULT  " + dir.Path("no-such-lead") + ": no such device -- do: plug the lead in"))
      << r.out;
}

TEST_F(CliTest, DoctorUdevRuleRefusesANonUsbPort) {
  SimulatedRadio& radio = StartRadio();
  const ToolResult r = RunTool({"doctor", "--udev-rule", "--port", radio.DevicePath()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_TRUE(Contains(r.err, "is not a USB lead")) << r.err;
}

}  // namespace
