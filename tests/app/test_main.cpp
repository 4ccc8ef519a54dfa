// Widget tests run on Qt's offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

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
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
