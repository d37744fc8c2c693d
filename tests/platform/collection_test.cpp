#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/collection.h"
#include "platform/exception.h"

namespace Vexar {
namespace {

// An item that records its destruction and what its collection held then.
class Probe : public TCollectionItem {
 public:
  static std::vector<std::string>* Log;
  std::string Name;
  int SeenAtInit = -1;
  ~Probe() override {
    if (Log) Log->push_back(Name + "@" + std::to_string(Collection() ? Collection()->Count() : -1));
  }
  void Assign(const TPersistent* Source) override {
    if (auto* P = dynamic_cast<const Probe*>(Source)) {
      Name = P->Name;
      return;
    }
    TCollectionItem::Assign(Source);
  }

 protected:
  friend class TCollectionItem;
  Probe() = default;
  void Init() override { SeenAtInit = Collection() ? Collection()->Count() : 0; }
};
std::vector<std::string>* Probe::Log = nullptr;

class Other : public TPersistent {};

class CollectionTest : public ::testing::Test {
 protected:
  void SetUp() override { Probe::Log = &Log; }
  void TearDown() override { Probe::Log = nullptr; }
  Probe* Add(const std::string& N) {
    auto* P = static_cast<Probe*>(C.Add());
    P->Name = N;
    return P;
  }
  std::vector<std::string> Log;
  TCollection C{nullptr, &ItemClassOf<Probe>};
};

TEST_F(CollectionTest, ItemsJoinBeforeInitAndKnowTheirIndex) {
  Probe* A = Add("a");
  Probe* B = Add("b");
  EXPECT_EQ(A->SeenAtInit, 1);
  EXPECT_EQ(B->SeenAtInit, 2);
  EXPECT_EQ(B->Index(), 1);
  EXPECT_EQ(B->Collection(), &C);
  // Insert makes the item last (its Init sees it there), then moves it.
  auto* I = static_cast<Probe*>(C.Insert(0));
  EXPECT_EQ(I->SeenAtInit, 3);
  EXPECT_EQ(I->Index(), 0);
  EXPECT_EQ(A->Index(), 1);
}

TEST_F(CollectionTest, DeletingAnItemRemovesItOnceAfterItsOwnDestructor) {
  Add("a");
  Probe* B = Add("b");
  Add("c");
  delete B;  // the destructor runs while b is still a member
  EXPECT_EQ(Log, std::vector<std::string>{"b@3"});
  ASSERT_EQ(C.Count(), 2);
  EXPECT_EQ(static_cast<Probe*>(C.Items(1))->Name, "c");
  C.Delete(0);
  EXPECT_EQ(Log.back(), "a@2");
  C.Clear();
  EXPECT_EQ(C.Count(), 0);
  EXPECT_EQ(Log.size(), 3u);
}

TEST_F(CollectionTest, SetItemsCopiesIntoTheStoredItem) {
  Probe* A = Add("a");
  Add("b");
  C.SetItems(0, C.Items(0));
  EXPECT_EQ(A->Name, "a");
  C.SetItems(0, C.Items(1));
  EXPECT_EQ(C.Items(0), A);  // same object, new contents
  EXPECT_EQ(A->Name, "b");
}

TEST_F(CollectionTest, AssignCopiesEveryItemAndRejectsForeignSources) {
  Add("x");
  TCollection D(nullptr, &ItemClassOf<Probe>);
  static_cast<Probe*>(D.Add())->Name = "p";
  static_cast<Probe*>(D.Add())->Name = "q";
  C.Assign(&D);
  ASSERT_EQ(C.Count(), 2);
  EXPECT_EQ(static_cast<Probe*>(C.Items(1))->Name, "q");
  Other O;
  EXPECT_THROW(C.Assign(&O), EConvertError);
  try {
    C.Items(0)->Assign(&O);
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a Other to a Probe");
  }
}

TEST_F(CollectionTest, IndexErrorsAreListErrors) {
  Add("a");
  EXPECT_THROW(C.Items(1), EListError);
  EXPECT_THROW(C.Items(-1), EListError);
  EXPECT_THROW(C.Delete(5), EListError);
}

TEST_F(CollectionTest, ItemsMoveBetweenCollectionsAndOutOfThem) {
  Probe* A = Add("a");
  TCollection D(nullptr, &ItemClassOf<Probe>);
  A->SetCollection(&D);
  EXPECT_EQ(C.Count(), 0);
  EXPECT_EQ(D.Count(), 1);
  A->SetCollection(nullptr);
  EXPECT_EQ(D.Count(), 0);
  EXPECT_EQ(A->Index(), -1);
  delete A;
}

TEST_F(CollectionTest, UpdateBracketsNest) {
  C.BeginUpdate();
  C.BeginUpdate();
  C.EndUpdate();
  EXPECT_EQ(C.UpdateCount(), 1);
  C.EndUpdate();
  C.EndUpdate();
  EXPECT_EQ(C.UpdateCount(), 0);
}

}  // namespace
}  // namespace Vexar
