#pragma once
// The four floating front panels, one window class per model family.

#include "floatingdisplay.h"

class TfrmFloatingDisplayKestal : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayKestal(EditorContext& context, QWidget* parent);
};

class TfrmFloatingDisplayMerlo : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayMerlo(EditorContext& context, QWidget* parent);
};

class TfrmFloatingDisplayDravo : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayDravo(EditorContext& context, QWidget* parent);
};

class TfrmFloatingDisplayPinto : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayPinto(EditorContext& context, QWidget* parent);
};

// The window for a product ID, or null when the model has no panel.
FloatingDisplay* NewFloatingDisplay(uint32_t productId, EditorContext& context, QWidget* parent);
