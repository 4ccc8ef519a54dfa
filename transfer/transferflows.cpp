#include "transferflows.h"

#include <ctime>
#include <utility>

#include "buildconfig.h"
#include "eeprom.h"
#include "memfile.h"
#include "messages.h"
#include "params.h"
#include "portmap.h"
#include "radio.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "serialport.h"

namespace {

constexpr PromptIcon kIcon = PromptIcon::Warning;
constexpr int kBaudSwitchSettleMs = 200;

struct VersionNoticeRow {
  uint32_t productId;
  int firstCurrentMajor;  // majors below this get the notice
  const char* text;
};

constexpr VersionNoticeRow kVersionNotices[] = {
    {kProductDravo, 2,
     "Your Dravo radio does not support the latest features available on Dravo-S radios, "
     "e.g. NetScan"},
    {kProductKestal, 3,
     "Your Kestal radio does not support the latest features available on Kestal-S radios, "
     "e.g. NetScan"},
    {kProductMerlo, 2,
     "Your Merlo family radio does not support the latest features available on Merlo-S "
     "family radios, e.g. NetScan"},
};

}  // namespace

std::string PortCannotFollowText(uint32_t rate) {
  return "The radio has switched to " + std::to_string(rate) +
         " baud, but this computer's serial port cannot run at that rate. Switch the radio "
         "off and on, and choose a lower maximum baud rate under Comm Port.";
}

std::string VersionNotice(uint32_t buildProductId, int majorVersion) {
  for (const VersionNoticeRow& row : kVersionNotices)
    if (row.productId == buildProductId && majorVersion < row.firstCurrentMajor) return row.text;
  return "";
}

TransferFlows::TransferFlows(const RadioObjects& objects, TransferState& state,
                             TransferHost& host, MessageReceiver* window)
    : o_(objects), state_(state), host_(host), window_(window),
      transferImage_(objects.image.GetLength()),
      lane_(objects.radio, transferImage_, objects.port) {}

TransferFlows::~TransferFlows() { lane_.Stop(); }

bool TransferFlows::Warn(const std::string& text, const std::string& caption) {
  host_.ShowMessage(text, caption, kIcon);
  return false;
}

bool TransferFlows::PortLost() const { return o_.port.IsLost(); }

std::string TransferFlows::PortLostMessage() const {
  return PortLostText(PortMap::ComName(state_.portNumber));
}

bool TransferFlows::OpenPort() {
  const std::string name = PortMap::ComName(state_.portNumber);
  if (o_.port.Open(name, state_.currentBaudRate)) return true;
  return Warn(host_.OpenPortFailureText(name), "Error");
}

bool TransferFlows::PortCheck() {
  FinishPreviousTransfer();
  // A pulled lead leaves the port on a device that is gone; only a fresh
  // open reaches the radio again.
  if (o_.port.IsLost()) o_.port.Close();
  if (o_.port.IsOpen()) return true;
  const bool opened = OpenPort();
  host_.PortStateChanged();
  return opened;
}

bool TransferFlows::AcceptedRadio(uint32_t id, const std::string& caption, std::string& name) {
  int row = 0;
  uint32_t flag = 0;
  if (FindModel(id, row, flag, name) && (flag & o_.build.modelFlag) != 0) return true;
  return Warn("Incorrect radio type (" + HexId(id) + ")", caption);
}

bool TransferFlows::CheckProductId(int& productId, int& rowIndex) {
  int id = 0;
  if (!o_.radio.ReadProductId(id)) return Warn("Radio Response Timeout", "Reading Product ID");
  std::string name;
  if (!AcceptedRadio(static_cast<uint32_t>(id), "Checking Product ID", name)) return false;
  uint32_t flag = 0;
  FindModel(static_cast<uint32_t>(id), rowIndex, flag, name);
  productId = id;
  return true;
}

