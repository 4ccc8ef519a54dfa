#include "eepromworker.h"

#include <utility>

#include "eebuff.h"
#include "eeprom_text.h"
#include "radio.h"

std::string EepromLogStart(int direction) {
  return direction == kDirectionWrite ? "Writing radio EEPROM..." : "Reading radio EEPROM...";
}

std::string EepromLogEnd(int direction, const TransferOutcome& outcome) {
  // A time-out or a cancel is no success, whatever the reset did.
  const bool ok = outcome.result == kTransferCompleted && !outcome.resetFailed;
  return EepromLogStart(direction) + (ok ? "OK" : "Fail");
}

bool EepromWorker::Start(int direction, EEbuffer& workingCopy, MessageReceiver* window,
                         Event& cancel, WorkerLane::Ending ending) {
  TransferFields fields;
  fields.startAddress = 0;
  fields.endAddress = workingCopy.GetLength() - 1;
  fields.direction = direction;
  fields.testModeBeforeWrite = true;
  fields.image = &workingCopy;
  fields.window = window;
  fields.cancelEvent = &cancel;
  direction_ = direction;
  cancel.Reset();
  return lane_.Start(fields, std::move(ending)) != 0;
}

bool EeReadAddress(TRadio& radio, EEbuffer& copy, int address, int size) {
  int value = 0;
  if (size == kEeData16Bit) {
    if (!radio.ReadMemoryWord(address, value)) return false;
    copy.SetWord(address, value);
  } else {
    if (!radio.ReadMemoryByte(address, value)) return false;
    copy.SetByte(address, value);
  }
  return true;
}

bool EeWriteAddress(TRadio& radio, const EEbuffer& copy, EEbuffer& image, int address, int size) {
  if (size == kEeData16Bit) {
    const int value = copy.GetWord(address);
    if (!radio.WriteMemoryWord(address, value)) return false;
    image.SetWord(address, value);
  } else {
    const int value = copy.GetByte(address);
    if (!radio.WriteMemoryByte(address, value)) return false;
    image.SetByte(address, value);
  }
  return true;
}
