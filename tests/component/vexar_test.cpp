// The components: the parser each one makes, statements read and written
// through OnGetTableFields, the published properties with their defaults and
// stored rules, the page control, and the exception boundary.
#include "component/vexar.h"

#include <gtest/gtest.h>

#include <QMetaMethod>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <memory>
#include <typeinfo>

#include "component/ibvexar.h"
#include "component/myvexar.h"
#include "dialects/myscanner.h"
#include "guitest.h"
#include "platform/exception.h"

namespace Vexar {
namespace {

// The columns an application knows, handed out through OnGetTableFields.
class TSchema {
 public:
  TSchema(std::initializer_list<std::pair<std::string, std::vector<std::string>>> Tables) {
    for (const auto& [Name, Columns] : Tables) {
      auto& D = FDataSets[Name];
      D = std::make_unique<TDataSet>();
      for (const auto& C : Columns)
        D->Fields().Add(C, ftString);
    }
  }
  void Attach(TCustomVexar& V) {
    V.OnGetTableFields = [this](const std::string& Name, TDataSet*& DataSet, TParams*&) {
      Asked.push_back(Name);
      auto It = FDataSets.find(Name);
      if (It != FDataSets.end())
        DataSet = It->second.get();
    };
  }
  std::vector<std::string> Asked;

 private:
  std::map<std::string, std::unique_ptr<TDataSet>> FDataSets;
};

std::unique_ptr<TCustomVexar> MakeComponent(const std::string& Kind) {
  if (Kind == "interbase")
    return std::make_unique<TInterBaseVexar>();
  if (Kind == "mysql")
    return std::make_unique<TMySQLVexar>();
  return std::make_unique<TSQLVexar>();
}

// ---------------------------------------------------------------------------

TEST(VexarComponent, EachComponentMakesItsDialectsParserAndScanner) {
  TSQLVexar Generic;
  EXPECT_EQ(typeid(*Generic.Parser()), typeid(TVXSelectParser));
  EXPECT_EQ(typeid(*Generic.Parser()->Scanner()), typeid(TVXSQLScanner));
  TInterBaseVexar IB;
  EXPECT_EQ(typeid(*IB.Parser()), typeid(TVXIBSelectParser));
  EXPECT_EQ(typeid(*IB.Parser()->Scanner()), typeid(TVXIBScanner));
  TMySQLVexar My;
  EXPECT_EQ(typeid(*My.Parser()), typeid(TVXMySelectParser));
  EXPECT_EQ(typeid(*My.Parser()->Scanner()), typeid(TVXMySQLScanner));
}

// A class derived from a published component defers the second phase to
// its own constructor, so its own CreateParser runs.
class TMyDerivedVexar : public TSQLVexar {
 public:
  TMyDerivedVexar() : TSQLVexar(nullptr, TVXDeferInit{}) { Initialize(); }
  int Refreshes = 0;
  bool FailRefresh = false;

