#include "aligntrims.h"

#include <QLineEdit>

#include "alignbench.h"
#include "alignbindings.h"
#include "aligntrim.h"
#include "keyfilters.h"
#include "radioinfo.h"

AlignTrims::AlignTrims(QObject* parent, AlignBench& bench, AlignRadio radio)
    : QObject(parent), bench_(bench), radio_(std::move(radio)) {}

AlignTrim* AlignTrims::Add(QWidget* parent, const char* upDown, const QString& accessibleName) {
  const AlignBinding* b = AlignBindingOf(upDown);
  auto* trim = new AlignTrim(parent, {b->upDown, b->edit, b->low, b->high, b->enterWrites},
                             accessibleName);
  trims_[upDown] = trim;
  connect(trim, &AlignTrim::Stepped, this, [this, trim](int position) {
    radio_([this, trim, position] { bench_.WriteStep(trim->Tag(), position); });
  });
  if (b->enterWrites) OnEnterKey(trim->Edit(), [this, trim] { Enter(trim); });
  return trim;
}

AlignTrim* AlignTrims::AddMicGain(QWidget* parent, bool rear, const QString& accessibleName) {
  auto* trim = new AlignTrim(parent,
                             {rear ? "udMicGain2" : "udMicGain1",
                              rear ? "editMicGain2" : "editMicGain1", kMicGainLow, kMicGainHigh,
                              true},
                             accessibleName);
  (rear ? micGainRear_ : micGainFront_) = trim;
  connect(trim, &AlignTrim::Stepped, this, [this, rear](int position) {
    radio_([this, rear, position] { bench_.WriteMicGain(rear, position); });
  });
  OnEnterKey(trim->Edit(), [this, rear] { MicGainEnter(rear); });
  return trim;
}

void AlignTrims::Load(const EEPROM& image, const TradioInfo& info) {
  const std::vector<AlignBinding>& bindings = AlignBindings();
  const std::vector<int> positions = AlignPositions(image, info);
  for (size_t i = 0; i < bindings.size(); ++i) {
    const auto found = trims_.find(bindings[i].upDown);
    if (found == trims_.end()) continue;
    found->second->SetTag(info.GetParamAddress(bindings[i].parameter));
    found->second->SetPosition(positions[i]);
  }
  const MicGainPositions mic = AlignMicGainPositions(image, info);
  if (micGainFront_) micGainFront_->SetPosition(mic.front);
  if (micGainRear_) micGainRear_->SetPosition(mic.rear);
}

void AlignTrims::Enter(AlignTrim* trim) {
  const TrimEntry entry = ParseTrimEntry(trim->Edit()->text().toStdString());
  if (!entry.writes) return;
  trim->SetPosition(entry.value);
  radio_([this, trim, &entry] { bench_.WriteStep(trim->Tag(), entry.value); });
}

void AlignTrims::MicGainEnter(bool rear) {
  AlignTrim* trim = MicGain(rear);
  const TrimEntry entry = ParseMicGainEntry(trim->Edit()->text().toStdString());
  if (!entry.writes) return;
  trim->SetPosition(entry.value);
  radio_([this, rear, &entry] { bench_.WriteMicGain(rear, entry.value); });
}
