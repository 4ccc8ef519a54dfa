#pragma once
// How much of the image a parameter covers and how its value is shown.
// The table of addresses gives no widths; these are the ones the memory
// layout fixes. Everything else is one byte.

enum class ParamKind { Byte, Word, BitArray, Bytes, RxRecords };
struct ParamShape {
  ParamKind kind = ParamKind::Byte;
  int size = 1;  // bytes from the parameter's address
};
ParamShape ShapeOf(int paramIndex);
