#pragma once
// The alignment bench's trims table: every bound trim and the two
// microphone gains, found by their up-down names. It gives each trim its
// parameter's address for the current model, loads the positions from the
// image, and turns an arrow step or Enter into the write step (the gains
// into their own write, which also stores into the image).

#include <QObject>
#include <QString>
#include <map>
#include <string>

#include "alignradio.h"

class AlignBench;
class AlignTrim;
class EEPROM;
class QWidget;
class TradioInfo;

class AlignTrims : public QObject {
 public:
  AlignTrims(QObject* parent, AlignBench& bench, AlignRadio radio);

  // The bound trim of this up-down (a name of the binding table).
  AlignTrim* Add(QWidget* parent, const char* upDown, const QString& accessibleName);
  // The front (or internal) and the rear (or external) gain.
  AlignTrim* AddMicGain(QWidget* parent, bool rear, const QString& accessibleName);

  AlignTrim* Trim(const std::string& upDown) const { return trims_.at(upDown); }
  AlignTrim* MicGain(bool rear) const { return rear ? micGainRear_ : micGainFront_; }

  // A new showing: each trim added gets its address for the model, then
  // its position from the image (a parameter the model lacks shows 0).
  void Load(const EEPROM& image, const TradioInfo& info);

 private:
  void Enter(AlignTrim* trim);
  void MicGainEnter(bool rear);

  AlignBench& bench_;
  AlignRadio radio_;
  std::map<std::string, AlignTrim*> trims_;  // by up-down name
  AlignTrim* micGainFront_ = nullptr;
  AlignTrim* micGainRear_ = nullptr;
};
