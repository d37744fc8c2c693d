#include "component/settings.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>

#include "component/vexar.h"

namespace Vexar {

namespace {

// The palette role that stands for each system colour index (0..30); -1
// where the index has no counterpart and black is used.
constexpr int SystemColorRoles[] = {
    QPalette::Button,           // 0 scroll bar
    QPalette::Window,           // 1 desktop
    QPalette::Highlight,        // 2 active caption
    QPalette::Mid,              // 3 inactive caption
    QPalette::Window,           // 4 menu
    QPalette::Base,             // 5 window
    QPalette::Shadow,           // 6 window frame
    QPalette::WindowText,       // 7 menu text
    QPalette::Text,             // 8 window text
    QPalette::HighlightedText,  // 9 caption text
    QPalette::Window,           // 10 active border
    QPalette::Window,           // 11 inactive border
    QPalette::Mid,              // 12 application workspace
    QPalette::Highlight,        // 13 highlight
    QPalette::HighlightedText,  // 14 highlighted text
    QPalette::Button,           // 15 button face
    QPalette::Dark,             // 16 button shadow
    QPalette::PlaceholderText,  // 17 grey text
    QPalette::ButtonText,       // 18 button text
    QPalette::WindowText,       // 19 inactive caption text
    QPalette::Light,            // 20 button highlight
    QPalette::Shadow,           // 21 3D dark shadow
    QPalette::Midlight,         // 22 3D light
    QPalette::ToolTipText,      // 23 info text
    QPalette::ToolTipBase,      // 24 info background
    -1,                         // 25 (unused)
    QPalette::Link,             // 26 hot light
    QPalette::Highlight,        // 27 gradient active caption
    QPalette::Mid,              // 28 gradient inactive caption
    QPalette::Highlight,        // 29 menu highlight
    QPalette::Window,           // 30 menu bar
};

}  // namespace

QColor ColorToQColor(TColor Color, const QWidget* Widget) {
  const auto Bits = static_cast<uint32_t>(Color);
  if ((Bits & 0xFF000000u) == 0x80000000u) {
    const uint32_t Index = Bits & 0xFFu;
    constexpr uint32_t Count = sizeof(SystemColorRoles) / sizeof(SystemColorRoles[0]);
    if (Index >= Count || SystemColorRoles[Index] < 0)
      return QColor(Qt::black);
    const QPalette Palette = Widget ? Widget->palette() : QApplication::palette();
    return Palette.color(static_cast<QPalette::ColorRole>(SystemColorRoles[Index]));
  }
  return QColor(int(Bits & 0xFF), int((Bits >> 8) & 0xFF), int((Bits >> 16) & 0xFF));
}

// ---------------------------------------------------------------------------
// TVXPalette

TVXPalette::TVXPalette(TCustomVexar* Owner) : FOwner(Owner) {}

// Stores Value and repaints the views that paint with it: the diagram, or
// the WHERE panel and then the HAVING panel.
void TVXPalette::SetColor(TColor& Field, TColor Value, bool Diagram) {
  if (Field == Value)
    return;
  Field = Value;
  if (!FOwner)
    return;
  if (Diagram) {
    FOwner->RequestRepaint(vxvWorkArea);
  } else {
    FOwner->RequestRepaint(vxvWherePanel);
    FOwner->RequestRepaint(vxvHavingPanel);
  }
}

void TVXPalette::SetActiveCondition(TColor Value) {
  SetColor(FActiveCondition, Value, false);
}
void TVXPalette::SetConditionText(TColor Value) {
  SetColor(FConditionText, Value, false);
}
void TVXPalette::SetConditionItemText(TColor Value) {
  SetColor(FConditionItemText, Value, false);
}
void TVXPalette::SetConditionErrorText(TColor Value) {
  SetColor(FConditionErrorText, Value, false);
}
void TVXPalette::SetProcClient(TColor Value) {
  SetColor(FProcClient, Value, true);
}
void TVXPalette::SetTableClient(TColor Value) {
  SetColor(FTableClient, Value, true);
}
void TVXPalette::SetItemText(TColor Value) {
  SetColor(FItemText, Value, true);
}
void TVXPalette::SetSelectedItemText(TColor Value) {
  SetColor(FSelectedItemText, Value, true);
}
void TVXPalette::SetActiveCaption(TColor Value) {
  SetColor(FActiveCaption, Value, true);
}
void TVXPalette::SetInactiveCaption(TColor Value) {
  SetColor(FInactiveCaption, Value, true);
}

void TVXPalette::Assign(const TPersistent* Source) {
  const auto* P = dynamic_cast<const TVXPalette*>(Source);
  if (!P) {
    TPersistent::Assign(Source);
    return;
  }
  SetActiveCondition(P->ActiveCondition());
  SetConditionText(P->ConditionText());
  SetConditionErrorText(P->ConditionErrorText());
  SetConditionItemText(P->ConditionItemText());
  SetTableClient(P->TableClient());
  SetItemText(P->ItemText());
  SetSelectedItemText(P->SelectedItemText());
  SetProcClient(P->ProcClient());
  SetActiveCaption(P->ActiveCaption());
  SetInactiveCaption(P->InactiveCaption());
}

// ---------------------------------------------------------------------------
// TVXObjectStyle

TVXObjectStyle::TVXObjectStyle(TCustomVexar* Owner) : FOwner(Owner) {}

void TVXObjectStyle::SetFlat(bool Value) {
  if (FFlat == Value)
    return;
  FFlat = Value;
  if (FOwner)
    FOwner->RequestRepaint(vxvWorkArea);
}

void TVXObjectStyle::SetFlatButtons(bool Value) {
  if (FFlatButtons == Value)
    return;
  FFlatButtons = Value;
  if (FOwner)
    FOwner->RequestRepaint(vxvWorkArea);
}

void TVXObjectStyle::SetBorderKind(TVXBorderKind Value) {
  if (FBorderKind == Value)
    return;
  FBorderKind = Value;
  if (FOwner)
    FOwner->RequestRepaint(vxvWorkArea);
}

void TVXObjectStyle::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TVXObjectStyle*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderKind(S->BorderKind());
  SetFlat(S->Flat());
  SetFlatButtons(S->FlatButtons());
}

// ---------------------------------------------------------------------------
// TVXStyle

TVXStyle::TVXStyle(TCustomVexar* Owner)
    : FOwner(Owner), FObjectStyle(std::make_unique<TVXObjectStyle>(Owner)) {}

TVXStyle::~TVXStyle() = default;

void TVXStyle::SetButtonStyle(TVXButtonStyle Value) {
  if (FButtonStyle == Value)
    return;
  FButtonStyle = Value;
  if (!FOwner)
    return;
  FOwner->RequestRepaint(vxvWherePanel);
  FOwner->RequestRepaint(vxvHavingPanel);
}

// The object style's own setters repaint the diagram for each value that
// changes, so an assignment that changes nothing repaints nothing.
void TVXStyle::SetObjectStyle(const TVXObjectStyle* Value) {
  if (Value == FObjectStyle.get())
    return;
  FObjectStyle->Assign(Value);
}

void TVXStyle::Assign(const TPersistent* Source) {
  const auto* S = dynamic_cast<const TVXStyle*>(Source);
  if (!S) {
    TPersistent::Assign(Source);
    return;
  }
  SetButtonStyle(S->ButtonStyle());
  SetObjectStyle(S->ObjectStyle());
}

}  // namespace Vexar
