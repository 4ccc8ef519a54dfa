#include "vorniipacketmonitor.h"

TvornIIPacketMonitorForm::TvornIIPacketMonitorForm(vornII_Protocol& engine, QWidget* parent)
    : TrafficMonitorWindow(std::make_unique<VornIIPacketMonitor>(engine), "Vorn II Packet Monitor",
                           {"pktMonMemo", "startButton", "pauseButton", "closeButton", "btnClear"},
                           parent) {
  setObjectName("vornIIPacketMonitorForm");
}