bool TransferFlows::RaiseBaudRate() {
  if (o_.radio.SetRadioBaudRate(state_.maxBdRate)) {
    // The radio needs a moment before it listens at the new rate.
    SleepMs(kBaudSwitchSettleMs);
    if (!o_.port.SetBaudRate(state_.maxBdRate)) {
      // Going on at the old rate would only end in a time-out, blamed on
      // the radio: the radio now listens at the new rate alone.
      host_.PortStateChanged();
      return Warn(PortCannotFollowText(state_.maxBdRate), "Set baudrate");
    }
    state_.currentBaudRate = state_.maxBdRate;
  } else if (!host_.AskOkCancel(
                 QuestionId::kContinueAtDefaultRate,
                 "Unable to increase radio baudrate. Continue at default baud-rate?",
                 "Set baudrate", kIcon)) {
    return false;
  }
  host_.PortStateChanged();
  return true;
}

bool TransferFlows::ArrayFlag() const {
  return o_.build.engineering ? state_.arraysChecked
                              : TradioInfo::HasArrayTransfer(o_.build.productId);
}

// A command that stops after TransferStarting must still end the transfer
// for its host, or what the host paused (the floating display's poll)
// would stay paused.
bool TransferFlows::StoppedBeforeWorker(int direction) {
  TransferOutcome outcome;
  outcome.number = 0;
  outcome.direction = direction;
  outcome.result = kTransferCancelled;
  host_.TransferEnded(outcome);
  return false;
}

bool TransferFlows::ReadRadio() {
  if (!PortCheck()) return false;
  int productId = 0, row = 0;
  if (!CheckProductId(productId, row)) return false;
  if (!host_.AskOkCancel(QuestionId::kReadOverEditData, "All current edit data will be lost.",
                         "Read From Radio?", kIcon))
    return false;
  host_.RadioIdentityStale();
  if (!o_.radio.EnterProgMode()) return Warn("Radio Response Timeout", "Entering Prog Mode");
  char firmware[20];
  if (!o_.radio.ReadFirmwareText(firmware, sizeof firmware))
    return Warn("Failed to read radio type.", "Read radio error");
  if (!o_.radio.GetRadioVersion()) return Warn("Failed to read radio version.", "Read radio error");
  host_.StatusChanged();
  host_.TransferStarting(kDirectionRead);

  state_.baudRaised = TradioInfo::HasBaudRateSwitch(o_.build.productId) &&
                      state_.maxBdRate != kDefaultBaudRate;
  if (state_.baudRaised && !RaiseBaudRate()) return StoppedBeforeWorker(kDirectionRead);
  const bool started = StartTransfer(kDirectionRead, "Reading from Radio");
  if (started) o_.radio.CountRadioRead();
  return started;
}

bool TransferFlows::WriteRadio() {
  if (!PortCheck()) return false;
  int productId = 0, row = 0;
  if (!CheckProductId(productId, row)) return false;
  if (!CheckRadioFor(o_.image)) return false;
  if (o_.radio.RadioReadCount() == 0 &&
      !host_.AskOkCancel(QuestionId::kWriteUnreadRadio,
                         "Radio has not been read in this session. Continue?", "Warning", kIcon))
    return false;
  if (!EnterForTransfer(kDirectionWrite)) return false;
  return StartTransfer(kDirectionWrite, "Writing to Radio");
}

bool TransferFlows::CheckRadioFor(const EEPROM& config) {
  int radioId = 0;
  if (!o_.radio.ReadProductId(radioId)) return Warn("Radio Response Timeout", "Reading Product ID");
  std::string radioName, configName;
  if (!AcceptedRadio(static_cast<uint32_t>(radioId), "Checking Product ID", radioName))
    return false;
  const int configId = config.GetWord(o_.info.GetParamAddress(kParamProductId));
  if (!AcceptedRadio(static_cast<uint32_t>(configId), "Current config", configName)) return false;
  if (radioId != configId)
    return Warn("Wrong Radio Type (radio is " + radioName + ", config is for " + configName + ")",
                "Cross-checking Product ID");
  return true;
}

