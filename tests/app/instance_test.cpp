// One programmer per user: the second start says so and raises the first.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app_fixture.h"
#include "buildconfig.h"
#include "localsocket.h"
#include "modal_answerer.h"
#include "singleinstance.h"
#include "startup.h"
#include "wait_for.h"

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

// What reaches the running copy through its socket: whole lines only,
// from its own user, and a stale socket of a crashed copy is replaced.
TEST(SingleInstance, OnlyWholeRequestLinesFromTheUserAreActedOn) {
  QTemporaryDir dir;
  const std::string socket = QFile::encodeName(dir.filePath("KestalMutex-test.sock")).toStdString();
  // A crashed copy's socket file stays behind; the next copy listens anyway.
  const int crashed = ListenLocal(socket);
  ASSERT_GE(crashed, 0);
  close(crashed);
  SingleInstance first("KestalMutex-test", dir.path());
  ASSERT_TRUE(first.IsGuarded());
  struct stat info {};
  ASSERT_EQ(stat(socket.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u) << "group and others cannot reach the socket";

  QSignalSpy opened(&first, &SingleInstance::openRequested);
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  // Two requests in one write, then a line cut short by its sender, then
  // an endless line: only the first two count.
  ASSERT_TRUE(SendLocal(socket, "open /tmp/a%20b.mem\nraise\n", 2000));
  ASSERT_TRUE(SendLocal(socket, "open /tmp/cut", 2000));
  ASSERT_TRUE(SendLocal(socket, std::string(70 * 1024, 'x'), 2000));
  ASSERT_TRUE(SendLocal(socket, "raise\n", 2000));
  ASSERT_TRUE(WaitFor([&] { return raised.count() == 2; }));
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened.at(0).at(0).toString(), "/tmp/a b.mem");
}

