// The message catalogue: every text the system shows to a user, by name.
//
// A text is looked up at the moment it is used (LoadResString), never copied at
// start-up, so that a translation installed at run time takes effect everywhere.
// A translation replaces entries one by one (SetResString) or all at once
// (InstallResStrings with a lookup by entry name); ResetResStrings restores the
// default English texts.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Vexar {

enum TVXResString {
  rsWindowCriteria,
  rsWindowSelection,
  rsWindowGroupingCriteria,
  rsWindowSorting,
  rsWindowFirst,
  rsWindowSkip,
  rsWherePanelFollowingMet,
  rsWherePanelInvalidPanelParent,
  rsWherePanelInsertField,
  rsWherePanelAddCondition,
  rsWherePanelMakeComposeCondition,
  rsWherePanelDeleteCondition,
  rsWherePanelExpandCondition,
  rsWherePanelCollapseCondition,
  rsWherePanelPressShiftEnter,
  rsWherePanelThereIsNoActiveButton,
  rsWherePanelSelectedConditionComposed,
  rsWherePanelCantDeleteFirstRow,
  rsWherePanelSureWantDeleteCondition,
  rsWherePanelCantExpandSimpleCondition,
  rsWherePanelCantCollapseFirstCondition,
  rsSelectOrderNameOfOutputField,
  rsSelectOrderAggregate,
  rsSelectOrderSourceFieldName,
  rsSelectOrderDeleteCurrentRow,
  rsSelectOrderSureWantDeleteRow,
  rsSelectOrderConfirmation,
  rsSelectOrderCantDeleteLastRow,
  rsSelectOrderInvalidGridParent,
  rsSelectOrderInvalidOrderParent,
  rsSelectOrderDistinct,
  rsSelectOrderOutputFields,
  rsSelectOrderSortedFields,
  rsSelectOrderSortOrder,
  rsSelectOrderUp,
  rsSelectOrderDown,
  rsSelectOrderASC,
  rsSelectOrderDESC,
  rsLinksInvalidIndex,
  rsLinksWantDeleteLink,
  rsLinksAttention,
  rsLinksInvalidTable,
  rsLinksDeletePoint,
  rsLinksInsertPoint,
  rsLinksDeleteLink,
  rsLinksProperty,
  rsParserAll,
  rsParserAny,
  rsParserNone,
  rsParserNotAll,
  rsParserUnknownError,
  rsParserInvalidToken,
  rsParserUnexpectedEnd,
  rsParserUnterminatedString,
  rsFloatPanelIsNotValidWorkArea,
  rsFloatPanelTableWithAlias,
  rsFloatPanelAlreadyExists,
  rsFloatTableInvalidParentForTable,
  rsFloatTableCollapseExpandTable,
  rsFloatTableUnlinkTable,
  rsFloatTableCloseTable,
  rsFloatTableUnselectAllFields,
  rsFloatTableSelectAllFields,
  rsFloatTableDoubleClickAlias,
  rsFloatTableDeleteTable,
  rsFloatTableRenameTable,
  rsLinkPropInvalidLink,
  rsLinkPropJoinTables,
  rsLinkPropAnd,
  rsLinkPropIncludeAllFrom,
  rsResStringCount
};

// The current text of an entry.
const std::string& LoadResString(TVXResString Id);
// The name of an entry ("rsParserInvalidToken") and its default English text.
const char* ResStringName(TVXResString Id);
const char* DefaultResString(TVXResString Id);
// The entry with the given name; false when there is none.
bool FindResString(std::string_view Name, TVXResString& Id);

// Replaces the current text of one entry.
void SetResString(TVXResString Id, const std::string& Text);
// Replaces every entry by what Lookup returns for its name and default text.
void InstallResStrings(
    const std::function<std::string(const char* Name, const char* DefaultText)>& Lookup);
// Restores every default text.
void ResetResStrings();

}  // namespace Vexar