bool TransferFlows::EnterForTransfer(int direction) {
  host_.RadioIdentityStale();
  if (!o_.radio.EnterProgMode()) return Warn("Radio Response Timeout.", "Comms Error");
  char firmware[20];
  o_.radio.ReadFirmwareText(firmware, sizeof firmware);
  if (!o_.radio.GetRadioVersion()) return Warn("Radio Response Timeout.", "Comms Error");
  host_.StatusChanged();
  if (direction == kDirectionWrite) o_.radio.SetTestMode(0);
  host_.TransferStarting(direction);
  const int imageId = o_.image.GetWord(o_.info.GetParamAddress(kParamProductId));
  if (direction == kDirectionWrite && !aside_ && static_cast<uint32_t>(imageId) == kProductDravo) {
    // The radio's own contrast setting survives the write.
    const int address = o_.info.GetParamAddress(kParamLcdContrast);
    int contrast = 0;
    if (address >= 0 && o_.radio.ReadMemoryByte(address, contrast))
      o_.image.SetByte(address, contrast);
  }
  // A write runs at the rate the last read chose.
  if (direction == kDirectionRead)
    state_.baudRaised = TradioInfo::HasBaudRateSwitch(o_.build.productId) &&
                        state_.maxBdRate != kDefaultBaudRate;
  if (state_.baudRaised && !RaiseBaudRate()) return StoppedBeforeWorker(direction);
  return true;
}

bool TransferFlows::RunAside(int direction, const std::string& caption) {
  if (!PortCheck() || !EnterForTransfer(direction)) {
    aside_.reset();
    return false;
  }
  // The closing steps may run (and take aside_) before StartTransfer returns.
  const bool wholeRead = direction == kDirectionRead && aside_ && aside_->blocks.empty();
  const bool started = StartTransfer(direction, caption);
  if (started && wholeRead) o_.radio.CountRadioRead();
  if (!started) aside_.reset();
  return started;
}

bool TransferFlows::ReadRadioAside(EEPROM& into) {
  aside_ = std::make_unique<Aside>();
  aside_->target = &into;
  aside_->archive = true;
  return RunAside(kDirectionRead, "Reading from Radio");
}

bool TransferFlows::WriteImage(const EEPROM& source, const std::vector<bool>& blocks) {
  aside_ = std::make_unique<Aside>();
  aside_->source = &source;
  aside_->blocks = blocks;
  return RunAside(kDirectionWrite, "Writing to Radio");
}

bool TransferFlows::ReadBlocks(EEPROM& into, const std::vector<bool>& blocks) {
  aside_ = std::make_unique<Aside>();
  aside_->target = &into;
  aside_->blocks = blocks;
  return RunAside(kDirectionRead, "Verifying");
}

bool TransferFlows::StartTransfer(int direction, const std::string& caption) {
  TransferFields fields;
  fields.startAddress = 0;
  fields.endAddress = kImageSize - 1;
  fields.direction = direction;
  fields.arrayFlag = ArrayFlag();
  fields.baudRaised = state_.baudRaised;
  fields.statusAddress =
      direction == kDirectionWrite ? o_.info.GetParamAddress(kParamStatus) : -1;
  if (aside_) {
    fields.onlyBlocks = aside_->blocks;
    // The radio acts on its Status byte when written alone: only when its
    // block is among those written.
    const int status = fields.statusAddress;
    if (status >= 0 && !fields.onlyBlocks.empty() &&
        !fields.onlyBlocks[static_cast<size_t>(status / kBlockSize)])
      fields.statusAddress = -1;
  }
  fields.window = window_;
  fields.cancelEvent = &o_.cancel;

  ProgressSetup setup;
  setup.caption = caption;
  setup.minimum = 0;
  setup.maximum = fields.endAddress;
  setup.direction = direction;
  setup.cancelEvent = &o_.cancel;

  direction_ = direction;
  const EEPROM& from = aside_ && aside_->source    ? *aside_->source
                      : aside_ && aside_->target ? *aside_->target
                                                 : o_.image;
  transferImage_.WriteBlock(0, from.Data(), from.GetLength());
  bool started = false;
  WorkerLane::Ending ending;
  ending.deliverPending = [this] { host_.DeliverPendingMessages(); };
  ending.closingSteps = [this, baudRaised = fields.baudRaised](const TransferOutcome& outcome) {
    RunClosingSteps(outcome, baudRaised);
  };
  host_.RunTransfer(setup, [&] {
    o_.cancel.Reset();
    started = lane_.Start(fields, std::move(ending)) != 0;
    return started;
  });
  // No worker, no closing steps: the transfer ends here.
  if (!started) StoppedBeforeWorker(direction);
  return started;
}