TEST(SingleInstance, NothingListeningIsAFailedSendNotAHang) {
  QTemporaryDir dir;
  EXPECT_FALSE(SendLocal(QFile::encodeName(dir.filePath("none.sock")).toStdString(), "raise\n", 2000));
  // A path too long for a socket address is refused, not shortened.
  EXPECT_LT(ListenLocal(QFile::encodeName(dir.filePath(QString(200, 'n'))).toStdString()), 0);
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

// A mem-file named on the command line, and one handed over by a second
// start (the file manager's double click while the programmer runs).
class OpenFromOutside : public AppFixture {
 protected:
  QByteArray ImageBytes() {
    const EEPROM& image = Window().Shared().image;
    QByteArray bytes;
    for (int a = 0; a < image.GetLength(); ++a) bytes.append(static_cast<char>(image.GetByte(a)));
    return bytes;
  }
  // The start-up's boxes about the file (no serial port exists here).
  std::vector<SeenBox> StartAndTakeFileBoxes() {
    std::vector<SeenBox> seen = Start(), file;
    for (const SeenBox& box : seen)
      if (!box.text.startsWith("Unable to open COM")) file.push_back(box);
    return file;
  }
  // The running programmer's guard, wired as the program's entry wires it.
  void Listen() {
    first_ = std::make_unique<SingleInstance>("KestalMutex-test", guards_.path());
    ASSERT_TRUE(first_->IsGuarded());
    QObject::connect(first_.get(), &SingleInstance::openRequested, &Window(),
                     &TfrmMain::OpenHandedFile);
  }
  // A second start with `path` on its command line.
  void SecondStart(const QString& path) {
    SingleInstance second("KestalMutex-test", guards_.path());
    EXPECT_FALSE(second.IsPrimary());
    EXPECT_EQ(RunSecondInstance(second, Kestal(), path), 0);
  }

  QTemporaryDir guards_;
  std::unique_ptr<SingleInstance> first_;
};

TEST_F(OpenFromOutside, AFileOnTheCommandLineIsLoadedInPlaceOfTheDefault) {
  WriteFile(Path("defkestal.mem"), Image(0x5A02).replace(5, 1, "D"));
  WriteFile(Path("bench.mem"), Image(0x5A02));
  startFile = Path("bench.mem").toStdString();
  EXPECT_TRUE(StartAndTakeFileBoxes().empty());
  EXPECT_EQ(Window().DataSource(), kFileData);
  EXPECT_EQ(Window().StatusText(3), "File: " + Path("bench.mem"));
  EXPECT_EQ(ImageBytes(), Image(0x5A02));
  // The default file setting is not changed by it.
  EXPECT_EQ(Window().DefaultFile(), "defkestal.mem");
}

TEST_F(OpenFromOutside, ABadFileOnTheCommandLineGetsReadFilesMessages) {
  struct Case {
    const char* name;
    QByteArray bytes;
    bool exists;
    QString text;
    int state;
  };
  const Case cases[] = {
      {"missing.mem", {}, false, "Unable to open file %1", kNothingLoaded},
      {"merlo.mem", Image(0x5A01), true, "Incorrect radio type (5A01)", kFileData},
  };
  for (const Case& c : cases) {
    if (c.exists) WriteFile(Path(c.name), c.bytes);
    startFile = Path(c.name).toStdString();
    const std::vector<SeenBox> seen = StartAndTakeFileBoxes();
    ASSERT_EQ(seen.size(), 1u) << c.name;
    EXPECT_EQ(seen[0].text, c.text.contains("%1") ? c.text.arg(Path(c.name)) : c.text);
    EXPECT_EQ(Window().DataSource(), c.state) << c.name;
  }
}

TEST_F(OpenFromOutside, ASecondStartHandsItsFileToTheRunningProgrammer) {
  Start();  // no default file here: nothing loaded, no question to ask
  Listen();
  WriteFile(Path("radio one.mem"), Image(0x5A02));
  // Named relative to the second start's working folder.
  SecondStart("radio one.mem");
  EXPECT_TRUE(boxes.Take().empty()) << "no 'already running' notice";
  ASSERT_TRUE(WaitFor([&] { return Window().DataSource() == kFileData; }));
  EXPECT_EQ(Window().CurrentFileName(), Path("radio one.mem"));
  EXPECT_EQ(ImageBytes(), Image(0x5A02));
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(OpenFromOutside, TheRunningProgrammerAsksBeforeReplacingItsData) {
  WriteFile(Path("defkestal.mem"), Image(0x5A02));
  WriteFile(Path("other.mem"), Image(0x5A02).replace(9, 1, "X"));
  Start();
  Listen();
  const QString question = "Load file '" + Path("other.mem") + "' ?\nAll current data will be lost.";
  for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
    boxes.Answer({answer});
    SecondStart(Path("other.mem"));
    ASSERT_TRUE(WaitFor([&] { return !boxes.Seen().empty(); }));
    if (answer == QMessageBox::Ok) {
      ASSERT_TRUE(WaitFor([&] { return Window().CurrentFileName() == Path("other.mem"); }));
    }
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, question);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(ImageBytes(), answer == QMessageBox::Ok ? ReadFile(Path("other.mem"))
                                                      : ReadFile(Path("defkestal.mem")));
    EXPECT_EQ(Window().CurrentFileName(),
              answer == QMessageBox::Ok ? Path("other.mem") : QString("defkestal.mem"));
  }
}

TEST_F(OpenFromOutside, AnOpenDialogKeepsTheHandedFileOut) {
  WriteFile(Path("defkestal.mem"), Image(0x5A02));
  WriteFile(Path("other.mem"), Image(0x5A02).replace(9, 1, "X"));
  Start();
  Listen();
  // An editor holds its own copy of the data while it is open.
  QDialog editor(&Window());
  editor.setModal(true);
  editor.show();
  SecondStart(Path("other.mem"));
  ASSERT_TRUE(WaitFor([&] { return !boxes.Seen().empty(); }));
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].text.contains(Path("other.mem") + " was not opened")) << seen[0].text.toStdString();
  EXPECT_EQ(ImageBytes(), Image(0x5A02));
  EXPECT_EQ(Window().CurrentFileName(), "defkestal.mem");
}

TEST_F(OpenFromOutside, AHandOverThatFailsFallsBackToTheNotice) {
  // The lock is held but nobody listens on the socket.
  QLockFile holder(QDir(guards_.path()).filePath("KestalMutex-test.lock"));
  ASSERT_TRUE(holder.tryLock(0));
  SecondStart(Path("x.mem"));
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "The program is already running");
}
