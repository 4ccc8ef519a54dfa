// Widget tests run on Qt's offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include "application.h"

namespace {
// The offscreen platform says this for every fixed-size window.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains("does not support propagateSizeHints")) return;
  qt_message_output(type, context, text);
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietHandler);
  ::testing::InitGoogleTest(&argc, argv);
  // The program's own application object, so its exception box is tested too.
  VornApplication app(argc, argv, "Vorn Kestal Programmer");
  return RUN_ALL_TESTS();
}
