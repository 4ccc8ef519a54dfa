#pragma once
// Where each panel's LCD, LCD labels and key buttons sit over its drawing.
// The drawings (resources/*.svg) put the key caps and the LCD window at
// the same places.

#include <QHash>
#include <QRect>
#include <QString>

struct PanelModel;

struct PanelLayout {
  QString picture;           // resource path of the drawing
  QRect lcd;                 // LCDPanel, in window coordinates
  int digitPixels = 0;       // channel digit font size
  int alphaPixels = 0;       // alpha character font size
  int iconPixels = 0;        // icon caption font size
  QHash<QString, QRect> lcdLabels;  // in LCDPanel coordinates
  QHash<QString, QRect> keys;       // in window coordinates
};

const PanelLayout& LayoutOf(const PanelModel& model);