 protected:
  std::unique_ptr<TVXSelectParser> CreateParser() override {
    return TVXSelectParser::Create<TVXMySelectParser>();
  }
  void RefreshActivePage() override {
    ++Refreshes;
    if (FailRefresh)
      throw Exception("refresh failed");
  }
  void mousePressEvent(QMouseEvent*) override { throw Exception("press failed"); }
};

TEST(VexarComponent, DerivedComponentGetsItsOwnParser) {
  TMyDerivedVexar V;
  EXPECT_EQ(typeid(*V.Parser()), typeid(TVXMySelectParser));
  EXPECT_EQ(typeid(*V.Parser()->Scanner()), typeid(TVXMySQLScanner));
}

// Every Is<Property>Stored of a new component, and of its settings, says
// "default": nothing of a new component is written to a form.
TEST(VexarComponent, NewComponentStoresNothing) {
  for (const char* Kind : {"generic", "interbase", "mysql"}) {
    SCOPED_TRACE(Kind);
    auto V = MakeComponent(Kind);
    int Checked = 0;
    for (QObject* O : std::initializer_list<QObject*>{V.get(), V->Palette(), V->Style(),
                                                      V->Style()->ObjectStyle()}) {
      const QMetaObject* M = O->metaObject();
      for (int i = 0; i < M->methodCount(); ++i) {
        const QByteArray Name = M->method(i).name();
        if (!Name.startsWith("Is") || !Name.endsWith("Stored"))
          continue;
        bool Stored = true;
        ASSERT_TRUE(M->method(i).invoke(O, Qt::DirectConnection, Q_RETURN_ARG(bool, Stored)));
        EXPECT_FALSE(Stored) << Name.constData();
        ++Checked;
      }
    }
    EXPECT_GE(Checked, 7 + 9 + 1 + 3);
  }
}

TEST(VexarComponent, DefaultsAndVersion) {
  TSQLVexar V;
  EXPECT_EQ(V.Options(), TVXOptions(vxoRowSelect));
  EXPECT_EQ(V.VisibleTabs(), TCustomVexar::AllTabs);
  EXPECT_EQ(V.TabHeight(), 170);
  EXPECT_TRUE(V.QuoteIdentifiers());
  EXPECT_EQ(V.Version(), "2.02");
  EXPECT_EQ(V.property("_Version").toString(), "2.02");
  EXPECT_TRUE(V.setProperty("_Version", "9.99"));
  EXPECT_EQ(V.property("_Version").toString(), "2.02");
  EXPECT_EQ(V.width(), 300);
  EXPECT_EQ(V.height(), 340);
}

TEST(VexarComponent, PublishedPropertiesWorkThroughQtsPropertySystem) {
  TInterBaseVexar V;
  EXPECT_TRUE(V.setProperty("Options", QVariant::fromValue(TVXOptions(vxoShowFieldTypes))));
  EXPECT_EQ(V.Options(), TVXOptions(vxoShowFieldTypes));
  EXPECT_TRUE(V.IsOptionsStored());
  EXPECT_TRUE(V.setProperty("SQLServer", "qssFireBird"));
  EXPECT_EQ(V.GetSQLServer(), Vexar::qssFireBird);
  EXPECT_TRUE(V.setProperty("SQLDialect", "qibDialect1"));
  EXPECT_EQ(V.GetSQLDialect(), Vexar::qibDialect1);
  EXPECT_TRUE(V.IsSQLDialectStored());
  const QMetaObject* M = V.metaObject();
  EXPECT_FALSE(M->property(M->indexOfProperty("QuoteIdentifiers")).isDesignable());
  EXPECT_TRUE(M->property(M->indexOfProperty("VisibleTabs")).isFlagType());
  EXPECT_TRUE(M->property(M->indexOfProperty("SQLDialect")).isEnumType());
}

// ---------------------------------------------------------------------------
// Statements

struct TSQLCase {
  const char* Component;
  const char* Text;
  const char* Expected;
  std::vector<std::string> Asked;
};

TEST(VexarComponent, SetSQLLoadsColumnsThroughOnGetTableFields) {
  const TSQLCase Cases[] = {
      // Y is no column of A: dropped from the model and the text.
      {"generic",
       "SELECT A.X, A.Y FROM A",
       "SELECT \r\n  \"A\".\"X\"\r\nFROM\r\n  \"A\"\r\n",
       {"A"}},
      {"interbase", "SELECT A.X, A.Y FROM A", "SELECT \r\n  A.X\r\nFROM\r\n  A\r\n", {"A"}},
      {"mysql",
       "SELECT A.X, A.Y FROM A LIMIT 3",
       "SELECT \r\n  `A`.`X`\r\nFROM\r\n  `A`\r\nLIMIT 3",
       {"A"}},
      // C has no data set: loading stops there; C.Z and B's unknown W stay.
      {"generic",
       "SELECT A.X, C.Z, B.W FROM A, C, B",
       "SELECT \r\n  \"A\".\"X\",\r\n  \"C\".\"Z\",\r\n  \"B\".\"W\"\r\nFROM\r\n  \"A\",\r\n  "
       "\"C\",\r\n  \"B\"\r\n",
       {"A", "C"}},
      {"generic", "", "", {}},
  };
  for (const TSQLCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Component) + ": " + C.Text);
    auto V = MakeComponent(C.Component);
    TSchema Schema{{"A", {"X"}}, {"B", {"K"}}};
    Schema.Attach(*V);
    V->SetSQL(C.Text);
    EXPECT_EQ(V->GetSQL(), C.Expected);
    EXPECT_EQ(Schema.Asked, C.Asked);
  }
}

TEST(VexarComponent, SetSQLWithoutHandlerKeepsEveryColumn) {
  TSQLVexar V;
  V.SetSQL("SELECT A.X, A.Y FROM A");
  EXPECT_EQ(V.GetSQL(), "SELECT \r\n  \"A\".\"X\",\r\n  \"A\".\"Y\"\r\nFROM\r\n  \"A\"\r\n");
  V.Clear();
  EXPECT_EQ(V.GetSQL(), "");
}

