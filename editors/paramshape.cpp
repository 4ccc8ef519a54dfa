#include "paramshape.h"

#include "eeprom.h"
#include "params.h"

namespace {

// The selcall memories (ten records of 8 bytes) and the radio's own ident
// (8 bytes): selcall digits and alpha tags, shown as their bytes.
constexpr int kSelcallRecordSize = 8;
constexpr int kSelcallMemories = 10;

struct ShapeRow {
  Param param;
  ParamShape shape;
};

constexpr ShapeRow kShapes[] = {
    {kParamProductId, {ParamKind::Word, 2}},
    {kParamPcbRev, {ParamKind::Word, 2}},
    {kParamScanMem0, {ParamKind::BitArray, kChannelBitArraySize}},
    {kParamScanMem1, {ParamKind::BitArray, kChannelBitArraySize}},
    {kParamQuietMem, {ParamKind::BitArray, kChannelBitArraySize}},
    {kParamSilentMem, {ParamKind::BitArray, kChannelBitArraySize}},
    {kParamScanMem2, {ParamKind::BitArray, kChannelBitArraySize}},
    {kParamSelcallMem, {ParamKind::Bytes, kSelcallMemories * kSelcallRecordSize}},
    {kParamSelcallIdent, {ParamKind::Bytes, kSelcallRecordSize}},
    {kParamRxOnlyChannels,
     {ParamKind::RxRecords, kRxOnlyChannelCount * kRxChannelRecordSize}},
};

}  // namespace

ParamShape ShapeOf(int paramIndex) {
  for (const ShapeRow& row : kShapes)
    if (row.param.Index() == paramIndex) return row.shape;
  return {};
}
