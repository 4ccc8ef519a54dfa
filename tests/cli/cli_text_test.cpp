// vornprog export and import, and diff of configuration texts.

#include <algorithm>
#include <string>

#include "cli_fixture.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(CliTest, ExportThenImportGivesBackEveryModelsImageByteForByte) {
  for (const uint32_t id : {kProductMerlo, kProductKestal, 0x1234u}) {
    const Bytes image = RandomImage(id, id);
    WriteFileBytes(dir.Path("a.mem"), image);
    const ToolResult exported = RunTool({"export", dir.Path("a.mem"), "-o", dir.Path("a.yaml")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const ToolResult imported = RunTool({"import", dir.Path("a.yaml"), "-o", dir.Path("b.mem")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(ReadFileBytes(dir.Path("b.mem")), image) << std::hex << id;
    // Standard output without -o, the same text each time.
    const ToolResult shown = RunTool({"export", dir.Path("a.mem")});
    ASSERT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, ReadText(dir.Path("a.yaml")));
  }
}

TEST_F(CliTest, ImportOntoABaseChangesOnlyWhatTheTemplateNames) {
  const Bytes base = RandomImage(7, kProductKestal);
  WriteFileBytes(dir.Path("customer.mem"), base);
  WriteText(dir.Path("standard.yaml"), "model: 0x5A02\nsquelch:\n  Sql Min Open: 300\n");
  const ToolResult r = RunTool({"import", dir.Path("standard.yaml"), "--onto",
                                dir.Path("customer.mem"), "-o", dir.Path("out.mem")});
  ASSERT_EQ(r.status, 0) << r.err;
  const ToolResult diff = RunTool({"diff", dir.Path("customer.mem"), dir.Path("out.mem")});
  EXPECT_EQ(diff.status, 1);
  EXPECT_TRUE(Contains(diff.out, "Sql Min Open: ")) << diff.out;
  EXPECT_TRUE(Contains(diff.out, "-> 30 (0x1E)\n")) << diff.out;
  EXPECT_EQ(std::count(diff.out.begin(), diff.out.end(), '\n'), 1) << diff.out;
}

TEST_F(CliTest, ARefusedImportSaysWhereAndWritesNothing) {
  WriteFileBytes(dir.Path("customer.mem"), RandomImage(8, kProductKestal));
  WriteFileBytes(dir.Path("out.mem"), Bytes{'o', 'l', 'd'});
  WriteText(dir.Path("bad.yaml"), "model: 0x5A02\nsquelch:\n  Sql Level: 3\n  Sql Level: 4\n");
  const ToolResult r = RunTool({"import", dir.Path("bad.yaml"), "--onto", dir.Path("customer.mem"),
                                "-o", dir.Path("out.mem")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(
      Contains(r.err, "bad.yaml:4:3: squelch.Sql Level: duplicate key; each key may be given once"))
      << r.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("out.mem")), (Bytes{'o', 'l', 'd'}));

  // Another model's template is refused against the base.
  WriteText(dir.Path("merlo.yaml"), "model: 0x5A01\n");
  const ToolResult other = RunTool({"import", dir.Path("merlo.yaml"), "--onto",
                                    dir.Path("customer.mem"), "-o", dir.Path("out.mem")});
  EXPECT_EQ(other.status, 1);
  EXPECT_TRUE(Contains(other.err, "merlo.yaml:1:8: model: this file is for product ID 0x5A01"))
      << other.err;
  EXPECT_EQ(ReadFileBytes(dir.Path("out.mem")), (Bytes{'o', 'l', 'd'}));
}

TEST_F(CliTest, DiffTakesAConfigurationTextOnEitherSide) {
  const Bytes image = RandomImage(9, kProductKestal);
  WriteFileBytes(dir.Path("a.mem"), image);
  ASSERT_EQ(RunTool({"export", dir.Path("a.mem"), "-o", dir.Path("a.yaml")}).status, 0);
  EXPECT_EQ(RunTool({"diff", dir.Path("a.yaml"), dir.Path("a.mem")}).status, 0);

  Bytes changed = image;
  changed[2] ^= 0x01;
  WriteFileBytes(dir.Path("b.mem"), changed);
  const ToolResult both = RunTool({"diff", dir.Path("b.mem"), dir.Path("a.yaml")});
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(both.out, RunTool({"diff", dir.Path("b.mem"), dir.Path("a.mem")}).out);

  WriteText(dir.Path("broken.yml"), "model: [\n");
  const ToolResult broken = RunTool({"diff", dir.Path("broken.yml"), dir.Path("a.mem")});
  EXPECT_EQ(broken.status, 2);
  EXPECT_TRUE(Contains(broken.err, "broken.yml:")) << broken.err;
}

}  // namespace