TEST(VexarComponent, SettingsApplyFromTheNextReadOrWrite) {
  TSQLVexar Generic;
  Generic.SetSQL("SELECT A.X FROM A");
  Generic.SetQuoteIdentifiers(false);
  EXPECT_EQ(Generic.GetSQL(), "SELECT \r\n  A.X\r\nFROM\r\n  A\r\n");
  EXPECT_TRUE(Generic.IsQuoteIdentifiersStored());

  TInterBaseVexar IB;
  IB.SetSQLServer(Vexar::qssFireBird);
  IB.SetSQL("SELECT FIRST 5 A.X FROM A");
  EXPECT_EQ(IB.GetSQL(), "SELECT FIRST 5 \r\n  A.X\r\nFROM\r\n  A\r\n");
  IB.SetSQLServer(Vexar::qssInterBase);
  EXPECT_EQ(IB.GetSQL(), "SELECT \r\n  A.X\r\nFROM\r\n  A\r\n");
  EXPECT_TRUE(IB.QuoteIdentifiers());
  IB.SetSQLDialect(Vexar::qibDialect1);
  EXPECT_FALSE(IB.QuoteIdentifiers());
  EXPECT_EQ(IB.IBParser()->IBScanner()->SQLDialect(), Vexar::qibDialect1);
}

TEST(VexarComponent, ParseErrorsGoToOnParserErrorOrRaise) {
  TSQLVexar V;
  EXPECT_THROW(V.SetSQL("SELECT FROM"), EVXParserError);
  std::vector<std::string> Tokens;
  V.OnParserError() = [&](TVXSelectParser* Sender, const std::string&, const std::string& Token,
                          int, int) {
    EXPECT_EQ(Sender, V.Parser());
    Tokens.push_back(Token);
  };
  EXPECT_TRUE(static_cast<bool>(V.Parser()->OnParserError));
  V.SetSQL("SELECT FROM");
  EXPECT_EQ(Tokens, std::vector<std::string>{"FROM"});
}

TEST(VexarComponent, AddRemoveRequestsAskTheApplication) {
  TSQLVexar V;
  EXPECT_TRUE(V.DoAddRemoveTable(nullptr, vxaAdd));
  EXPECT_TRUE(V.DoAddRemoveLink(nullptr, vxaRemove));
  std::vector<TVXAction> Asked;
  V.OnAddRemoveTable = [&](TCustomVexar* Sender, TVXTable*, TVXAction Action, bool& Accept) {
    EXPECT_EQ(Sender, &V);
    Asked.push_back(Action);
    Accept = Action == vxaAdd;
  };
  V.OnAddRemoveLink = [&](TCustomVexar*, TVXLink*, TVXAction, bool& Accept) { Accept = false; };
  EXPECT_TRUE(V.DoAddRemoveTable(nullptr, vxaAdd));
  EXPECT_FALSE(V.DoAddRemoveTable(nullptr, vxaRemove));
  EXPECT_FALSE(V.DoAddRemoveLink(nullptr, vxaAdd));
  EXPECT_EQ(Asked, (std::vector<TVXAction>{vxaAdd, vxaRemove}));
}

// ---------------------------------------------------------------------------
// Vocabularies

TEST(VexarComponent, VocabularyIsStoredOnlyWhenItDiffersFromTheDefaultList) {
  TSQLVexar V;
  TStringList L;
  L.SetCommaText("AVG,COUNT,MAX,MIN,SUM");
  V.SetAggregates(&L);
  EXPECT_FALSE(V.IsAggregatesStored());
  L.SetCommaText("SUM,MIN,MAX,AVG,COUNT");  // the default names, in another order
  V.SetAggregates(&L);
  EXPECT_EQ(V.Aggregates()->CommaText(), "SUM,MIN,MAX,AVG,COUNT");
  EXPECT_TRUE(V.IsAggregatesStored());
  V.SetAggregates(V.Aggregates());
  EXPECT_EQ(V.Aggregates()->CommaText(), "SUM,MIN,MAX,AVG,COUNT");

  EXPECT_TRUE(V.setProperty("Functions", QStringList{"UPPER", "COALESCE"}));
  EXPECT_EQ(V.Functions()->CommaText(), "COALESCE,UPPER");  // the scanner's list stays sorted
  EXPECT_TRUE(V.IsFunctionsStored());
  EXPECT_EQ(V.property("Functions").toStringList(), (QStringList{"COALESCE", "UPPER"}));
  EXPECT_FALSE(V.IsKeywordsStored());
}

TEST(VexarComponent, DialectVocabularyIsTheDialectsDefault) {
  TMySQLVexar My;
  EXPECT_FALSE(My.IsKeywordsStored());
  TSQLVexar Generic;
  My.SetKeywords(Generic.Keywords());
  EXPECT_TRUE(My.IsKeywordsStored());
}

// ---------------------------------------------------------------------------
// Page control

