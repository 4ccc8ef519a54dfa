#include "frmsampleschart.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include "eng.h"

TfrmSamplesChart::TfrmSamplesChart(QWidget* parent) : QDialog(parent) {
  setObjectName("frmSamplesChart");
  setWindowTitle("Audio Samples");
  // A fixed border with the system menu and minimise, no maximise.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  chart_ = new QChart;
  chart_->setTitle("Audio samples");
  chart_->legend()->hide();
  chart_->setPlotAreaBackgroundBrush(Qt::white);
  chart_->setPlotAreaBackgroundVisible(true);
  Series1_ = new QLineSeries(chart_);
  Series1_->setObjectName("Series1");
  Series1_->setPen(QPen(Qt::red, 1));
  Series1_->setPointsVisible(false);
  chart_->addSeries(Series1_);
  auto* axisX = new QValueAxis(chart_);
  axisX->setRange(0, kAudioSampleCount - 1);
  axisX->setLabelFormat("%d");
  auto* axisY = new QValueAxis(chart_);
  axisY->setObjectName("LeftAxis");
  axisY->setRange(-32768, 32768);
  axisY->setLabelFormat("%d");
  chart_->addAxis(axisX, Qt::AlignBottom);
  chart_->addAxis(axisY, Qt::AlignLeft);
  Series1_->attachAxis(axisX);
  Series1_->attachAxis(axisY);

  auto* view = new QChartView(chart_, this);
  view->setObjectName("audioSamplesChart");
  view->setAccessibleName("Audio samples chart");
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(640, 400);

  auto* close = new QPushButton("close", this);
  close->setObjectName("btnClose");
  close->setAccessibleName("Close");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmSamplesChart::SetSamples(const std::vector<int16_t>& samples) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(samples.size()));
  for (size_t i = 0; i < samples.size(); ++i)
    points.append(QPointF(static_cast<double>(i), samples[i]));
  Series1_->replace(points);
}
