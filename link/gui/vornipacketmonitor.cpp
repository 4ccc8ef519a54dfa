#include "vornipacketmonitor.h"

TvornIPacketMonitorForm::TvornIPacketMonitorForm(vornI_Protocol& engine, QWidget* parent)
    : TrafficMonitorWindow(std::make_unique<VornIPacketMonitor>(engine), "Vorn I Packet Monitor",
                           {"pktMonMemo", "startButton", "pauseButton", "closeButton", "btnClear"},
                           parent) {
  setObjectName("vornIPacketMonitorForm");
}
