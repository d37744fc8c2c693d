#include "component/vexar.h"

#include <QEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "component/messages.h"
#include "component/translation.h"
#include "parser/resource.h"

namespace Vexar {

namespace {

constexpr int SplitterHandleHeight = 5;
constexpr int InitialWidth = 300;
constexpr int InitialHeight = 340;

constexpr TVXVisibleTab PageTabs[TCustomVexar::vxpCount] = {vxtCriterions, vxtSelection,
                                                            vxtGroupCriterions, vxtSorting};
constexpr TVXResString PageCaptions[TCustomVexar::vxpCount] = {
    rsWindowCriteria, rsWindowSelection, rsWindowGroupingCriteria, rsWindowSorting};

QStringList ToQStringList(const TStringList* List) {
  QStringList R;
  R.reserve(List->Count());
  for (int i = 0; i < List->Count(); ++i)
    R << QString::fromStdString(List->Strings(i));
  return R;
}

void FromQStringList(const QStringList& Names, TStringList& List) {
  List.Clear();
  for (const QString& S : Names)
    List.Add(S.toStdString());
}

}  // namespace

TCustomVexar::TCustomVexar(QWidget* Parent) : QWidget(Parent) {}

// The views go first: they hold plain references to the parser and the
// settings, which the members' destruction frees afterwards (style, palette,
// parser).
TCustomVexar::~TCustomVexar() {
  delete FSplitter;
}

void TCustomVexar::Initialize() {
  if (FInitialized)
    return;
  FInitialized = true;
  FParser = CreateParser();
  FPalette = std::make_unique<TVXPalette>(this);
  FStyle = std::make_unique<TVXStyle>(this);
  FOptions = DefaultOptions;
  resize(InitialWidth, InitialHeight);
  CreatePages();
}

std::unique_ptr<TVXSelectParser> TCustomVexar::CreateParser() {
  return TVXSelectParser::Create<TVXSelectParser>();
}

// The diagram area on top and the page control below, in a vertical
// splitter whose handle lets the user resize the page control. Only the top
// area grows when the control is resized, so the page control keeps its height.
void TCustomVexar::CreatePages() {
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  FSplitter = new QSplitter(Qt::Vertical, this);
  FSplitter->setObjectName("Splitter");
  FSplitter->setHandleWidth(SplitterHandleHeight);
  FSplitter->setChildrenCollapsible(false);
  Layout->addWidget(FSplitter);

  // Hook: the diagram (the work area) is created in this area.
  FTopArea = new QWidget(FSplitter);
  FTopArea->setObjectName("WorkAreaHost");
  FPageCtrl = new QTabWidget(FSplitter);
  FPageCtrl->setObjectName("PageCtrl");
  FSplitter->addWidget(FTopArea);
  FSplitter->addWidget(FPageCtrl);
  FSplitter->setStretchFactor(0, 1);
  FSplitter->setStretchFactor(1, 0);

  // Hook: the WHERE, output, HAVING and sorting panels are created on these
  // pages, in this order.
  for (int i = 0; i < vxpCount; ++i) {
    FPages[i] = new QWidget(FPageCtrl);
    FPageCtrl->addTab(FPages[i], QString());
  }
  FVisibleTabs = AllTabs;
  RetranslatePages();

  connect(FPageCtrl, &QTabWidget::currentChanged, this,
          [this](int) { GuardedCall(this, [this] { HandlePagesChange(); }); });
  connect(FSplitter, &QSplitter::splitterMoved, this,
          [this](int, int) { GuardedCall(this, [this] { FTabHeight = FPageCtrl->height(); }); });
}

// Captions are read from the catalogue each time, so a changed text shows
// the next time the pages are (re)captioned.
void TCustomVexar::RetranslatePages() {
  for (int i = 0; i < vxpCount; ++i)
    FPageCtrl->setTabText(i, QString::fromStdString(LoadResString(PageCaptions[i])));
}

// ---------------------------------------------------------------------------
// Statement text

std::string TCustomVexar::GetSQL() {
  return FParser->GetExpression();
}

void TCustomVexar::SetSQL(const std::string& Text) {
  Clear();
  FParser->SetExpression(Text);
  // Asks for the columns of each table and drops output fields that name
  // none. Hook: boxes, ticked rows and links are made here with the diagram,
  // and the output and sorting panels refreshed.
  LoadSchema(*FParser, OnGetTableFields);
  RefreshActivePage();
}

void TCustomVexar::Clear() {
  FParser->Clear();
  // Hook: the diagram drops its boxes and links, and the four panels clear.
  RefreshActivePage();
}

// Hook: the WHERE and then the HAVING panel remember their operators by name.
void TCustomVexar::BeginReload() {}

// Hook: the WHERE and then the HAVING panel re-bind their rows.
void TCustomVexar::EndReload() {}

bool TCustomVexar::DoAddRemoveTable(TVXTable* Table, TVXAction Action) {
  bool Accept = true;
  if (OnAddRemoveTable)
    OnAddRemoveTable(this, Table, Action, Accept);
  return Accept;
}

bool TCustomVexar::DoAddRemoveLink(TVXLink* Link, TVXAction Action) {
  bool Accept = true;
  if (OnAddRemoveLink)
    OnAddRemoveLink(this, Link, Action, Accept);
  return Accept;
}

// ---------------------------------------------------------------------------
// Vocabularies and settings

void TCustomVexar::SetAggregates(const TStringList* Value) {
  if (Value != Aggregates())
    Aggregates()->Assign(Value);
}

void TCustomVexar::SetFunctions(const TStringList* Value) {
  if (Value != Functions())
    Functions()->Assign(Value);
}

void TCustomVexar::SetKeywords(const TStringList* Value) {
  if (Value != Keywords())
    Keywords()->Assign(Value);
}

// A new parser of the component's own dialect holds the default lists,
// sorted as they are loaded; the current list is compared as it stands, so
// the default names in another order count as changed.
bool TCustomVexar::DiffersFromDefault(const TStringList* List,
                                      TStringList* (*Pick)(const TVXSelectParser&)) const {
  const std::unique_ptr<TVXSelectParser> Fresh = const_cast<TCustomVexar*>(this)->CreateParser();
  return Pick(*Fresh)->CommaText() != List->CommaText();
}

bool TCustomVexar::IsAggregatesStored() const {
  return DiffersFromDefault(Aggregates(), [](const TVXSelectParser& P) { return P.Aggregates(); });
}

bool TCustomVexar::IsFunctionsStored() const {
  return DiffersFromDefault(Functions(),
                            [](const TVXSelectParser& P) { return P.Scanner()->Functions(); });
}

bool TCustomVexar::IsKeywordsStored() const {
  return DiffersFromDefault(Keywords(),
                            [](const TVXSelectParser& P) { return P.Scanner()->Keywords(); });
}

QStringList TCustomVexar::AggregateNames() const {
  return ToQStringList(Aggregates());
}
QStringList TCustomVexar::FunctionNames() const {
  return ToQStringList(Functions());
}
QStringList TCustomVexar::KeywordNames() const {
  return ToQStringList(Keywords());
}

void TCustomVexar::SetAggregateNames(const QStringList& Value) {
  TStringList L;
  FromQStringList(Value, L);
  SetAggregates(&L);
}

void TCustomVexar::SetFunctionNames(const QStringList& Value) {
  TStringList L;
  FromQStringList(Value, L);
  SetFunctions(&L);
}

void TCustomVexar::SetKeywordNames(const QStringList& Value) {
  TStringList L;
  FromQStringList(Value, L);
  SetKeywords(&L);
}

void TCustomVexar::SetOperators(const TVXOperators* Value) {
  if (Value != Operators())
    FParser->SetOperators(Value);
}

void TCustomVexar::SetScriptFormat(const TVXScriptFormat* Value) {
  FParser->SetScriptFormat(Value);
}

bool TCustomVexar::QuoteIdentifiers() const {
  return FParser->Scanner()->GetQuoteIdentifiers();
}

void TCustomVexar::SetQuoteIdentifiers(bool Value) {
  FParser->Scanner()->SetQuoteIdentifiers(Value);
}

void TCustomVexar::SetOptions(TVXOptions Value) {
  if (FOptions != Value)
    FOptions = Value;
}

void TCustomVexar::SetPalette(const TVXPalette* Value) {
  if (Value != FPalette.get())
    FPalette->Assign(Value);
}

void TCustomVexar::SetStyle(const TVXStyle* Value) {
  if (Value != FStyle.get())
    FStyle->Assign(Value);
}

// Hook: the diagram and the condition panels repaint here.
void TCustomVexar::RequestRepaint(TVXView View) {
  FRepaintRequests.push_back(View);
}

// ---------------------------------------------------------------------------
// Page control

void TCustomVexar::SetTabHeight(int Value) {
  if (Value <= DefaultTabHeight || Value == FTabHeight)
    return;
  FTabHeight = Value;
  ApplyTabHeight();
}

// Gives the page control TabHeight pixels (as many as fit) and the rest to
// the diagram area.
void TCustomVexar::ApplyTabHeight() {
  const int Available = FSplitter->height() - FSplitter->handleWidth();
  if (Available <= 0 || FPageCtrl->isHidden())
    return;
  const int Height = std::min(FTabHeight, Available);
  FSplitter->setSizes({Available - Height, Height});
}

// Shows the tabs of the pages in Value, keeps the active page when it stays
// visible and otherwise activates the next visible page after it (or,
// failing that, before it). With no tab left the page control and the
// splitter's handle are hidden.
void TCustomVexar::SetVisibleTabs(TVXVisibleTabs Value) {
  if (Value == FVisibleTabs)
    return;
  FVisibleTabs = Value;
  const int Active = FPageCtrl->currentIndex();
  {
    const QSignalBlocker Blocker(FPageCtrl);
    for (int i = vxpCount - 1; i >= 0; --i)
      FPageCtrl->setTabVisible(i, Value.testFlag(PageTabs[i]));
  }
  int Target = -1;
  if (Active >= 0) {
    if (FPageCtrl->isTabVisible(Active)) {
      Target = Active;
    } else {
      for (int i = Active + 1; i < vxpCount && Target < 0; ++i)
        if (FPageCtrl->isTabVisible(i))
          Target = i;
      for (int i = Active - 1; i >= 0 && Target < 0; --i)
        if (FPageCtrl->isTabVisible(i))
          Target = i;
    }
  }
  FPageCtrl->setVisible(Value != TVXVisibleTabs());
  FSplitter->handle(1)->setVisible(FPageCtrl->isVisibleTo(FSplitter));
  ApplyTabHeight();
  if (Target >= 0 && Target != Active) {
    if (FPageCtrl->currentIndex() == Target)
      HandlePagesChange();  // the tab bar already moved there while signals were blocked
    else
      FPageCtrl->setCurrentIndex(Target);
  }
}

void TCustomVexar::HandlePagesChange() {
  RefreshActivePage();
}

// Hook: page 0 rebuilds the WHERE panel, page 1 the output panel (after its
// list of source fields), page 2 the HAVING panel, page 3 the sorting panel.
void TCustomVexar::RefreshActivePage() {}

// ---------------------------------------------------------------------------
// Events

bool TCustomVexar::event(QEvent* Event) {
  bool Result = false;
  GuardedCall(this, [&] { Result = QWidget::event(Event); });
  return Result;
}

void TCustomVexar::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::LanguageChange) {
    InstallQtTranslations();
    RetranslatePages();
  }
  QWidget::changeEvent(Event);
}

void TCustomVexar::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  ApplyTabHeight();
}

// ---------------------------------------------------------------------------

TSQLVexar::TSQLVexar(QWidget* Parent) : TCustomVexar(Parent) {
  Initialize();
}

}  // namespace Vexar
