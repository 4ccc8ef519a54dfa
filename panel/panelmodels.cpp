#include "panelmodels.h"

#include <iterator>

#include "radioinfo.h"

namespace {
// The Merlo firmware answers a poll only with the top bit set.
constexpr PanelModel kPanels[] = {
    {kProductKestal, "TfrmFloatingDisplayKestal", "Kestal Front Panel", "imgKestalFrontPanel",
     568, 131, 0, false, true, false, true},
    {kProductMerlo, "TfrmFloatingDisplayMerlo", "Merlo Front Panel", "RadioFrontPanel", 568, 131,
     128, true, false, false, true},
    {kProductDravo, "TfrmFloatingDisplayDravo", "Dravo Front Panel", "RadioFrontPanelDravo", 670,
     202, 0, true, false, true, true},
    {kProductPinto, "TfrmFloatingDisplayPinto", "Pinto Front Panel", "imgPinto", 241, 647, -1,
     false, false, false, false},
};
}  // namespace

const PanelModel* FindPanelModel(uint32_t productId) {
  for (const PanelModel& m : kPanels)
    if (m.productId == productId) return &m;
  return nullptr;
}

const PanelModel* PanelModels(int& count) {
  count = static_cast<int>(std::size(kPanels));
  return kPanels;
}
