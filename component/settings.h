// Appearance settings of a component: its colours (TVXPalette), the look of
// its condition buttons (TVXStyle) and of its table boxes (TVXObjectStyle).
//
// The component owns one object of each; the views read them whenever they
// paint. A setter stores a value only when it differs, and then asks the
// owning component to repaint exactly the views that use that value.
// As on the component, Is<Property>Stored() tells whether a property differs
// from its default and so is written to a form.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>

#include "component/types.h"
#include "platform/persistent.h"

class QColor;
class QWidget;

namespace Vexar {

class TCustomVexar;

// A colour as the component publishes it: 0x00BBGGRR for a plain colour, or
// 0x80000000 plus the index of a system colour, which is resolved through the
// palette of the widget that paints (ColorToQColor).
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clInfoBk = clSystemColor | 24;

// The colour to paint with: a plain colour as it is; a system colour from
// Widget's palette (the application's palette when Widget is null).
QColor ColorToQColor(TColor Color, const QWidget* Widget = nullptr);

// The views a settings value is painted by.
enum TVXView { vxvWorkArea, vxvWherePanel, vxvHavingPanel };

class TVXPalette : public QObject, public TPersistent {
  Q_OBJECT
  Q_PROPERTY(Vexar::TColor ActiveCondition READ ActiveCondition WRITE SetActiveCondition)
  Q_PROPERTY(Vexar::TColor ProcClient READ ProcClient WRITE SetProcClient)
  Q_PROPERTY(Vexar::TColor TableClient READ TableClient WRITE SetTableClient)
  Q_PROPERTY(Vexar::TColor ConditionItemText READ ConditionItemText WRITE SetConditionItemText)
  Q_PROPERTY(Vexar::TColor ConditionText READ ConditionText WRITE SetConditionText)
  Q_PROPERTY(Vexar::TColor ItemText READ ItemText WRITE SetItemText)
  Q_PROPERTY(Vexar::TColor SelectedItemText READ SelectedItemText WRITE SetSelectedItemText)
  Q_PROPERTY(Vexar::TColor InactiveCaption READ InactiveCaption WRITE SetInactiveCaption)
  Q_PROPERTY(Vexar::TColor ActiveCaption READ ActiveCaption WRITE SetActiveCaption)
  // ConditionErrorText is public but not a published property: it is not streamed.

 public:
  explicit TVXPalette(TCustomVexar* Owner = nullptr);

  TCustomVexar* Owner() const { return FOwner; }

  TColor ActiveCondition() const { return FActiveCondition; }
  TColor ProcClient() const { return FProcClient; }
  TColor TableClient() const { return FTableClient; }
  TColor ConditionItemText() const { return FConditionItemText; }
  TColor ConditionText() const { return FConditionText; }
  TColor ConditionErrorText() const { return FConditionErrorText; }
  TColor ItemText() const { return FItemText; }
  TColor SelectedItemText() const { return FSelectedItemText; }
  TColor InactiveCaption() const { return FInactiveCaption; }
  TColor ActiveCaption() const { return FActiveCaption; }

  void SetActiveCondition(TColor Value);
  void SetProcClient(TColor Value);
  void SetTableClient(TColor Value);
  void SetConditionItemText(TColor Value);
  void SetConditionText(TColor Value);
  void SetConditionErrorText(TColor Value);
  void SetItemText(TColor Value);
  void SetSelectedItemText(TColor Value);
  void SetInactiveCaption(TColor Value);
  void SetActiveCaption(TColor Value);

  Q_INVOKABLE bool IsActiveConditionStored() const { return FActiveCondition != clWhite; }
  Q_INVOKABLE bool IsProcClientStored() const { return FProcClient != clInfoBk; }
  Q_INVOKABLE bool IsTableClientStored() const { return FTableClient != clWhite; }
  Q_INVOKABLE bool IsConditionItemTextStored() const { return FConditionItemText != clNavy; }
  Q_INVOKABLE bool IsConditionTextStored() const { return FConditionText != clBlack; }
  Q_INVOKABLE bool IsItemTextStored() const { return FItemText != clBlack; }
  Q_INVOKABLE bool IsSelectedItemTextStored() const { return FSelectedItemText != clWhite; }
  Q_INVOKABLE bool IsInactiveCaptionStored() const { return FInactiveCaption != clBtnFace; }
  Q_INVOKABLE bool IsActiveCaptionStored() const { return FActiveCaption != clSilver; }

  // Copies all ten colours, ConditionErrorText included, through the setters.
  void Assign(const TPersistent* Source) override;

 private:
  void SetColor(TColor& Field, TColor Value, bool Diagram);

  TCustomVexar* FOwner;
  TColor FActiveCondition = clWhite;
  TColor FProcClient = clInfoBk;
  TColor FTableClient = clWhite;
  TColor FConditionItemText = clNavy;
  TColor FConditionText = clBlack;
  TColor FConditionErrorText = clRed;
  TColor FItemText = clBlack;
  TColor FSelectedItemText = clWhite;
  TColor FInactiveCaption = clBtnFace;
  TColor FActiveCaption = clSilver;
};

class TVXObjectStyle : public QObject, public TPersistent {
  Q_OBJECT
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons)
  Q_PROPERTY(Vexar::TVXBorderKind BorderKind READ BorderKind WRITE SetBorderKind)

 public:
  explicit TVXObjectStyle(TCustomVexar* Owner = nullptr);

  TCustomVexar* Owner() const { return FOwner; }
  bool Flat() const { return FFlat; }
  bool FlatButtons() const { return FFlatButtons; }
  TVXBorderKind BorderKind() const { return FBorderKind; }
  // Each setter repaints the diagram when the value changes.
  void SetFlat(bool Value);
  void SetFlatButtons(bool Value);
  void SetBorderKind(TVXBorderKind Value);

  Q_INVOKABLE bool IsFlatStored() const { return !FFlat; }
  Q_INVOKABLE bool IsFlatButtonsStored() const { return !FFlatButtons; }
  Q_INVOKABLE bool IsBorderKindStored() const { return FBorderKind != vxkRaised; }

  // Copies BorderKind, Flat and FlatButtons through the setters.
  void Assign(const TPersistent* Source) override;

 private:
  TCustomVexar* FOwner;
  bool FFlat = true;
  bool FFlatButtons = true;
  TVXBorderKind FBorderKind = vxkRaised;
};

class TVXStyle : public QObject, public TPersistent {
  Q_OBJECT
  Q_PROPERTY(Vexar::TVXButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
  Q_PROPERTY(Vexar::TVXObjectStyle* ObjectStyle READ ObjectStyle WRITE SetObjectStyle)

 public:
  explicit TVXStyle(TCustomVexar* Owner = nullptr);
  ~TVXStyle() override;

  TCustomVexar* Owner() const { return FOwner; }
  TVXButtonStyle ButtonStyle() const { return FButtonStyle; }
  // Repaints the WHERE panel and then the HAVING panel when the value changes.
  void SetButtonStyle(TVXButtonStyle Value);
  TVXObjectStyle* ObjectStyle() const { return FObjectStyle.get(); }
  // Copies Value into the owned object style (nothing when it is that object).
  void SetObjectStyle(const TVXObjectStyle* Value);

  Q_INVOKABLE bool IsButtonStyleStored() const { return FButtonStyle != vxsFlat; }

  // Copies ButtonStyle, then the object style.
  void Assign(const TPersistent* Source) override;

 private:
  TCustomVexar* FOwner;
  TVXButtonStyle FButtonStyle = vxsFlat;
  std::unique_ptr<TVXObjectStyle> FObjectStyle;
};

}  // namespace Vexar