TEST(VexarComponent, PageControlHasFourCaptionedPages) {
  TSQLVexar V;
  QTabWidget* Pages = V.PageControl();
  ASSERT_NE(Pages, nullptr);
  EXPECT_EQ(Pages->objectName(), "PageCtrl");
  ASSERT_EQ(Pages->count(), 4);
  const char* Captions[] = {"Criteria", "Selection", "Grouping criteria", "Sorting"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Pages->tabText(i), Captions[i]);
    EXPECT_EQ(Pages->widget(i), V.Page(TCustomVexar::TVXPage(i)));
  }
}

TEST(VexarComponent, TabHeightTakesOnlyLargerValuesAndSizesThePageControl) {
  TSQLVexar V;
  V.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&V));
  EXPECT_EQ(V.PageControl()->height(), 170);
  V.SetTabHeight(150);
  EXPECT_EQ(V.TabHeight(), 170);
  EXPECT_FALSE(V.IsTabHeightStored());
  V.SetTabHeight(200);
  EXPECT_EQ(V.TabHeight(), 200);
  EXPECT_TRUE(V.IsTabHeightStored());
  EXPECT_EQ(V.PageControl()->height(), 200);
  V.resize(400, 500);  // the diagram area takes the extra height
  QCoreApplication::processEvents();
  EXPECT_EQ(V.PageControl()->height(), 200);
  SaveWidgetPicture(&V);
}

struct TTabsCase {
  const char* Name;
  TVXVisibleTabs Before;
  int Active;
  TVXVisibleTabs After;
  int ExpectedActive;
};

TEST(VexarComponent, VisibleTabsShowsHidesAndMovesTheActivePage) {
  const TTabsCase Cases[] = {
      {"only sorting", TCustomVexar::AllTabs, 0, vxtSorting, 3},
      {"active stays", TCustomVexar::AllTabs, 1, vxtSelection | vxtSorting, 1},
      {"next after", TCustomVexar::AllTabs, 1, vxtCriterions | vxtGroupCriterions, 2},
      {"else before", TCustomVexar::AllTabs, 3, vxtCriterions | vxtSelection, 1},
  };
  for (const TTabsCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMyDerivedVexar V;
    V.show();
    V.SetVisibleTabs(C.Before);
    V.PageControl()->setCurrentIndex(C.Active);
    V.Refreshes = 0;
    V.SetVisibleTabs(C.After);
    EXPECT_EQ(V.PageControl()->currentIndex(), C.ExpectedActive);
    EXPECT_EQ(V.Refreshes, C.ExpectedActive == C.Active ? 0 : 1);
    const TVXVisibleTab Tabs[] = {vxtCriterions, vxtSelection, vxtGroupCriterions, vxtSorting};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(V.PageControl()->isTabVisible(i), C.After.testFlag(Tabs[i]));
    EXPECT_TRUE(V.PageControl()->isVisible());
    EXPECT_TRUE(V.IsVisibleTabsStored());
  }
}

TEST(VexarComponent, NoVisibleTabHidesPageControlAndSplitter) {
  TSQLVexar V;
  V.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&V));
  V.SetVisibleTabs({});
  EXPECT_FALSE(V.PageControl()->isVisible());
  EXPECT_FALSE(V.Splitter()->handle(1)->isVisible());
  SaveWidgetPicture(&V, "hidden");
  V.SetVisibleTabs(TCustomVexar::AllTabs);
  EXPECT_TRUE(V.PageControl()->isVisible());
  EXPECT_TRUE(V.Splitter()->handle(1)->isVisible());
  EXPECT_EQ(V.PageControl()->height(), 170);
  EXPECT_FALSE(V.IsVisibleTabsStored());
}

// ---------------------------------------------------------------------------
// Exceptions stop at the control's boundary and reach the user as a message.

TEST(VexarComponent, ExceptionsInEventHandlersAndSlotsBecomeMessages) {
  TRecordedMessages Recorded;
  TMyDerivedVexar V;
  V.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&V));
  QTest::mouseClick(&V, Qt::LeftButton);
  V.FailRefresh = true;
  V.PageControl()->setCurrentIndex(2);  // the page change slot refreshes
  ASSERT_EQ(Recorded.Messages().size(), 2u);
  EXPECT_EQ(Recorded.Messages()[0].Kind, vxmError);
  EXPECT_EQ(Recorded.Messages()[0].Text, "press failed");
  EXPECT_EQ(Recorded.Messages()[1].Text, "refresh failed");
  EXPECT_EQ(V.PageControl()->currentIndex(), 2);  // the control stays usable
}

}  // namespace
}  // namespace Vexar
