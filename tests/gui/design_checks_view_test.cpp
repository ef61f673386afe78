#include "gui/design/design_checks_view.h"

#include <QPushButton>
#include <QTableWidget>

#include "core/design/sheet_design.h"
#include "core/shell/number_text.h"
#include "gui/design/design_attach.h"
#include "gui/window/flow_details_panel.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

class DesignChecksViewTest : public ViewTest {
 protected:
  DesignChecksViewTest() {
    AttachDesignChecks(form, services, view.get());
    form.mnuFlowDetails.Click();
    view->Sync();
  }

  // A 500 mm pipe asked to carry 265 L/s at 5/1000: over 0.8 full.
  void CalculateFullPipe() {
    QTest::mouseClick(Button("optDepth"), Qt::LeftButton);
    form.cmdVelDis.Click();  // discharge given
    view->Sync();
    List("cboVelDis1")->setCurrentIndex(2);  // L/s
    form.cboVelDis1.SetListIndex(2);
    Type("txtVelDis1", "265");
    form.cboDiam.SetListIndex(0);  // mm
    form.cboDepth.SetListIndex(0);
    view->Sync();
    Type("txtDiam", "500");
    Type("txtSlope", "5");
    Type("txtManning", "0.013");
    QTest::mouseClick(Button("cmdCalculate"), Qt::LeftButton);
    ASSERT_EQ(Box("txtStatus")->text().toStdString(), kStatusComplete);
  }

  QTableWidget* Checks() { return Find<QTableWidget>("grdDesignChecks"); }
  QString MarkOf(const QString& sentenceStart) {
    for (int r = 0; r < Checks()->rowCount(); ++r)
      if (Checks()->item(r, 1)->text().startsWith(sentenceStart))
        return Checks()->item(r, 0)->text();
    ADD_FAILURE() << "no check " << sentenceStart.toStdString();
    return {};
  }
};

TEST_F(DesignChecksViewTest, ChecksAreWordedAndUseThisSizeResolvesTheFullness) {
  ASSERT_TRUE(active);
  EXPECT_FALSE(Button("cmdUseSize")->isEnabled());  // nothing calculated yet
  CalculateFullPipe();
  // The marks are words, not only colours.
  EXPECT_TRUE(MarkOf("y/D").endsWith("Fail"));
  EXPECT_TRUE(MarkOf("Velocity").endsWith("Pass"));
  EXPECT_TRUE(MarkOf("Freeboard").endsWith("n/a"));
  EXPECT_TRUE(Find<QLabel>("lblStandardSize")->text().startsWith("Standard size 525 mm"))
      << Find<QLabel>("lblStandardSize")->text().toStdString();
  ASSERT_TRUE(Button("cmdUseSize")->isEnabled());

  QTest::mouseClick(Button("cmdUseSize"), Qt::LeftButton);
  EXPECT_EQ(Box("txtDiam")->text(), "525");
  EXPECT_EQ(Box("txtVelDis1")->text(), "265");
  EXPECT_EQ(Box("txtStatus")->text().toStdString(), kStatusComplete);
  EXPECT_TRUE(MarkOf("y/D").endsWith("Pass"));

  // An edit leaves the checks out of date, and the size can no longer be used.
  Type("txtManning", "5");
  EXPECT_FALSE(Button("cmdUseSize")->isEnabled());
  EXPECT_TRUE(Find<QLabel>("lblStandardSize")->text().startsWith("Out of date"));
}

TEST_F(DesignChecksViewTest, OptionsMenuHasDesignSettings) {
  EXPECT_EQ(form.mnuOptionsDesign.Caption(), "D&esign Settings...");
  EXPECT_TRUE(form.mnuOptionsDesign.onClick != nullptr);
}

}  // namespace
}  // namespace rivulet
