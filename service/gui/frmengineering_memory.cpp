// The panel's actions that carry data: LCD content, memory peek and poke,
// audio samples, the radio ID, raw requests and arrays.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <vector>

#include "windowcontext.h"
#include "eng.h"
#include "frmengineering.h"
#include "frmsampleschart.h"

namespace {

void ShowPlain(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void TfrmEngineering::btnWriteLCDClick() {
  const QByteArray digits = edit7seg_->text().toLatin1();
  const QByteArray alpha = editAlphaText_->text().toLatin1();
  // A short text would send whatever follows it in memory.
  if (digits.size() < 2) return Refuse("The 7-seg text must be 2 characters.");
  if (alpha.size() < 5) return Refuse("The alpha text must be 5 characters.");
  const int icons = IconsWord(edtIcons_->text().toStdString());
  Logged("Write LCD...", [&] {
    return context_.shared.radio.WriteLcd(digits.constData(), alpha.constData(), icons, 0);
  });
}

void TfrmEngineering::btnMemWriteClick() {
  ClearLog();
  Log("Write memory...");
  const std::optional<int> address = HexOf(edit_memaddr_);
  if (!address) return;
  const std::optional<int> data = HexOf(edit_memdata_);
  if (!data) return;
  const std::optional<int> mask = HexOf(edit_memmask_);
  if (!mask) return;
  const bool ok =
      Send([&] { return context_.shared.radio.PokeMemory(*address, *data, *mask); });
  Log(ok ? "OK" : "failed");
}

void TfrmEngineering::btnMemReadClick() {
  ClearLog();
  Log("Read memory...");
  const std::optional<int> address = HexOf(edit_memaddr_);
  if (!address) return;
  int value = 0;
  if (Send([&] { return context_.shared.radio.PeekMemory(*address, value); })) {
    Log("OK");
    edit_memdata_->setText(QString::fromStdString(HexByte(value)));
  } else {
    Log("failed");
  }
}

void TfrmEngineering::btnAudioSamplesClick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ClearLog();
  Log("Read audio samples...");
  std::vector<int16_t> samples(kAudioSampleCount);
  if (!Send([&] {
        return context_.shared.radio.ReadAudioSamples(kAudioSampleCount, samples.data());
      })) {
    Log("failed");
    ShowPlain(this, QString::fromStdString(ApplicationTitle(context_.build)),
              "Failed to read audio samples");
  } else {
    chart_->SetSamples(samples);
    Log("Samples:");
    chart_->exec();
    Log(QString::fromStdString(SamplesLine(samples)));
    Log("OK");
  }
  QApplication::restoreOverrideCursor();
}

void TfrmEngineering::btnReadIDClick() {
  edtID_->clear();
  edtID_->repaint();
  ClearLog();
  Log("Read ID...");
  RadioId id{};
  if (Send([&] { return context_.shared.radio.ReadRadioId(id.data()); })) {
    edtID_->setText(QString::fromStdString(RadioIdText(id)));
    Log("OK");
  } else {
    Log("failed");
  }
}

void TfrmEngineering::btnWriteIDClick() {
  const std::optional<RadioId> id = ParseRadioId(edtID_->text().toStdString());
  if (!id) return Refuse("The radio ID must be 16 hexadecimal digits.");
  Logged("Write ID...", [&] { return context_.shared.radio.WriteRadioId(id->data()); });
}

void TfrmEngineering::btnSendVornIICommandClick() {
  const std::optional<std::vector<uint8_t>> bytes =
      ParseRawRequest(edtSendVornII_->text().toStdString());
  if (!bytes)
    return Refuse(
        "Type each byte as two hexadecimal digits, one character apart (for example 01 02 0A).");
  Send([&] {
    return context_.shared.radio.SendRawCommand(bytes->data(), static_cast<int>(bytes->size()));
  });
}

bool TfrmEngineering::ArrayFields(int& address, int& count) {
  const std::optional<int> a = IntOf(edtArrayAddress_);
  if (!a) return false;
  edtArrayAddress_->setText(QString::number(*a));
  const std::optional<int> n = IntOf(edtArrayNumBytes_);
  if (!n) return false;
  edtArrayNumBytes_->setText(QString::number(*n));
  address = *a;
  count = *n;
  return true;
}

void TfrmEngineering::btnReadArrayClick() {
  int address = 0, count = 0;
  if (!ArrayFields(address, count)) return;
  if (count < 1 || count > kArrayReadMaxBytes)
    return Refuse(QString("The number of bytes to read must be 1 to %1.").arg(kArrayReadMaxBytes),
                  "Read Array");
  std::vector<uint8_t> buffer(kArrayReadMaxBytes);
  int got = 0;
  Send([&] {
    got = context_.shared.radio.ReadMemoryArray(address, count, buffer.data());
    return got > 0;
  });
  if (got <= 0) return ShowPlain(this, "Read Array", "FAILED");
  buffer.resize(static_cast<size_t>(got));
  ShowPlain(this, "Read Array", QString::fromStdString(ArrayReadText(buffer)));
}

void TfrmEngineering::btnWriteArrayClick() {
  int address = 0, count = 0;
  if (!ArrayFields(address, count)) return;
  // The request always carries the whole test pattern, whatever the count.
  const std::vector<uint8_t> pattern = ArrayTestPattern();
  const bool ok = Send([&] {
    return context_.shared.radio.WriteMemoryArray(address, kArrayWriteBytes, pattern.data());
  });
  ShowPlain(this, "Write Array",
            ok ? QString::fromStdString(ArrayWriteText(kArrayWriteBytes)) : "FAILED");
}
