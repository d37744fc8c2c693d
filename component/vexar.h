// TCustomVexar: the query-designer control. It owns the parser (and through
// it the whole query model), the appearance settings, and the views: the
// diagram on top and, below a splitter, a page control with four pages
// (conditions, output fields, grouping conditions, sorting). It reads and
// writes the statement as SQL text and publishes the vocabularies, settings
// and events. TSQLVexar is the generic-SQL component; the dialect components
// derive from TCustomVexar and make their own parser.
//
// Construction runs in two phases so that the parser is made by the most
// derived CreateParser: the constructor of each published component runs
// Initialize() once the object is complete. A class derived from a published
// component uses its protected TVXDeferInit constructor and calls Initialize()
// in its own constructor.
//
// Published properties are Qt properties. A property that is written to a
// form only when it differs from its default has an invokable
// Is<Property>Stored() that tells (Qt 6 takes only constants for STORED).
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "component/settings.h"
#include "component/types.h"
#include "parser/schemaloader.h"
#include "parser/selectparser.h"

class QSplitter;
class QTabWidget;

namespace Vexar {

// Views of the diagram; they come with the diagram.
class TVXTable;
class TVXLink;
class TVXListItem;
class TCustomVexar;

// Asks the application for the columns (the fields of DataSet) and, for a
// stored procedure, the parameters of the table NameOfTable. The objects stay
// the application's.
using TGetTableFieldsEvent = TVXGetTableFields;
using TAddRemoveTableEvent =
    std::function<void(TCustomVexar* Sender, TVXTable* Table, TVXAction Action, bool& Accept)>;
using TAddRemoveLinkEvent =
    std::function<void(TCustomVexar* Sender, TVXLink* Link, TVXAction Action, bool& Accept)>;
using TEnterProcParameter =
    std::function<void(TCustomVexar* Sender, TVXTable* SProcedure, TVXListItem* ListItem)>;

// Tag for the constructors that leave Initialize() to a derived class.
struct TVXDeferInit {};

class TCustomVexar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QStringList Aggregates READ AggregateNames WRITE SetAggregateNames)
  Q_PROPERTY(QStringList Functions READ FunctionNames WRITE SetFunctionNames)
  Q_PROPERTY(QStringList Keywords READ KeywordNames WRITE SetKeywordNames)
  Q_PROPERTY(Vexar::TVXOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(Vexar::TVXPalette* Palette READ Palette WRITE SetPalette)
  Q_PROPERTY(bool QuoteIdentifiers READ QuoteIdentifiers WRITE SetQuoteIdentifiers)
  Q_PROPERTY(Vexar::TVXStyle* Style READ Style WRITE SetStyle)
  Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
  Q_PROPERTY(Vexar::TVXVisibleTabs VisibleTabs READ VisibleTabs WRITE SetVisibleTabs)
  Q_PROPERTY(QString _Version READ VersionName WRITE SetVersionName STORED false)

 public:
  // The initial height of the page control; TabHeight accepts only larger values.
  static constexpr int DefaultTabHeight = 170;
  static constexpr TVXOptions DefaultOptions = TVXOptions(vxoRowSelect);
  static constexpr TVXVisibleTabs AllTabs =
      TVXVisibleTabs(vxtCriterions | vxtSelection | vxtGroupCriterions | vxtSorting);
  // Page indexes of the page control.
  enum TVXPage { vxpCriteria, vxpSelection, vxpGroupingCriteria, vxpSorting, vxpCount };

  ~TCustomVexar() override;

  TVXSelectParser* Parser() const { return FParser.get(); }

  // The statement written from the model at the moment of the call.
  virtual std::string GetSQL();
  // Loads a statement: clears the model and the views, parses Text (errors
  // go to OnParserError, or raise EVXParserError when it is not set), asks
  // OnGetTableFields for each table's columns in order and drops output
  // columns that do not exist. The loading of columns stops at the first
  // table for which no data set is supplied.
  virtual void SetSQL(const std::string& Text);
  // Empties the model and every view.
  void Clear();
  // Bracket a replacement of the operator table: the condition panels
  // remember their rows' operators by name and re-bind them afterwards.
  virtual void BeginReload();
  virtual void EndReload();
  // Asks the application (OnAddRemoveTable, OnAddRemoveLink) whether a box
  // or a link may be added or removed; true when nobody objects.
  bool DoAddRemoveTable(TVXTable* Table, TVXAction Action);
  bool DoAddRemoveLink(TVXLink* Link, TVXAction Action);

  // Vocabularies. The setters copy the lines as given (a sorted list keeps
  // itself sorted), unless Value is the list itself.
  TStringList* Aggregates() const { return FParser->Aggregates(); }
  void SetAggregates(const TStringList* Value);
  TStringList* Functions() const { return FParser->Scanner()->Functions(); }
  void SetFunctions(const TStringList* Value);
  TStringList* Keywords() const { return FParser->Scanner()->Keywords(); }
  void SetKeywords(const TStringList* Value);
  // Stored only when different from the dialect's default list, compared
  // in the list's current order.
  Q_INVOKABLE bool IsAggregatesStored() const;
  Q_INVOKABLE bool IsFunctionsStored() const;
  Q_INVOKABLE bool IsKeywordsStored() const;

  TVXOperators* Operators() const { return FParser->Operators(); }
  void SetOperators(const TVXOperators* Value);
  TVXScriptFormat* ScriptFormat() const { return FParser->ScriptFormat(); }
  void SetScriptFormat(const TVXScriptFormat* Value);
  bool QuoteIdentifiers() const;
  void SetQuoteIdentifiers(bool Value);
  Q_INVOKABLE bool IsQuoteIdentifiersStored() const { return !QuoteIdentifiers(); }

  TVXOptions Options() const { return FOptions; }
  // Only stores the set; the views read it when they next paint or act.
  void SetOptions(TVXOptions Value);
  Q_INVOKABLE bool IsOptionsStored() const { return FOptions != DefaultOptions; }

  TVXPalette* Palette() const { return FPalette.get(); }
  void SetPalette(const TVXPalette* Value);
  TVXStyle* Style() const { return FStyle.get(); }
  void SetStyle(const TVXStyle* Value);

  // The height of the page control. Only values above DefaultTabHeight are
  // taken; smaller ones are ignored.
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int Value);
  Q_INVOKABLE bool IsTabHeightStored() const { return FTabHeight != DefaultTabHeight; }

  // The pages whose tabs are shown; with none, the page control and the
  // splitter are hidden.
  TVXVisibleTabs VisibleTabs() const { return FVisibleTabs; }
  void SetVisibleTabs(TVXVisibleTabs Value);
  Q_INVOKABLE bool IsVisibleTabsStored() const { return FVisibleTabs != AllTabs; }

  // The version of the library (the _Version property); it cannot be set.
  static std::string Version() { return "2.02"; }

  // The parser's error event, read and written in place.
  TVXParserErrorEvent& OnParserError() { return FParser->OnParserError; }

  TGetTableFieldsEvent OnGetTableFields;
  TAddRemoveTableEvent OnAddRemoveTable;
  TAddRemoveLinkEvent OnAddRemoveLink;
  TEnterProcParameter OnEnterProcParameter;

  // The page control ("PageCtrl"), its pages and the splitter above it.
  QTabWidget* PageControl() const { return FPageCtrl; }
  QWidget* Page(TVXPage Index) const { return FPages[Index]; }
  QSplitter* Splitter() const { return FSplitter; }

  // Asks View to repaint because a setting it paints with has changed.
  // Every request is also recorded in RepaintRequests, in order.
  void RequestRepaint(TVXView View);
  const std::vector<TVXView>& RepaintRequests() const { return FRepaintRequests; }
  void ClearRepaintRequests() { FRepaintRequests.clear(); }

 protected:
  explicit TCustomVexar(QWidget* Parent);
  // Second construction phase: the parser, the settings and the views.
  void Initialize();
  virtual std::unique_ptr<TVXSelectParser> CreateParser();
  // Rebuilds the panel of the active page from the model.
  virtual void RefreshActivePage();

  // Every event handler of the control runs inside the exception boundary.
  bool event(QEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  // Qt property access in Qt types.
  QStringList AggregateNames() const;
  void SetAggregateNames(const QStringList& Value);
  QStringList FunctionNames() const;
  void SetFunctionNames(const QStringList& Value);
  QStringList KeywordNames() const;
  void SetKeywordNames(const QStringList& Value);
  QString VersionName() const { return QString::fromStdString(Version()); }
  void SetVersionName(const QString&) {}

  void CreatePages();
  void RetranslatePages();
  void ApplyTabHeight();
  void HandlePagesChange();
  // Whether List, as it stands, differs from the same list (chosen by Pick)
  // of a new parser of this component's dialect, which holds the defaults.
  bool DiffersFromDefault(const TStringList* List,
                          TStringList* (*Pick)(const TVXSelectParser&)) const;

  std::unique_ptr<TVXSelectParser> FParser;
  std::unique_ptr<TVXPalette> FPalette;
  std::unique_ptr<TVXStyle> FStyle;
  TVXOptions FOptions = DefaultOptions;
  TVXVisibleTabs FVisibleTabs;
  int FTabHeight = DefaultTabHeight;
  bool FInitialized = false;

  QSplitter* FSplitter = nullptr;
  QWidget* FTopArea = nullptr;  // holds the diagram
  QTabWidget* FPageCtrl = nullptr;
  QWidget* FPages[vxpCount] = {};
  std::vector<TVXView> FRepaintRequests;
};

// The generic-SQL component.
class TSQLVexar : public TCustomVexar {
  Q_OBJECT

 public:
  explicit TSQLVexar(QWidget* Parent = nullptr);

 protected:
  TSQLVexar(QWidget* Parent, TVXDeferInit) : TCustomVexar(Parent) {}
};

}  // namespace Vexar
