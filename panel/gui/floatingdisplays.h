#pragma once
// The four floating front panels, one window class per model family.

#include "floatingdisplay.h"

class TfrmFloatingDisplayKestal : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayKestal(WindowContext& context, QWidget* parent);
};

class TfrmFloatingDisplayMerlo : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayMerlo(WindowContext& context, QWidget* parent);
};

class TfrmFloatingDisplayDravo : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayDravo(WindowContext& context, QWidget* parent);
};

class TfrmFloatingDisplayPinto : public FloatingDisplay {
  Q_OBJECT
 public:
  TfrmFloatingDisplayPinto(WindowContext& context, QWidget* parent);
};

// The window for a product ID, or null when the model has no panel.
FloatingDisplay* NewFloatingDisplay(uint32_t productId, WindowContext& context, QWidget* parent);
