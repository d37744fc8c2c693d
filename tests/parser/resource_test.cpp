#include <gtest/gtest.h>

#include "parser/resource.h"
#include "platform/format.h"

namespace Vexar {
namespace {

struct ExpectedText {
  TVXResString Id;
  const char* Name;
  const char* Text;
};

// Every entry with its exact default text, blanks included.
const ExpectedText Catalogue[] = {
    {rsWindowCriteria, "rsWindowCriteria", "Criteria"},
    {rsWindowSelection, "rsWindowSelection", "Selection"},
    {rsWindowGroupingCriteria, "rsWindowGroupingCriteria", "Grouping criteria"},
    {rsWindowSorting, "rsWindowSorting", "Sorting"},
    {rsWindowFirst, "rsWindowFirst", "First"},
    {rsWindowSkip, "rsWindowSkip", "Skip"},
    {rsWherePanelFollowingMet, "rsWherePanelFollowingMet", " of following are met"},
    {rsWherePanelInvalidPanelParent, "rsWherePanelInvalidPanelParent", "Invalid parent for conditions panel"},
    {rsWherePanelInsertField, "rsWherePanelInsertField", "Insert field"},
    {rsWherePanelAddCondition, "rsWherePanelAddCondition", "Add condition"},
    {rsWherePanelMakeComposeCondition, "rsWherePanelMakeComposeCondition", "Make compose condition"},
    {rsWherePanelDeleteCondition, "rsWherePanelDeleteCondition", "Delete condition"},
    {rsWherePanelExpandCondition, "rsWherePanelExpandCondition", "Expand condition"},
    {rsWherePanelCollapseCondition, "rsWherePanelCollapseCondition", "Collapse condition"},
    {rsWherePanelPressShiftEnter, "rsWherePanelPressShiftEnter", "Press Shift+Enter to insert field"},
    {rsWherePanelThereIsNoActiveButton, "rsWherePanelThereIsNoActiveButton", "There is no active button"},
    {rsWherePanelSelectedConditionComposed, "rsWherePanelSelectedConditionComposed", "Selected condition is already composed"},
    {rsWherePanelCantDeleteFirstRow, "rsWherePanelCantDeleteFirstRow", "Can't delete first row"},
    {rsWherePanelSureWantDeleteCondition, "rsWherePanelSureWantDeleteCondition", "Are you sure you want to delete current condition(s)?"},
    {rsWherePanelCantExpandSimpleCondition, "rsWherePanelCantExpandSimpleCondition", "Can't expand/collapse simple condition"},
    {rsWherePanelCantCollapseFirstCondition, "rsWherePanelCantCollapseFirstCondition", "Can't collapse first condition"},
    {rsSelectOrderNameOfOutputField, "rsSelectOrderNameOfOutputField", "Name of output field"},
    {rsSelectOrderAggregate, "rsSelectOrderAggregate", "Aggregate"},
    {rsSelectOrderSourceFieldName, "rsSelectOrderSourceFieldName", "Source field name"},
    {rsSelectOrderDeleteCurrentRow, "rsSelectOrderDeleteCurrentRow", "Delete current row"},
    {rsSelectOrderSureWantDeleteRow, "rsSelectOrderSureWantDeleteRow", "Are you sure you want to delete current row?"},
    {rsSelectOrderConfirmation, "rsSelectOrderConfirmation", "Confirmation"},
    {rsSelectOrderCantDeleteLastRow, "rsSelectOrderCantDeleteLastRow", "Can't delete last row!"},
    {rsSelectOrderInvalidGridParent, "rsSelectOrderInvalidGridParent", "Invalid parent for SelectGrid"},
    {rsSelectOrderInvalidOrderParent, "rsSelectOrderInvalidOrderParent", "Invalid parent for OrderPanel"},
    {rsSelectOrderDistinct, "rsSelectOrderDistinct", "Select only unique records"},
    {rsSelectOrderOutputFields, "rsSelectOrderOutputFields", "Output fields"},
    {rsSelectOrderSortedFields, "rsSelectOrderSortedFields", "Sorted fields"},
    {rsSelectOrderSortOrder, "rsSelectOrderSortOrder", "Sort order"},
    {rsSelectOrderUp, "rsSelectOrderUp", "Up"},
    {rsSelectOrderDown, "rsSelectOrderDown", "Down"},
    {rsSelectOrderASC, "rsSelectOrderASC", "Ascending"},
    {rsSelectOrderDESC, "rsSelectOrderDESC", "Descending"},
    {rsLinksInvalidIndex, "rsLinksInvalidIndex", "Invalid index = %d "},
    {rsLinksWantDeleteLink, "rsLinksWantDeleteLink", "Do you really want to delete the link between "},
    {rsLinksAttention, "rsLinksAttention", "Attention!"},
    {rsLinksInvalidTable, "rsLinksInvalidTable", "Invalid table %s in Link control"},
    {rsLinksDeletePoint, "rsLinksDeletePoint", "Delete point"},
    {rsLinksInsertPoint, "rsLinksInsertPoint", "Insert point"},
    {rsLinksDeleteLink, "rsLinksDeleteLink", "Delete link"},
    {rsLinksProperty, "rsLinksProperty", "Property"},
    {rsParserAll, "rsParserAll", "All"},
    {rsParserAny, "rsParserAny", "Any"},
    {rsParserNone, "rsParserNone", "None"},
    {rsParserNotAll, "rsParserNotAll", "Not all"},
    {rsParserUnknownError, "rsParserUnknownError", "Unknown error (#%d)."},
    {rsParserInvalidToken, "rsParserInvalidToken", "Invalid token '%s' at position %d of line %d."},
    {rsParserUnexpectedEnd, "rsParserUnexpectedEnd", "Unexpected end of statement."},
    {rsParserUnterminatedString, "rsParserUnterminatedString", "Unterminated string."},
    {rsFloatPanelIsNotValidWorkArea, "rsFloatPanelIsNotValidWorkArea", "Given parent is not valid for WorkArea!"},
    {rsFloatPanelTableWithAlias, "rsFloatPanelTableWithAlias", "Table with alias"},
    {rsFloatPanelAlreadyExists, "rsFloatPanelAlreadyExists", "already exist"},
    {rsFloatTableInvalidParentForTable, "rsFloatTableInvalidParentForTable", "Invalid parent for table object!"},
    {rsFloatTableCollapseExpandTable, "rsFloatTableCollapseExpandTable", "Collapse/Expand table"},
    {rsFloatTableUnlinkTable, "rsFloatTableUnlinkTable", "Unlink table"},
    {rsFloatTableCloseTable, "rsFloatTableCloseTable", "Close table"},
    {rsFloatTableUnselectAllFields, "rsFloatTableUnselectAllFields", "Unselect all fields"},
    {rsFloatTableSelectAllFields, "rsFloatTableSelectAllFields", "Select all fields"},
    {rsFloatTableDoubleClickAlias, "rsFloatTableDoubleClickAlias", "Double click for edit alias"},
    {rsFloatTableDeleteTable, "rsFloatTableDeleteTable", "Delete table"},
    {rsFloatTableRenameTable, "rsFloatTableRenameTable", "Rename table"},
    {rsLinkPropInvalidLink, "rsLinkPropInvalidLink", "Invalid link"},
    {rsLinkPropJoinTables, "rsLinkPropJoinTables", "join tables: "},
    {rsLinkPropAnd, "rsLinkPropAnd", "and"},
    {rsLinkPropIncludeAllFrom, "rsLinkPropIncludeAllFrom", "Include all from"},
};

TEST(Catalogue, EveryDefaultTextIsExact) {
  ASSERT_EQ(std::size(Catalogue), size_t(rsResStringCount));
  for (const auto& E : Catalogue) {
    SCOPED_TRACE(E.Name);
    EXPECT_EQ(LoadResString(E.Id), E.Text);
    EXPECT_STREQ(ResStringName(E.Id), E.Name);
    TVXResString Found;
    ASSERT_TRUE(FindResString(E.Name, Found));
    EXPECT_EQ(Found, E.Id);
  }
}

TEST(Catalogue, ReplacedTextIsSeenAtTheNextLookup) {
  SetResString(rsParserUnexpectedEnd, "Fin inattendue.");
  EXPECT_EQ(LoadResString(rsParserUnexpectedEnd), "Fin inattendue.");
  ResetResStrings();
  EXPECT_EQ(LoadResString(rsParserUnexpectedEnd), "Unexpected end of statement.");
}

TEST(Catalogue, InstalledTranslationReplacesEveryEntryByName) {
  InstallResStrings([](const char* Name, const char* Default) {
    return std::string(Name) == "rsParserAll" ? std::string("Tous") : std::string(Default);
  });
  EXPECT_EQ(LoadResString(rsParserAll), "Tous");
  EXPECT_EQ(LoadResString(rsParserAny), "Any");
  ResetResStrings();
  EXPECT_EQ(LoadResString(rsParserAll), "All");
}

TEST(Catalogue, FormatStringsTakeTheirArgumentsInOrder) {
  EXPECT_EQ(Format(LoadResString(rsParserInvalidToken), "INTO", 10, 1),
            "Invalid token 'INTO' at position 10 of line 1.");
  EXPECT_EQ(Format(LoadResString(rsLinksInvalidIndex), 7), "Invalid index = 7 ");
  TVXResString Id;
  EXPECT_FALSE(FindResString("rsNoSuchEntry", Id));
}

}  // namespace
}  // namespace Vexar
