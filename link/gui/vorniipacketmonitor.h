#pragma once
// "Vorn II Packet Monitor": the payload of every protocol II request and
// reply, with time-outs, refusals and damaged frames.

#include "monitorwindow.h"

class vornII_Protocol;

class TvornIIPacketMonitorForm : public TrafficMonitorWindow {
  Q_OBJECT
 public:
  // The engine is the radio layer's (TRadio::ProtocolII()).
  TvornIIPacketMonitorForm(vornII_Protocol& engine, QWidget* parent = nullptr);
};
