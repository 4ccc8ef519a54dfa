// The progress rules every transfer window shares, and the version notices.
#include <gtest/gtest.h>

#include "progress.h"
#include "transferflows.h"
#include "radioinfo.h"
#include "transferworker.h"

namespace {

struct MapCase {
  int direction;
  intptr_t wParam, lParam;
  ProgressStep expected;
};

ProgressStep Progress(int value) {
  ProgressStep s;
  s.handled = s.setProgress = true;
  s.progress = value;
  return s;
}
ProgressStep Finished(const char* text) {
  ProgressStep s;
  s.handled = s.setCloseMode = true;
  s.actionText = text;
  s.close = *text == 0;
  return s;
}

TEST(MapTransferMessage, FollowsTheMessageProtocol) {
  const MapCase cases[] = {
      {kDirectionRead, 0, 16, Progress(16)},
      {kDirectionWrite, 0, 2048, Progress(2048)},
      {kDirectionRead, 1, kTransferCompleted, Finished("")},
      {kDirectionWrite, 1, kTransferCompleted, Finished("")},
      {kDirectionRead, 1, kTransferFailed, Finished("Timeout reading from radio")},
      {kDirectionWrite, 1, kTransferFailed, Finished("Timeout writing to radio")},
      {kDirectionRead, 1, kTransferCancelled, Finished("Reading from radio cancelled")},
      {kDirectionWrite, 1, kTransferCancelled, Finished("Writing to radio cancelled")},
      {kDirectionRead, 1, 7, Finished("")},  // anything else counts as completed
      {kDirectionRead, 2, 16, ProgressStep{}},
      {kDirectionWrite, -1, 0, ProgressStep{}},
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " " << c.wParam << " " << c.lParam);
    const ProgressStep s = MapTransferMessage(c.direction, c.wParam, c.lParam);
    EXPECT_EQ(s.handled, c.expected.handled);
    EXPECT_EQ(s.setProgress, c.expected.setProgress);
    EXPECT_EQ(s.progress, c.expected.progress);
    EXPECT_EQ(s.setCloseMode, c.expected.setCloseMode);
    EXPECT_EQ(s.actionText, c.expected.actionText);
    EXPECT_EQ(s.close, c.expected.close);
  }
}

class RecordingView : public ProgressView {
 public:
  void SetProgress(int v) override { log += "P" + std::to_string(v) + ";"; }
  void SetCloseMode() override { log += "closeMode;"; }
  void SetActionText(const std::string& t) override { log += "text:" + t + ";"; }
  void CloseProgress() override { log += "close;"; }
  std::string log;
};

TEST(ApplyTransferMessage, CloseModeComesBeforeTheTextAndOnlyCompletedCloses) {
  RecordingView v;
  EXPECT_TRUE(ApplyTransferMessage(v, kDirectionWrite, 0, 32));
  EXPECT_TRUE(ApplyTransferMessage(v, kDirectionWrite, 1, kTransferFailed));
  EXPECT_EQ(v.log, "P32;closeMode;text:Timeout writing to radio;");
  v.log.clear();
  EXPECT_TRUE(ApplyTransferMessage(v, kDirectionRead, 1, kTransferCompleted));
  EXPECT_EQ(v.log, "closeMode;close;");
  v.log.clear();
  EXPECT_FALSE(ApplyTransferMessage(v, kDirectionRead, 5, 0));
  EXPECT_EQ(v.log, "");
}

TEST(VersionNotice, DependsOnTheBuildsModelAndTheMajorVersion) {
  struct Case {
    uint32_t product;
    int major;
    const char* startsWith;  // "" = no notice
  };
  const Case cases[] = {
      {kProductKestal, 2, "Your Kestal radio does not support"},
      {kProductKestal, 3, ""},
      {kProductKestal, 0x10, ""},
      {kProductDravo, 1, "Your Dravo radio does not support"},
      {kProductDravo, 2, ""},
      {kProductMerlo, 1, "Your Merlo family radio does not support"},
      {kProductMerlo, 2, ""},
      {kProductPinto, 0, ""},
      {kProductTamso, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.product << " major " << c.major);
    const std::string notice = VersionNotice(c.product, c.major);
    EXPECT_EQ(notice.rfind(c.startsWith, 0), 0u);
    EXPECT_EQ(notice.empty(), *c.startsWith == 0);
  }
  EXPECT_EQ(VersionNotice(kProductKestal, 2),
            "Your Kestal radio does not support the latest features available on Kestal-S "
            "radios, e.g. NetScan");
}

TEST(RadioState, APartWriteNamesTheWayBackWhenThereIsOne) {
  EXPECT_EQ(PartialWriteText(""),
            "The radio now holds part of the new configuration. To put it right, write again.");
  EXPECT_EQ(PartialWriteText("/tmp/backup.mem"),
            "The radio now holds part of the new configuration. To put it right, write again, "
            "or write /tmp/backup.mem back.");
}

TEST(RadioState, AWholeReadWithoutItsResetSaysWhereTheDataIs) {
  EXPECT_EQ(UnresetReadText("radio.mem"),
            "All the data arrived and was written to radio.mem, but the radio did not answer "
            "its reset: it may need switching off and on.");
  EXPECT_EQ(UnresetReadText(""),
            "All the data arrived and is in the programmer, but the radio did not answer its "
            "reset: it may need switching off and on.");
}

}  // namespace
