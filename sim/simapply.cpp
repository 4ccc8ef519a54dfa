#include "simoptions.h"

#include "simradio.h"

bool ApplySimOptions(const SimOptions& o, SimulatedRadio& radio, std::string& error) {
  if (!o.image.empty() && !radio.LoadImage(o.image)) {
    error = "cannot read " + o.image + " as a mem-file of 2048 bytes";
    return false;
  }
  if (o.hasVersion) radio.SetVersion(o.version);
  if (o.hasFirmwareText) radio.SetFirmwareText(o.firmwareText);
  if (o.hasRadioId) radio.SetRadioId(o.radioId);
  if (o.pcbRevision >= 0 && !radio.SetPcbRevision(o.pcbRevision)) {
    error = "this model has no PCB revision word";
    return false;
  }
  if (o.channel) radio.SetChannel(o.channel);
  if (o.baud) radio.SetLineRate(o.baud);
  radio.SetSignal(o.signal);
  radio.SetAnnouncementInterval(o.announceMs);
  radio.SetCheckLineRate(o.checkRate);
  radio.SetFaults(o.faults);
  return true;
}
