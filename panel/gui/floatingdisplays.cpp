#include "floatingdisplays.h"

#include "radioinfo.h"

TfrmFloatingDisplayKestal::TfrmFloatingDisplayKestal(EditorContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductKestal), context, parent) {}

TfrmFloatingDisplayMerlo::TfrmFloatingDisplayMerlo(EditorContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductMerlo), context, parent) {}

TfrmFloatingDisplayDravo::TfrmFloatingDisplayDravo(EditorContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductDravo), context, parent) {}

TfrmFloatingDisplayPinto::TfrmFloatingDisplayPinto(EditorContext& context, QWidget* parent)
    : FloatingDisplay(*FindPanelModel(kProductPinto), context, parent) {}

FloatingDisplay* NewFloatingDisplay(uint32_t productId, EditorContext& context, QWidget* parent) {
  switch (productId) {
    case kProductKestal: return new TfrmFloatingDisplayKestal(context, parent);
    case kProductMerlo: return new TfrmFloatingDisplayMerlo(context, parent);
    case kProductDravo: return new TfrmFloatingDisplayDravo(context, parent);
    case kProductPinto: return new TfrmFloatingDisplayPinto(context, parent);
    default: return nullptr;
  }
}
