#pragma once
// The objects one session of the programmer shares, in the order it
// creates them: the serial port, the memory image, the model record
// (which the radio layer reads), the radio command layer and the
// transfers' cancel event. The main window, vornprog and the test rigs
// each hold one set.

#include <cstdint>

#include "eeprom.h"
#include "platform.h"
#include "radio.h"
#include "radioinfo.h"
#include "serialport.h"

struct SharedObjects {
  // The radio layer is built for the build's product; the current model
  // starts unknown until the session selects one.
  explicit SharedObjects(uint32_t buildProductId) : radio(port, info, buildProductId) {}

  SerialPort port;
  EEPROM image{kImageSize};
  TradioInfo info;
  TRadio radio;
  Event cancel;
};
