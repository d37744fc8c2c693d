// Appearance settings: defaults, stored rules, repaint requests (only on a
// change, only for the views that paint the value) and Assign.
#include "component/settings.h"

#include <gtest/gtest.h>

#include <QPalette>
#include <functional>

#include "component/vexar.h"
#include "platform/exception.h"

namespace Vexar {
namespace {

using TViews = std::vector<TVXView>;
const TViews Diagram = {vxvWorkArea};
const TViews Conditions = {vxvWherePanel, vxvHavingPanel};

struct TRepaintCase {
  const char* Name;
  std::function<void(TCustomVexar&)> Change;
  TViews Expected;
};

TEST(VexarSettings, SettersRepaintOnlyTheViewsThatUseTheValue) {
  const TRepaintCase Cases[] = {
      {"ActiveCondition", [](TCustomVexar& V) { V.Palette()->SetActiveCondition(clRed); },
       Conditions},
      {"ConditionText", [](TCustomVexar& V) { V.Palette()->SetConditionText(clRed); }, Conditions},
      {"ConditionItemText", [](TCustomVexar& V) { V.Palette()->SetConditionItemText(clRed); },
       Conditions},
      {"ConditionErrorText", [](TCustomVexar& V) { V.Palette()->SetConditionErrorText(clNavy); },
       Conditions},
      {"ProcClient", [](TCustomVexar& V) { V.Palette()->SetProcClient(clRed); }, Diagram},
      {"TableClient", [](TCustomVexar& V) { V.Palette()->SetTableClient(clRed); }, Diagram},
      {"ItemText", [](TCustomVexar& V) { V.Palette()->SetItemText(clRed); }, Diagram},
      {"SelectedItemText", [](TCustomVexar& V) { V.Palette()->SetSelectedItemText(clRed); },
       Diagram},
      {"ActiveCaption", [](TCustomVexar& V) { V.Palette()->SetActiveCaption(clRed); }, Diagram},
      {"InactiveCaption", [](TCustomVexar& V) { V.Palette()->SetInactiveCaption(clRed); }, Diagram},
      {"ButtonStyle", [](TCustomVexar& V) { V.Style()->SetButtonStyle(vxs3DLook); }, Conditions},
      {"BorderKind", [](TCustomVexar& V) { V.Style()->ObjectStyle()->SetBorderKind(vxkSunken); },
       Diagram},
      {"Flat", [](TCustomVexar& V) { V.Style()->ObjectStyle()->SetFlat(false); }, Diagram},
      {"FlatButtons", [](TCustomVexar& V) { V.Style()->ObjectStyle()->SetFlatButtons(false); },
       Diagram},
      // The values they already have: nothing to repaint.
      {"TableClient unchanged", [](TCustomVexar& V) { V.Palette()->SetTableClient(clWhite); }, {}},
      {"ButtonStyle unchanged", [](TCustomVexar& V) { V.Style()->SetButtonStyle(vxsFlat); }, {}},
      {"Options", [](TCustomVexar& V) { V.SetOptions(vxoHideSelection); }, {}},
  };
  for (const TRepaintCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TSQLVexar V;
    C.Change(V);
    EXPECT_EQ(V.RepaintRequests(), C.Expected);
    // A second identical change repaints nothing more.
    V.ClearRepaintRequests();
    C.Change(V);
    EXPECT_EQ(V.RepaintRequests(), TViews{});
  }
}

TEST(VexarSettings, PaletteDefaultsAndStoredRule) {
  TVXPalette P;
  EXPECT_EQ(P.ActiveCondition(), 16777215);
  EXPECT_EQ(P.ProcClient(), -2147483624);
  EXPECT_EQ(P.TableClient(), 16777215);
  EXPECT_EQ(P.ConditionItemText(), 8388608);
  EXPECT_EQ(P.ConditionText(), 0);
  EXPECT_EQ(P.ConditionErrorText(), 255);
  EXPECT_EQ(P.ItemText(), 0);
  EXPECT_EQ(P.SelectedItemText(), 16777215);
  EXPECT_EQ(P.InactiveCaption(), -2147483633);
  EXPECT_EQ(P.ActiveCaption(), 12632256);
  P.SetInactiveCaption(clSilver);
  EXPECT_TRUE(P.IsInactiveCaptionStored());
  EXPECT_EQ(P.property("InactiveCaption").toInt(), clSilver);
  // Not a published property: never streamed.
  EXPECT_EQ(P.metaObject()->indexOfProperty("ConditionErrorText"), -1);
}

TEST(VexarSettings, AssignCopiesEveryValueIntoTheOwnedObjects) {
  TSQLVexar From, To;
  From.Palette()->SetConditionErrorText(clNavy);
  From.Palette()->SetTableClient(clSilver);
  From.Style()->SetButtonStyle(vxsRaise);
  From.Style()->ObjectStyle()->SetBorderKind(vxkEtched);
  TVXPalette* OwnPalette = To.Palette();
  To.SetPalette(From.Palette());
  To.SetStyle(From.Style());
  EXPECT_EQ(To.Palette(), OwnPalette);
  EXPECT_EQ(To.Palette()->ConditionErrorText(), clNavy);
  EXPECT_EQ(To.Palette()->TableClient(), clSilver);
  EXPECT_EQ(To.Style()->ButtonStyle(), vxsRaise);
  EXPECT_EQ(To.Style()->ObjectStyle()->BorderKind(), vxkEtched);
  // In the order of Assign: the condition colour, the diagram colour, the
  // button style, then the object style.
  EXPECT_EQ(To.RepaintRequests(), (TViews{vxvWherePanel, vxvHavingPanel, vxvWorkArea, vxvWherePanel,
                                          vxvHavingPanel, vxvWorkArea}));
  // A settings object of another class is refused.
  EXPECT_THROW(To.Palette()->Assign(From.Style()), EConvertError);
  EXPECT_THROW(To.SetStyle(nullptr), EConvertError);
}

TEST(VexarSettings, FreeStandingSettingsRequestNoRepaint) {
  TVXStyle S;
  S.SetButtonStyle(vxs3DLook);  // no owner to repaint: must simply store
  S.ObjectStyle()->SetFlat(false);
  EXPECT_EQ(S.ButtonStyle(), vxs3DLook);
  EXPECT_TRUE(S.ObjectStyle()->IsFlatStored());
}

TEST(VexarSettings, ColoursResolveSystemColoursThroughTheWidgetsPalette) {
  QWidget W;
  QPalette P = W.palette();
  P.setColor(QPalette::ToolTipBase, QColor(1, 2, 3));
  P.setColor(QPalette::Button, QColor(4, 5, 6));
  W.setPalette(P);
  EXPECT_EQ(ColorToQColor(clInfoBk, &W), QColor(1, 2, 3));
  EXPECT_EQ(ColorToQColor(clBtnFace, &W), QColor(4, 5, 6));
  EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
  EXPECT_EQ(ColorToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(ColorToQColor(clSystemColor | 200), QColor(Qt::black));  // no such system colour
}

}  // namespace
}  // namespace Vexar
