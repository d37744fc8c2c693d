#include "parser/resource.h"

#include <array>

namespace Vexar {

namespace {

struct TResEntry {
  const char* Name;
  const char* Text;
};

constexpr TResEntry Defaults[] = {
    {"rsWindowCriteria", "Criteria"},
    {"rsWindowSelection", "Selection"},
    {"rsWindowGroupingCriteria", "Grouping criteria"},
    {"rsWindowSorting", "Sorting"},
    {"rsWindowFirst", "First"},
    {"rsWindowSkip", "Skip"},
    {"rsWherePanelFollowingMet", " of following are met"},
    {"rsWherePanelInvalidPanelParent", "Invalid parent for conditions panel"},
    {"rsWherePanelInsertField", "Insert field"},
    {"rsWherePanelAddCondition", "Add condition"},
    {"rsWherePanelMakeComposeCondition", "Make compose condition"},
    {"rsWherePanelDeleteCondition", "Delete condition"},
    {"rsWherePanelExpandCondition", "Expand condition"},
    {"rsWherePanelCollapseCondition", "Collapse condition"},
    {"rsWherePanelPressShiftEnter", "Press Shift+Enter to insert field"},
    {"rsWherePanelThereIsNoActiveButton", "There is no active button"},
    {"rsWherePanelSelectedConditionComposed", "Selected condition is already composed"},
    {"rsWherePanelCantDeleteFirstRow", "Can't delete first row"},
    {"rsWherePanelSureWantDeleteCondition", "Are you sure you want to delete current condition(s)?"},
    {"rsWherePanelCantExpandSimpleCondition", "Can't expand/collapse simple condition"},
    {"rsWherePanelCantCollapseFirstCondition", "Can't collapse first condition"},
    {"rsSelectOrderNameOfOutputField", "Name of output field"},
    {"rsSelectOrderAggregate", "Aggregate"},
    {"rsSelectOrderSourceFieldName", "Source field name"},
    {"rsSelectOrderDeleteCurrentRow", "Delete current row"},
    {"rsSelectOrderSureWantDeleteRow", "Are you sure you want to delete current row?"},
    {"rsSelectOrderConfirmation", "Confirmation"},
    {"rsSelectOrderCantDeleteLastRow", "Can't delete last row!"},
    {"rsSelectOrderInvalidGridParent", "Invalid parent for SelectGrid"},
    {"rsSelectOrderInvalidOrderParent", "Invalid parent for OrderPanel"},
    {"rsSelectOrderDistinct", "Select only unique records"},
    {"rsSelectOrderOutputFields", "Output fields"},
    {"rsSelectOrderSortedFields", "Sorted fields"},
    {"rsSelectOrderSortOrder", "Sort order"},
    {"rsSelectOrderUp", "Up"},
    {"rsSelectOrderDown", "Down"},
    {"rsSelectOrderASC", "Ascending"},
    {"rsSelectOrderDESC", "Descending"},
    {"rsLinksInvalidIndex", "Invalid index = %d "},
    {"rsLinksWantDeleteLink", "Do you really want to delete the link between "},
    {"rsLinksAttention", "Attention!"},
    {"rsLinksInvalidTable", "Invalid table %s in Link control"},
    {"rsLinksDeletePoint", "Delete point"},
    {"rsLinksInsertPoint", "Insert point"},
    {"rsLinksDeleteLink", "Delete link"},
    {"rsLinksProperty", "Property"},
    {"rsParserAll", "All"},
    {"rsParserAny", "Any"},
    {"rsParserNone", "None"},
    {"rsParserNotAll", "Not all"},
    {"rsParserUnknownError", "Unknown error (#%d)."},
    {"rsParserInvalidToken", "Invalid token '%s' at position %d of line %d."},
    {"rsParserUnexpectedEnd", "Unexpected end of statement."},
    {"rsParserUnterminatedString", "Unterminated string."},
    {"rsFloatPanelIsNotValidWorkArea", "Given parent is not valid for WorkArea!"},
    {"rsFloatPanelTableWithAlias", "Table with alias"},
    {"rsFloatPanelAlreadyExists", "already exist"},
    {"rsFloatTableInvalidParentForTable", "Invalid parent for table object!"},
    {"rsFloatTableCollapseExpandTable", "Collapse/Expand table"},
    {"rsFloatTableUnlinkTable", "Unlink table"},
    {"rsFloatTableCloseTable", "Close table"},
    {"rsFloatTableUnselectAllFields", "Unselect all fields"},
    {"rsFloatTableSelectAllFields", "Select all fields"},
    {"rsFloatTableDoubleClickAlias", "Double click for edit alias"},
    {"rsFloatTableDeleteTable", "Delete table"},
    {"rsFloatTableRenameTable", "Rename table"},
    {"rsLinkPropInvalidLink", "Invalid link"},
    {"rsLinkPropJoinTables", "join tables: "},
    {"rsLinkPropAnd", "and"},
    {"rsLinkPropIncludeAllFrom", "Include all from"},
};
static_assert(sizeof(Defaults) / sizeof(Defaults[0]) == rsResStringCount);

std::array<std::string, rsResStringCount>& Current() {
  static std::array<std::string, rsResStringCount> Texts = [] {
    std::array<std::string, rsResStringCount> T;
    for (int i = 0; i < rsResStringCount; ++i) T[i] = Defaults[i].Text;
    return T;
  }();
  return Texts;
}

bool Valid(TVXResString Id) { return Id >= 0 && Id < rsResStringCount; }

}  // namespace

const std::string& LoadResString(TVXResString Id) {
  static const std::string Empty;
  return Valid(Id) ? Current()[Id] : Empty;
}

const char* ResStringName(TVXResString Id) { return Valid(Id) ? Defaults[Id].Name : ""; }

const char* DefaultResString(TVXResString Id) { return Valid(Id) ? Defaults[Id].Text : ""; }

bool FindResString(std::string_view Name, TVXResString& Id) {
  for (int i = 0; i < rsResStringCount; ++i)
    if (Name == Defaults[i].Name) {
      Id = static_cast<TVXResString>(i);
      return true;
    }
  return false;
}

void SetResString(TVXResString Id, const std::string& Text) {
  if (Valid(Id)) Current()[Id] = Text;
}

void InstallResStrings(
    const std::function<std::string(const char* Name, const char* DefaultText)>& Lookup) {
  for (int i = 0; i < rsResStringCount; ++i)
    Current()[i] = Lookup(Defaults[i].Name, Defaults[i].Text);
}

void ResetResStrings() {
  for (int i = 0; i < rsResStringCount; ++i) Current()[i] = Defaults[i].Text;
}

}  // namespace Vexar
