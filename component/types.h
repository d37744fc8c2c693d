// The enumerations and sets that the component layer publishes. They live in
// the one Q_NAMESPACE of namespace Vexar so that Qt's property system (and a
// form designer) knows their names; sets are QFlags, so each enumerator of a
// set is one bit.
#pragma once

#include <QFlags>
#include <QObject>

namespace Vexar {
Q_NAMESPACE

// The edge drawn around table boxes.
enum TVXBorderKind { vxkBump, vxkEtched, vxkRaised, vxkSunken };
Q_ENUM_NS(TVXBorderKind)

// How the numbered buttons of condition rows are drawn.
enum TVXButtonStyle { vxsFlat, vxs3DLook, vxsRaise };
Q_ENUM_NS(TVXButtonStyle)

// Behaviour switches read by the views whenever they paint or act.
enum TVXOption {
  vxoRowSelect = 0x1,       // condition panels highlight the whole active row
  vxoDragFieldName = 0x2,   // a dragged field shows its name instead of the drag cursor
  vxoHideSelection = 0x4,   // a box shows its current row only while it is selected
  vxoShowFieldTypes = 0x8,  // box rows show the field's type after its name
};
Q_DECLARE_FLAGS(TVXOptions, TVXOption)
Q_FLAG_NS(TVXOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVXOptions)

// The four pages below the diagram, in page order.
enum TVXVisibleTab {
  vxtCriterions = 0x1,
  vxtSelection = 0x2,
  vxtGroupCriterions = 0x4,
  vxtSorting = 0x8,
};
Q_DECLARE_FLAGS(TVXVisibleTabs, TVXVisibleTab)
Q_FLAG_NS(TVXVisibleTabs)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVXVisibleTabs)

// What the diagram asks permission for: adding or removing a box or a link.
enum TVXAction { vxaAdd, vxaRemove };
Q_ENUM_NS(TVXAction)

}  // namespace Vexar
