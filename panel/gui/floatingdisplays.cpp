#include "floatingdisplays.h"

#include "radioinfo.h"

TfrmFloatingDisplayKestal::TfrmFloatingDisplayKestal(WindowContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductKestal), context, parent) {}

TfrmFloatingDisplayMerlo::TfrmFloatingDisplayMerlo(WindowContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductMerlo), context, parent) {}

TfrmFloatingDisplayDravo::TfrmFloatingDisplayDravo(WindowContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductDravo), context, parent) {}

TfrmFloatingDisplayPinto::TfrmFloatingDisplayPinto(WindowContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductPinto), context, parent) {}

FloatingDisplay* NewFloatingDisplay(uint32_t productId, WindowContext& context, QWidget* parent) {
  switch (productId) {
    case kProductKestal: return new TfrmFloatingDisplayKestal(context, parent);
    case kProductMerlo: return new TfrmFloatingDisplayMerlo(context, parent);
    case kProductDravo: return new TfrmFloatingDisplayDravo(context, parent);
    case kProductPinto: return new TfrmFloatingDisplayPinto(context, parent);
    default: return nullptr;
  }
}
