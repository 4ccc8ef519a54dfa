#pragma once
// "Vorn I Packet Monitor": every protocol I frame received or sent, all
// its bytes in wire order.

#include "monitorwindow.h"

class vornI_Protocol;

class TvornIPacketMonitorForm : public TrafficMonitorWindow {
  Q_OBJECT
 public:
  // The engine is the radio layer's (TRadio::ProtocolI()).
  TvornIPacketMonitorForm(vornI_Protocol& engine, QWidget* parent = nullptr);
};