bool TransferFlows::HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam,
                                  ProgressView& view) {
  if (message == WM_TRANSFER) {
    ProgressStep step = MapTransferMessage(direction_, wParam, lParam);
    if (step.setCloseMode && !step.actionText.empty() && PortLost())
      step.actionText = PortLostMessage();
    AddRadioState(step, direction_, restorePath_.empty() ? lastArchivedPath_ : restorePath_);
    ApplyProgressStep(view, step);
    return step.handled;
  }
  if (message != WM_TRANSFER_CLOSED) return false;
  lane_.Closed(lParam);
  return true;
}

void TransferFlows::FinishPreviousTransfer() { lane_.Finish(); }

void TransferFlows::RunClosingSteps(const TransferOutcome& outcome, bool baudRaised) {
  lastOutcome_ = outcome;

  if (lastOutcome_.resetFailed) {
    const bool wholeRead =
        lastOutcome_.direction == kDirectionRead && lastOutcome_.result == kTransferCompleted;
    const std::string what = PortLost() ? PortLostMessage() : "Radio Response Timeout. (t)";
    Warn(wholeRead ? what + "\n" + UnresetReadText("") : what, "Comms Error");
  }
  if (baudRaised) {
    state_.currentBaudRate = kDefaultBaudRate;
    host_.PortStateChanged();
  }
  if (aside_) {
    const std::unique_ptr<Aside> aside = std::move(aside_);
    const bool done = lastOutcome_.result == kTransferCompleted;
    if (aside->target && done) {
      aside->target->WriteBlock(0, transferImage_.Data(), transferImage_.GetLength());
      if (aside->archive) {
        lastArchivedPath_.clear();
        ArchiveRead(*aside->target);
      }
    }
    host_.StatusChanged();
    host_.TransferEnded(lastOutcome_);
    return;
  }
  const bool read = lastOutcome_.direction == kDirectionRead;
  // A read that did not bring the whole memory changes nothing the user
  // works with: the image, its source and the buttons stay as they were.
  const bool keepImage = read && lastOutcome_.result != kTransferCompleted;
  if (read) lastArchivedPath_.clear();
  if (read && !keepImage) {
    o_.image.WriteBlock(0, transferImage_.Data(), transferImage_.GetLength());
    ArchiveRead(o_.image);
  }
  if (!keepImage) host_.SetDataSource(kRadioData);
  host_.StatusChanged();
  host_.TransferEnded(lastOutcome_);
  if (!read) return;
  const std::string notice = VersionNotice(o_.build.productId, o_.radio.GetCachedVersion().major);
  if (!notice.empty()) host_.ShowMessage(notice, kVersionNoticeCaption, kIcon);
}

void TransferFlows::ArchiveRead(const EEPROM& image) {
  if (!archive_) return;
  const uint32_t productId =
      static_cast<uint32_t>(image.GetWord(o_.info.GetParamAddress(kParamProductId)));
  int row = 0;
  uint32_t flag = 0;
  std::string model;
  if (!FindModel(productId, row, flag, model)) model = "Unknown";
  std::string error;
  if (!archive_->Save(image, productId, model, std::time(nullptr), lastArchivedPath_, error))
    host_.ReportArchiveFailure("The read was not archived: " + error);
}
