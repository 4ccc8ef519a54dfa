// The firmware window with real widgets, with and without a radio.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "frmfirmware.h"
#include "transfer_rig.h"

namespace {

struct FirmwareWindow {
  explicit FirmwareWindow(Rig& rig) : form(rig.radio, rig.info, rig.build, rig.host) {}
  QString Text(const char* name) { return form.findChild<QLabel*>(name)->text(); }
  TfrmFirmware form;
};

TEST(TfrmFirmware, CaptionLabelsAndButton) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  FirmwareWindow w(rig);
  const std::pair<const char*, const char*> captions[] = {{"lblRadioType", "Radio Type:"},
                                                          {"lblProductID", "Product ID:"},
                                                          {"lblPCBRev", "PCB Rev.:"},
                                                          {"lblFirmware", "Firmware:"}};
  for (auto [name, caption] : captions) EXPECT_EQ(w.Text(name), caption) << name;
  auto* ok = w.form.findChild<QPushButton*>("btnOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
}

TEST(TfrmFirmware, ShowsTheRadiosFacts) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  rig.sim.SetPcbRevision(3);
  ASSERT_TRUE(rig.flows.PortCheck());
  FirmwareWindow w(rig);
  w.form.show();
  EXPECT_EQ(w.Text("lblRadioTypeInfo"), QString::fromStdString(rig.sim.FirmwareText()));
  EXPECT_EQ(w.Text("lblProductIDInfo"), "5A02");
  EXPECT_EQ(w.Text("lblPCBRevInfo"), "03");
  EXPECT_EQ(w.Text("lblFirmwareInfo"), "v3.00");
  EXPECT_TRUE(rig.host.Dialogs().empty());
  QTest::mouseClick(w.form.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
  EXPECT_FALSE(w.form.isVisible());
  EXPECT_EQ(w.form.result(), QDialog::Accepted);
}

TEST(TfrmFirmware, WithoutARadioSaysSoOncePerShowingAndShowsNothing) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  rig.sim.Stop();
  FirmwareWindow w(rig);
  w.form.show();
  const std::vector<std::string> once{"msg:Read Error:Unable to read from radio"};
  EXPECT_EQ(rig.host.Dialogs(), once);
  for (const char* name :
       {"lblRadioTypeInfo", "lblProductIDInfo", "lblPCBRevInfo", "lblFirmwareInfo"})
    EXPECT_EQ(w.Text(name), "") << name;
  w.form.activateWindow();  // focus coming back asks nothing
  EXPECT_EQ(rig.host.Dialogs(), once);
  w.form.hide();
  w.form.show();
  EXPECT_EQ(rig.host.Dialogs().size(), 2u);
}

TEST(TfrmFirmware, ARadioWhoseVersionReadFailsShowsNa) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  SimFaults f;
  f.nackOpcode = OP_GET_VERSION;
  rig.sim.SetFaults(f);
  ASSERT_TRUE(rig.flows.PortCheck());
  FirmwareWindow w(rig);
  w.form.show();
  EXPECT_EQ(w.Text("lblFirmwareInfo"), "n/a");
  EXPECT_EQ(w.Text("lblProductIDInfo"), "5A02");
}

TEST(TfrmFirmware, RefreshesOnEveryShowing) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  ASSERT_TRUE(rig.flows.PortCheck());
  FirmwareWindow w(rig);
  w.form.show();
  EXPECT_EQ(w.Text("lblFirmwareInfo"), "v3.00");
  w.form.hide();
  rig.sim.SetVersion(SimVersion{2, 5, 'b'});
  w.form.show();
  EXPECT_EQ(w.Text("lblFirmwareInfo"), "v2.05b");
}

}  // namespace
