// One programmer per user: the second start says so and raises the first.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "buildconfig.h"
#include "modal_answerer.h"
#include "singleinstance.h"
#include "startup.h"

TEST(SingleInstance, SecondInstanceReportsAndRaisesTheFirst) {
  QTemporaryDir dir;
  SingleInstance first("KestalMutex-test", dir.path());
  ASSERT_TRUE(first.IsPrimary());
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  {
    SingleInstance second("KestalMutex-test", dir.path());
    EXPECT_FALSE(second.IsPrimary());
    ModalAnswerer boxes;
    EXPECT_EQ(RunSecondInstance(second, BuildConfig::ForFamily("Kestal", false)), 0);
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "The program is already running");
    EXPECT_EQ(seen[0].caption, "Vorn Kestal Programmer");
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok);
  }
  EXPECT_TRUE(raised.count() == 1 || raised.wait(2000));
  EXPECT_EQ(raised.count(), 1);
}

TEST(SingleInstance, TheGuardIsFreeAgainOnceTheFirstHasGone) {
  QTemporaryDir dir;
  auto first = std::make_unique<SingleInstance>("KestalMutex-test", dir.path());
  ASSERT_TRUE(first->IsPrimary());
  first.reset();
  SingleInstance next("KestalMutex-test", dir.path());
  EXPECT_TRUE(next.IsPrimary());
  // Another name is another guard.
  SingleInstance other("MerloMutex-test", dir.path());
  EXPECT_TRUE(other.IsPrimary());
}

TEST(SingleInstance, DefaultNameIsPerModelAndUser) {
  EXPECT_TRUE(SingleInstance::DefaultName(BuildConfig::ForFamily("Kestal", false))
                  .startsWith("KestalMutex-"));
  EXPECT_TRUE(SingleInstance::DefaultName(BuildConfig::ForFamily("Kestal", false))
                  .endsWith(QString::number(getuid())));
}

TEST(SingleInstance, AFolderWithoutRoomForTheLockDoesNotClaimAnotherCopyRuns) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("no-such-folder");
  SingleInstance only("KestalMutex-test", missing);
  EXPECT_TRUE(only.IsPrimary()) << "nothing shows another copy is running";
  EXPECT_FALSE(only.IsGuarded());
  EXPECT_FALSE(QDir(missing).exists());
}
