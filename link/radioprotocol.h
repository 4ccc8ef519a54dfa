#pragma once
// What the programmer and the radio agree on over protocol II: the command
// numbers, the flags of a packet's first byte and the limits of a request.
// Opcodes and constants only, so that the simulated radio can share them
// without sharing any of the programmer's code.

#include <cstdint>

// Opcodes (command numbers) of protocol II.
enum RadioOpcode : uint8_t {
  OP_GET_VERSION = 0,
  OP_READ_BYTE = 1,
  OP_READ_WORD = 2,
  OP_READ_BLOCK = 3,
  OP_GET_CHANNEL = 4,
  OP_GET_STATUS = 5,
  OP_READ_ARRAY = 11,
  OP_READ_RADIO_ID = 12,
  OP_WRITE_BYTE = 33,
  OP_WRITE_WORD = 34,
  OP_WRITE_BLOCK = 35,
  OP_SET_CHANNEL = 36,
  OP_SET_RF_POWER = 37,
  OP_SET_PTT = 38,
  OP_STEP_UP = 41,
  OP_STEP_DOWN = 42,
  OP_WRITE_ARRAY = 43,
  OP_WRITE_RADIO_ID = 44,
  OP_SET_VOLUME = 47,
  OP_ENGINEERING = 52,
  OP_SET_TEST_MODE = 56,
  OP_ENTER_PROG_MODE = 57,
  OP_READ_FIRMWARE_TEXT = 58,
  OP_SET_BAUD_RATE = 59,
  OP_RESET = 63,
};

// Sub-commands of OP_ENGINEERING (first request byte).
enum EngineeringSub : uint8_t {
  ENG_PEEK = 0x01,
  ENG_READ_ADC = 0x08,
  ENG_POKE = 0x81,
  ENG_TX_TONE = 0x82,
  ENG_CTCSS_TONE = 0x83,
  ENG_WRITE_LCD = 0x84,
  ENG_SQUELCH_OPEN = 0x86,
  ENG_PLL_FREQUENCY = 0x88,
  ENG_AUTO_ALIGN = 0x89,
  ENG_BEEP_TONE = 0x8A,
  ENG_AUDIO_SAMPLES = 0x8B,
  ENG_FREQUENCY_ERROR = 0x8C,
  ENG_AFC = 0x8D,
};

// The first byte of a packet: the command number, with the request flag
// set on a request and the NACK flag set on a refusal.
inline constexpr uint8_t kRequestFlag = 0x80;
inline constexpr uint8_t kNackFlag = 0x40;
inline constexpr uint8_t kCommandMask = 0x3F;

inline constexpr int kMaxArrayCount = 251;    // bytes in one array read or write
inline constexpr int kMaxAudioSamples = 126;  // samples in one audio samples reply
