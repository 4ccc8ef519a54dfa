#pragma once
// "Audio Samples": the last audio samples read by the engineering panel,
// as one red line over a fixed signed 16-bit scale. Opened only from the
// panel; the points stay until the next reading.

#include <QDialog>
#include <cstdint>
#include <vector>

class QChart;
class QLineSeries;

class TfrmSamplesChart : public QDialog {
 public:
  explicit TfrmSamplesChart(QWidget* parent = nullptr);

  // Replaces the points: x = index, y = sample.
  void SetSamples(const std::vector<int16_t>& samples);
  QLineSeries& Series() { return *Series1_; }
  QChart& Chart() { return *chart_; }

 private:
  QChart* chart_ = nullptr;
  QLineSeries* Series1_ = nullptr;
};
